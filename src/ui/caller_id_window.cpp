// The caller-ID window: filling its data record, the window procedure with
// its refresh and commands, and one visit from opening to the restart
// broadcast.
#include "ui/caller_id_window.h"

#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "storage/clearing.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "storage/station_clock.h"
#include "text/mazovia.h"
#include "udp/broadcast.h"
#include "udp/listener_status.h"
#include "udp/sender_status.h"
#include "udp/waiting_calls.h"
#include "ui/nip.h"
#include "ui/slot_messages.h"

WindowData g_windowData;
// What each row showed when it was last filled: the slot record it came
// from and its texts. A row whose texts differ from these was changed by
// the user.
struct ShownRow {
    CallRecord slot;
    WindowDataRow row;
};

// The open window's state, the user-interface thread's alone.
struct WindowState {
    bool active = false;
    // The slot file name as the window showed it. A name longer than the
    // window's field is shown cut; it goes back into the settings only
    // when the user chose or typed another.
    char shownFileName[kFileNameSize];
    // The whole name the window holds: the one it opened with, or the one
    // chosen with "~W~ybierz".
    char fileName[sizeof(Settings::slotFileName)];
    ShownRow shownRows[kSlotCount];
    // The slots of the window's last load, for the status line.
    CallRecord slots[kSlotCount];
};
static WindowState g_window;

enum WindowEvent : uint16_t {
    kCommand = 0x0001,
    kCollect = 0x0002,
    kTimer = 0x000A,
    kOpened = 0xFFFE,
    kClosing = 0xFFFF,
};

enum WindowResult : int {
    kHandled = -2,
    kRedraw = 0x1002,
};

enum Direction : int { kShowRecord = 0, kCollectControls = 1 };

inline constexpr int kRefreshInterval = 2000;
// The host's plain message box with one button.
inline constexpr int kMessageBoxStyle = 1;

static bool IsSlotIndex(int index) { return index >= 0 && index < kSlotCount; }

// Copies a text, cut to the capacity and always terminated.
static void CopyText(char* out, std::size_t capacity, const char* in) {
    std::size_t length = strnlen(in, capacity - 1);
    std::memcpy(out, in, length);
    out[length] = '\0';
}

// Datagram text is shown, never obeyed: the host's renderer takes control
// bytes for markup (0x01 directives, 0x02 highlight, 0x05 ...), so each one
// is shown as '?'. Only what is displayed changes; the slots keep the bytes.
static void MakeShowable(char* text) {
    for (unsigned char* at = reinterpret_cast<unsigned char*>(text); *at != '\0'; ++at)
        if (*at < 0x20 || *at == 0x7F) *at = '?';
}

static void FillRow(WindowDataRow& row, const CallRecord& slot) {
    CallHost<Host::CopyBounded>(row.phone, slot.phone, 20);
    CallHost<Host::CopyBounded>(row.target, slot.target, 20);
    CallHost<Host::ConvertCodes>(row.target, row.target, 3, 1);
    MakeShowable(row.phone);
    MakeShowable(row.target);
    ExtractNip(slot.text, sizeof slot.text, row.nip);
    if (std::strlen(row.nip) == 10) {
        CallHost<Host::InsertCharacter>(row.nip + 7, '-');
        CallHost<Host::InsertCharacter>(row.nip + 5, '-');
        CallHost<Host::InsertCharacter>(row.nip + 3, '-');
    }
}

// The record anew with the settings' fields; the rows are left empty.
static void FillSettingsFields(const Settings& settings) {
    std::memset(&g_windowData, 0, sizeof g_windowData);
    g_windowData.optionBits = static_cast<uint16_t>(settings.options);
    g_windowData.selectedSlot = static_cast<uint16_t>(settings.selectedSlot);
    g_windowData.port = static_cast<int16_t>(settings.port);
    CopyText(g_windowData.fileName, sizeof g_windowData.fileName, settings.slotFileName);
}

void FillWindowData(const SlotView& view) {
    FillSettingsFields(view.settings);
    for (int k = 0; k < kSlotCount; ++k) FillRow(g_windowData.rows[k], view.slots[k]);
}

const char* SelectedNip() {
    int slot = static_cast<int16_t>(g_windowData.selectedSlot);
    return IsSlotIndex(slot) ? g_windowData.rows[slot].nip : "";
}

