// The caller-ID window: filling its data record, the window procedure with
// its refresh and commands, and one visit from opening to the restart
// broadcast.
#include "ui/caller_id_window.h"

#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "text/mazovia.h"
#include "udp/broadcast.h"
#include "udp/listener_status.h"
#include "ui/nip.h"

WindowData g_windowData;
static bool g_windowActive = false;

// The slot file name as the window showed it. A name longer than the
// window's field is shown cut; it goes back into the settings only when the
// user chose or typed another.
static char g_shownFileName[kFileNameSize];

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

void FillWindowData() {
    SharedStateLock lock;
    std::memset(&g_windowData, 0, sizeof g_windowData);
    g_windowData.optionBits = static_cast<uint16_t>(g_settings.options);
    g_windowData.selectedSlot = static_cast<uint16_t>(g_settings.selectedSlot);
    g_windowData.port = static_cast<int16_t>(g_settings.port);
    CopyText(g_windowData.fileName, sizeof g_windowData.fileName, g_settings.slotFileName);
    CopyText(g_shownFileName, sizeof g_shownFileName, g_windowData.fileName);
    for (int k = 0; k < kSlotCount; ++k) FillRow(g_windowData.rows[k], g_phoneSlots[k]);
}

const char* SelectedNip() {
    int slot = static_cast<int16_t>(g_windowData.selectedSlot);
    return IsSlotIndex(slot) ? g_windowData.rows[slot].nip : "";
}