// The status line shows the whole text of the selected slot, centred.
static void ShowStatusLine(int slot) {
    char line[1024];
    const CallRecord* record = IsSlotIndex(slot) ? &g_window.slots[slot] : nullptr;
    std::snprintf(line, sizeof line, "\x01" "c" "\x01%.*s", record ? 500 : 0, record ? record->text : "");
    MakeShowable(line + 3);   // behind the centring directive
    char converted[1024] = "";
    const char* shown = CallHost<Host::ConvertText>(converted, 1024, line, -1, 6, 1);
    CallHost<Host::ShowText>(kStatusLineId, shown ? shown : converted);
}

static void ComposeCallTime(char* out, std::size_t capacity, const char* time, const char* date,
                            int seconds, bool today) {
    if (seconds < 0 || !today)
        std::snprintf(out, capacity, "%10.8s - %.10s", time, date);
    else if (seconds < 3600)
        std::snprintf(out, capacity, "%10.8s - %.10s (%d:%02d)", time, date, seconds / 60, seconds % 60);
    else
        std::snprintf(out, capacity, "%10.8s - %.10s (%d:%02d:%02d)", time, date, seconds / 3600,
                      (seconds / 60) % 60, seconds % 60);
}

// Each row shows when its slot's call came and how long ago; a slot
// without a date leaves its row's field as it was.
static void ShowCallTimes(const CallRecord* slots) {
    char now[32] = "";
    char today[32] = "";
    CallHost<Host::CurrentTime>(now, 1);
    CallHost<Host::TodayDate>(today);
    for (int k = 0; k < kSlotCount; ++k) {
        char time[sizeof(CallRecord::time)];
        char date[sizeof(CallRecord::date)];
        std::memcpy(time, slots[k].time, sizeof time);
        std::memcpy(date, slots[k].date, sizeof date);
        time[sizeof time - 1] = '\0';
        date[sizeof date - 1] = '\0';
        if (date[0] == '\0') continue;
        int seconds = CallHost<Host::SecondsSince>(now, time);
        bool sameDay = CallHost<Host::SameDay>(today, date) == 0;
        char text[128];
        ComposeCallTime(text, sizeof text, time, date, seconds, sameDay);
        CallHost<Host::ShowText>(SlotCallTimeFieldId(k), text);
    }
}

static bool SameText(const char* a, const char* b, std::size_t size) { return std::strncmp(a, b, size) == 0; }

static bool PhoneChanged(const WindowDataRow& row, int k) {
    return !SameText(row.phone, g_window.shownRows[k].row.phone, sizeof row.phone);
}

static bool TargetChanged(const WindowDataRow& row, int k) {
    return !SameText(row.target, g_window.shownRows[k].row.target, sizeof row.target);
}

static bool RowChanged(const WindowDataRow& row, int k) { return PhoneChanged(row, k) || TargetChanged(row, k); }

// Puts one load's slots into the rows, keeping the rows the user changed
// when typed is given, and remembers what each row now shows.
static void FillRows(const CallRecord* slots, const WindowData* typed) {
    for (int k = 0; k < kSlotCount; ++k) {
        WindowDataRow& row = g_windowData.rows[k];
        if (typed && RowChanged(typed->rows[k], k)) {
            row = typed->rows[k];
            continue;
        }
        std::memset(&row, 0, sizeof row);
        FillRow(row, slots[k]);
        g_window.shownRows[k] = {slots[k], row};
    }
    std::memcpy(g_window.slots, slots, sizeof g_window.slots);
}

// Shows rows, status line and call times of one load alone. The rest of
// the window data record stays as it is.
static void ShowSlots(const CallRecord* slots, const WindowData* typed) {
    FillRows(slots, typed);
    ShowStatusLine(static_cast<int16_t>(g_windowData.selectedSlot));
    ShowCallTimes(slots);
    CallHost<Host::ExchangeWindowData>(&g_windowData, kShowRecord);
    CallHost<Host::RefreshWindow>(0, 0x8000, 1);
}

// What the user set in the window (selection, options, port, and the file
// it holds) goes into the settings in a hold of the lock for the copy
// alone; the slots are then loaded in the slot file's transaction, which
// takes the stations' lock and reads the file outside the plug-in's lock.
// False when the lock stayed busy.
static bool TakeWindowView(SlotView& view, const WindowData& controls) {
    {
        BoundedStateLock lock;
        if (!lock.held()) {
            MarkSlotViewBusy(view);
            return false;
        }
        SetWindowChoices(static_cast<int16_t>(controls.optionBits), static_cast<int16_t>(controls.selectedSlot),
                         controls.port, g_window.fileName);
    }
    return LoadPhoneSlots(view, false);
}

// A slot file name typed into the field (not chosen with "~W~ybierz")
// stays there as typed: it takes effect when the window closes, and a
// name half typed is never loaded or filed into meanwhile.
static void KeepTypedFileName(WindowData& controls) {
    controls.fileName[kFileNameSize - 1] = '\0';
    if (std::strcmp(controls.fileName, g_window.shownFileName) != 0)
        CopyText(g_windowData.fileName, sizeof g_windowData.fileName, controls.fileName);
}

// The refresh reloads the slots while keeping what the user set in the
// window (selection, options, port). The timer's refresh leaves the rows
// and the slot file name the user changed as typed; F6 and the opening
// show everything anew. A timer refresh that cannot have the lock waits
// for the next tick.
static int Refresh(uint16_t event) {
    g_window.active = true;
    if (event != kTimer) CallHost<Host::WindowTimer>(kRefreshInterval);
    WindowData controls;
    std::memset(&controls, 0, sizeof controls);
    CallHost<Host::ExchangeWindowData>(&controls, kCollectControls);
    SlotView view;
    if (!TakeWindowView(view, controls)) {
        if (event == kCommand) CallHost<Host::AskUser>("uwaga", view.problem, kMessageBoxStyle);
        return kRedraw;
    }
    if (event != kTimer) ShowSlotProblem(view);
    FillSettingsFields(view.settings);
    if (event == kTimer) KeepTypedFileName(controls);
    ShowSlots(view.slots, event == kTimer ? &controls : nullptr);
    return kRedraw;
}

static int ChooseSlotFile() {
    WindowData chosen;
    CallHost<Host::ExchangeWindowData>(&chosen, kCollectControls);
    if (CallHost<Host::ChooseFile>(0, chosen.fileName, "*.*", static_cast<int>(kFileNameSize), 0, 50,
                                   -1) == -1)
        return kHandled;
    chosen.fileName[kFileNameSize - 1] = '\0';
    // The listener takes the file at the next refresh, and the close saves
    // it, whatever restarts come in between.
    CopyText(g_window.fileName, sizeof g_window.fileName, chosen.fileName);
    CopyText(g_window.shownFileName, sizeof g_window.shownFileName, chosen.fileName);
    {
        BoundedStateLock lock;
        if (lock.held())
            SetWindowChoices(static_cast<int16_t>(chosen.optionBits), static_cast<int16_t>(chosen.selectedSlot),
                             chosen.port, g_window.fileName);
    }
    CallHost<Host::ExchangeWindowData>(&chosen, kShowRecord);
    CallHost<Host::RefreshWindow>(0, 0x8000, 1);
    return kRedraw;
}

// The host's viewer shows today's day log.
static void ShowDayLog() {
    char path[260] = "";
    DayLogPath(path, sizeof path);
    // The viewer is handed the text 24 bytes into the path; a shorter path
    // (an unreadable date) hands it the empty end instead of stale bytes.
    const char* tail = std::strlen(path) > 24 ? path + 24 : path + std::strlen(path);
    void* viewer = CallHost<Host::OpenViewer>("l-1Log", 0x7FFFFFF, path, 0, 6, 0);
    int32_t code = 0;
    if (viewer) std::memcpy(&code, viewer, sizeof code);
    char text[520] = "";
    char* converted = CallHost<Host::ConvertText>(text, 520, tail, -1, code, 5);
    CallHost<Host::ShowViewer>(converted);
}

// F4 clears the day log and the slots together or not at all; the box
// that says why not is shown outside every lock.
static void ClearLogAndSlots() {
    char why[kMessageCapacity];
    if (!ClearDayLogAndSlots(why, sizeof why)) CallHost<Host::AskUser>("uwaga", why, kMessageBoxStyle);
}