// The status line shows the whole text of the selected slot, centred.
static void ShowStatusLine(int slot) {
    char line[1024];
    {
        SharedStateLock lock;
        const CallRecord* record = IsSlotIndex(slot) ? &g_phoneSlots[slot] : nullptr;
        std::snprintf(line, sizeof line, "\x01" "c" "\x01%.*s", record ? 500 : 0,
                      record ? record->text : "");
    }
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
static void ShowCallTimes() {
    char now[32] = "";
    char today[32] = "";
    CallHost<Host::CurrentTime>(now, 1);
    CallHost<Host::TodayDate>(today);
    for (int k = 0; k < kSlotCount; ++k) {
        char time[sizeof(CallRecord::time)];
        char date[sizeof(CallRecord::date)];
        {
            SharedStateLock lock;
            std::memcpy(time, g_phoneSlots[k].time, sizeof time);
            std::memcpy(date, g_phoneSlots[k].date, sizeof date);
        }
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

// The refresh reloads the slots while keeping what the user set in the
// window (selection, options, port); unsaved row edits are replaced.
static int Refresh(uint16_t event) {
    g_windowActive = true;
    if (event != kTimer) CallHost<Host::WindowTimer>(kRefreshInterval);
    WindowData shown;
    std::memset(&shown, 0, sizeof shown);
    CallHost<Host::ExchangeWindowData>(&shown, kCollectControls);
    LoadPhoneSlots(event != kTimer);
    FillWindowData();

    {
        // The listener reads these for every line it logs.
        SharedStateLock lock;
        g_settings.selectedSlot = static_cast<int16_t>(shown.selectedSlot);
        g_settings.options = static_cast<int16_t>(shown.optionBits);
        g_settings.port = shown.port;
    }
    g_windowData.selectedSlot = shown.selectedSlot;
    g_windowData.optionBits = shown.optionBits;
    g_windowData.port = shown.port;

    ShowStatusLine(static_cast<int16_t>(shown.selectedSlot));
    ShowCallTimes();
    CallHost<Host::ExchangeWindowData>(&g_windowData, kShowRecord);
    CallHost<Host::RefreshWindow>(0, 0x8000, 1);
    return kRedraw;
}

static int ChooseSlotFile() {
    WindowData chosen;
    CallHost<Host::ExchangeWindowData>(&chosen, kCollectControls);
    if (CallHost<Host::ChooseFile>(0, chosen.fileName, "*.*", static_cast<int>(kFileNameSize), 0, 50,
                                   -1) == -1)
        return kHandled;
    chosen.fileName[kFileNameSize - 1] = '\0';
    SetSlotFileName(chosen.fileName);
    CopyText(g_shownFileName, sizeof g_shownFileName, chosen.fileName);
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

static void ClearLogAndSlots() {
    char path[260];
    DayLogPath(path, sizeof path);
    RemoveFile(path);
    SharedStateLock lock;
    if (PhoneSlotPath(path, sizeof path) == 0) RemoveFile(path);
}

// F5 stores phone and target of every row; the NIPs are only shown. A
// field that still reads as the window shows the slot keeps the slot's own
// bytes, so that what display made of a control byte is not stored.
static void SaveRows() {
    CallHost<Host::ExchangeWindowData>(&g_windowData, kCollectControls);
    SharedStateLock lock;
    for (int k = 0; k < kSlotCount; ++k) {
        CallRecord& slot = g_phoneSlots[k];
        WindowDataRow shown;
        std::memset(&shown, 0, sizeof shown);
        FillRow(shown, slot);
        const WindowDataRow& row = g_windowData.rows[k];
        if (std::strncmp(row.phone, shown.phone, sizeof row.phone) == 0 &&
            std::strncmp(row.target, shown.target, sizeof row.target) == 0)
            continue;
        std::memset(slot.phone, 0, sizeof slot.phone);
        std::memset(slot.target, 0, sizeof slot.target);
        CallHost<Host::CopyBounded>(slot.phone, g_windowData.rows[k].phone, 20);
        CallHost<Host::CopyBounded>(slot.target, g_windowData.rows[k].target, 20);
        CallHost<Host::ConvertCodes>(slot.target, slot.target, 1, 3);
    }
    SavePhoneSlots();
}

static void AskAndPing() {
    static constexpr auto kQuestion = MZ(u8"Wysłanie ping w sieć UDP?");
    int answer = CallHost<Host::AskUser>("uwaga", kQuestion.c_str(), 0x10006);
    if (static_cast<uint16_t>(answer) == 0x5009) UDPBroadcast(kPingCommand, SettingsSnapshot().port);
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
        case kTimer: return g_windowActive ? Refresh(kTimer) : kHandled;
        case kClosing:
            CallHost<Host::WindowTimer>(-1);
            g_windowActive = false;
            return 0;
        case kCollect:
            CallHost<Host::ExchangeWindowData>(&g_windowData, kCollectControls);
            return 0;
        case kCommand: return RunCommand(static_cast<uint16_t>(id));
        default: return 0;
    }
}

// Takes the window's settings into the settings record. The file name
// stays whole unless the user put another into the field.
static void TakeWindowSettings() {
    SharedStateLock lock;
    g_settings.options = static_cast<int16_t>(g_windowData.optionBits);
    g_settings.selectedSlot = static_cast<int16_t>(g_windowData.selectedSlot);
    g_settings.port = g_windowData.port;
    g_windowData.fileName[kFileNameSize - 1] = '\0';
    if (std::strcmp(g_windowData.fileName, g_shownFileName) != 0) SetSlotFileName(g_windowData.fileName);
}

void UDPSetup() {
    char portWarning[256];   // the plain one-button box, shown before the window and outside any lock
    if (UDPPortWarning(portWarning, sizeof portWarning)) CallHost<Host::AskUser>("uwaga", portWarning, 1);
    LoadPhoneSlots(true);
    FillWindowData();
    int closedBy = CallHost<Host::RunWindow>(CallerIdWindowDescription(), kCallerIdWindowId,
                                             &g_windowData, &CallerIdWindowProc);
    if (static_cast<uint16_t>(closedBy) != kExitButtonId && SelectedNip()[0] != '\0')
        CallHost<Host::SetClipboard>(SelectedNip(), -1);
    TakeWindowSettings();
    SaveSettings();
    UDPBroadcast(kRestartCommand, SettingsSnapshot().port);
    UDPRequestRestart();   // the broadcast goes to the new port, which this station may not hold yet
}