// The edit of row k: the call it was shown from, with the phone and the
// target the user changed (a field left alone keeps the slot's own bytes,
// so that what display made of a control byte is not stored).
static void TakeRowEdit(const WindowDataRow& row, int k, SlotEdits& edits) {
    edits.edited[k] = true;
    edits.shownFrom[k] = g_window.shownRows[k].slot;
    CallRecord& wanted = edits.wanted[k];
    wanted = g_window.shownRows[k].slot;
    if (PhoneChanged(row, k)) {
        std::memset(wanted.phone, 0, sizeof wanted.phone);
        CallHost<Host::CopyBounded>(wanted.phone, row.phone, 20);
    }
    if (TargetChanged(row, k)) {
        std::memset(wanted.target, 0, sizeof wanted.target);
        CallHost<Host::CopyBounded>(wanted.target, row.target, 20);
        CallHost<Host::ConvertCodes>(wanted.target, wanted.target, 1, 3);
    }
}

// The rows of one kind of conflict, as "1, 3"; their count is the result.
static int ListRows(const EditOutcome& outcome, EditConflict kind, char* rows, std::size_t size) {
    rows[0] = '\0';
    int count = 0;
    for (int k = 0; k < kSlotCount; ++k) {
        if (outcome.conflict[k] != kind) continue;
        std::size_t used = std::strlen(rows);
        std::snprintf(rows + used, size - used, "%s%d", count > 0 ? ", " : "", k + 1);
        ++count;
    }
    return count;
}

// Appends the sentence for one kind of conflict, singular or plural, to
// the message; nothing when no row had it.
static void AddConflictSentence(const EditOutcome& outcome, EditConflict kind, const char* one,
                                const char* many, char* message, std::size_t size) {
    char rows[64];
    int count = ListRows(outcome, kind, rows, sizeof rows);
    if (count == 0) return;
    std::size_t used = std::strlen(message);
    if (used > 0 && used + 1 < size) {
        message[used++] = '\n';
        message[used] = '\0';
    }
    std::snprintf(message + used, size - used, count == 1 ? one : many, rows);
}

// Rows whose slot received another call, or was changed at another
// station, since they were shown are not saved: the user is told which
// and why, and sees what the file now holds.
static void TellConflicts(const EditOutcome& outcome) {
    static constexpr auto kRowNotSaved =
        MZ(u8"Wiersz nr %s nie został zapisany - w międzyczasie przyszło na niego nowe połączenie (widać je teraz w oknie)");
    static constexpr auto kRowsNotSaved =
        MZ(u8"Wiersze nr %s nie zostały zapisane - w międzyczasie przyszły na nie nowe połączenia (widać je teraz w oknie)");
    static constexpr auto kRowEditedElsewhere =
        MZ(u8"Wiersz nr %s nie został zapisany - w międzyczasie zmieniono go na innym stanowisku (widać teraz tę zmianę w oknie)");
    static constexpr auto kRowsEditedElsewhere =
        MZ(u8"Wiersze nr %s nie zostały zapisane - w międzyczasie zmieniono je na innym stanowisku (widać teraz te zmiany w oknie)");
    char message[kMessageCapacity] = "";
    AddConflictSentence(outcome, EditConflict::NewCall, kRowNotSaved, kRowsNotSaved, message, sizeof message);
    AddConflictSentence(outcome, EditConflict::EditedElsewhere, kRowEditedElsewhere, kRowsEditedElsewhere, message,
                        sizeof message);
    if (message[0] != '\0') CallHost<Host::AskUser>("uwaga", message, kMessageBoxStyle);
}

// F5 stores the rows the user changed, and only those; the NIPs are only
// shown. The file is read again for the save; once saved, the window shows
// the file as written. A save that failed leaves the rows as typed.
static void SaveRows() {
    CallHost<Host::ExchangeWindowData>(&g_windowData, kCollectControls);
    SlotEdits edits;
    std::memset(&edits, 0, sizeof edits);
    bool any = false;
    for (int k = 0; k < kSlotCount; ++k) {
        if (!RowChanged(g_windowData.rows[k], k)) continue;
        TakeRowEdit(g_windowData.rows[k], k, edits);
        any = true;
    }
    if (!any) return;
    EditOutcome outcome;
    if (SavePhoneSlots(edits, outcome) != EditSave::Saved) {
        CallHost<Host::AskUser>("uwaga", outcome.message, kMessageBoxStyle);
        return;
    }
    ShowSlots(outcome.slots, nullptr);
    TellConflicts(outcome);
}

// The ping goes to the port the window's choices put in force.
static void AskAndPing() {
    static constexpr auto kQuestion = MZ(u8"Wysłanie ping w sieć UDP?");
    int answer = CallHost<Host::AskUser>("uwaga", kQuestion.c_str(), 0x10006);
    if (static_cast<uint16_t>(answer) != 0x5009) return;
    Settings settings;
    int32_t port = TakeSettingsSnapshot(settings) ? settings.port : static_cast<int16_t>(g_windowData.port);
    UDPBroadcast(kPingCommand, port);
}

static int RunCommand(uint16_t id) {
    if (id >= kFirstSlotRadioId && id < kFirstSlotRadioId + kSlotRowCount) {
        CallHost<Host::ExchangeWindowData>(&g_windowData, kCollectControls);
        ShowStatusLine(static_cast<int16_t>(g_windowData.selectedSlot));
        return kHandled;
    }
    switch (id) {
        case kChooseFileButtonId: return ChooseSlotFile();
        case kRefreshButtonId: return Refresh(kCommand);
        case kShowLogButtonId: ShowDayLog(); return kHandled;
        case kClearLogButtonId: ClearLogAndSlots(); return kHandled;
        case kSaveButtonId: SaveRows(); return kHandled;
        case kPingButtonId: AskAndPing(); return kHandled;
        default: return kHandled;
    }
}

int HOSTAPI CallerIdWindowProc(int id, int event) {
    switch (static_cast<uint16_t>(event)) {
        case kOpened: return Refresh(kOpened);
        case kTimer: return g_window.active ? Refresh(kTimer) : kHandled;
        case kClosing:
            CallHost<Host::WindowTimer>(-1);
            g_window.active = false;
            return 0;
        case kCollect:
            CallHost<Host::ExchangeWindowData>(&g_windowData, kCollectControls);
            return 0;
        case kCommand: return RunCommand(static_cast<uint16_t>(id));
        default: return 0;
    }
}

// The window's settings go into the settings record and are saved in one
// step, from the values taken here. The file name stays whole unless the
// user put another into the field.
static Settings TakeWindowSettings() {
    g_windowData.fileName[kFileNameSize - 1] = '\0';
    const char* fileName =
        std::strcmp(g_windowData.fileName, g_window.shownFileName) != 0 ? g_windowData.fileName : g_window.fileName;
    return SaveWindowChoices(static_cast<int16_t>(g_windowData.optionBits),
                             static_cast<int16_t>(g_windowData.selectedSlot), g_windowData.port, fileName);
}

// The window opens on one load of the slots and the settings; when the
// listener keeps the lock, the user is told and nothing opens.
static bool OpenWithView() {
    SlotView view;
    if (!LoadPhoneSlots(view, true)) return false;
    KeepChoicesSavedWithoutLock(view.settings);
    FillSettingsFields(view.settings);
    FillRows(view.slots, nullptr);
    CopyText(g_window.fileName, sizeof g_window.fileName, view.settings.slotFileName);
    CopyText(g_window.shownFileName, sizeof g_window.shownFileName, g_windowData.fileName);
    return true;
}

void UDPSetup() {
    char portWarning[256];   // the plain one-button box, shown before the window and outside any lock
    if (UDPPortWarning(portWarning, sizeof portWarning))
        CallHost<Host::AskUser>("uwaga", portWarning, kMessageBoxStyle);
    char clockWarning[256];   // this station's clock is far from the server's
    if (StationClockWarning(clockWarning, sizeof clockWarning))
        CallHost<Host::AskUser>("uwaga", clockWarning, kMessageBoxStyle);
    char senderWarning[256];   // a sender refused since the window last said so
    if (UDPSenderWarning(senderWarning, sizeof senderWarning))
        CallHost<Host::AskUser>("uwaga", senderWarning, kMessageBoxStyle);
    char waitWarning[256];   // calls waiting for another station's hold of the slot file
    if (UDPSlotFileWaitWarning(waitWarning, sizeof waitWarning))
        CallHost<Host::AskUser>("uwaga", waitWarning, kMessageBoxStyle);
    if (!OpenWithView()) return;
    int closedBy = CallHost<Host::RunWindow>(CallerIdWindowDescription(), kCallerIdWindowId,
                                             &g_windowData, &CallerIdWindowProc);
    if (static_cast<uint16_t>(closedBy) != kExitButtonId && SelectedNip()[0] != '\0')
        CallHost<Host::SetClipboard>(SelectedNip(), -1);
    const Settings saved = TakeWindowSettings();
    UDPBroadcast(kRestartCommand, saved.port);
    UDPRequestRestart();   // the broadcast goes to the new port, which this station may not hold yet
}
