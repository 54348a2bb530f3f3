// The contractor table hook and the search window hook: they bring the
// selected slot's NIP to where the user searches the contractor table.
#include "ui/search_hooks.h"

#include <cstdio>
#include <cstring>

#include "host/checks.h"
#include "host/imports.h"
#include "plugin/frame.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "ui/caller_id_window.h"
#include "ui/slot_messages.h"

inline constexpr int kTableHandlerOffset = 104;

// The contractor table's hook, the user-interface thread's alone: the
// table's descriptor while the hook is in, the handler it replaced, and
// the record-size mismatch it reports when the table is not the expected
// one.
struct TableHook {
    char* descriptor;
    TableHandler previous;
    RecordSizeMismatch mismatch;
};
static TableHook g_tableHook = {};

static TableHandler TableHandlerOf(const char* descriptor) {
    TableHandler handler;
    std::memcpy(&handler, descriptor + kTableHandlerOffset, sizeof handler);
    return handler;
}

static void SetTableHandler(char* descriptor, TableHandler handler) {
    std::memcpy(descriptor + kTableHandlerOffset, &handler, sizeof handler);
}

enum Key : int {
    kCtrlF = 6,
    kCtrlG = 7,
    kCtrlZ = 26,
    kUpperZ = 90,
    kLowerZ = 122,
};
inline constexpr int kNipColumn = 7;

// After the suggestion the host is given Home and the key 0xBF00.
static const uint16_t kSuggestionKeys[] = {0x4700, 0xBF00, 0};

// One load of the slots and the settings for one action, its problem told
// to the user; the window data record is filled from it. A busy lock
// leaves free slots: the action goes on with no NIP.
static void TakeView(SlotView& view) {
    if (!LoadPhoneSlots(view, true)) {
        std::memset(view.slots, 0, sizeof view.slots);
        view.settings = {};
        view.settings.selectedSlot = -1;
    }
    FillWindowData(view);
}

static const char* LoadSelectedNip(SlotView& view) {
    TakeView(view);
    return SelectedNip();
}

static bool IsSearchKey(int key) {
    return key == kCtrlF || key == kCtrlZ || key == kUpperZ || key == kLowerZ;
}

// Nothing is consumed: the host's own handling of every key follows.
static int HOSTAPI ContractorTableCallback(int key, int a2, int a3, int a4, int a5, int a6,
                                          int a7, int a8, int a9, int column, int a11) {
    // The clipboard and the suggestion take the NIP of one load.
    if (IsSearchKey(key) && (column & 0xFFFF) == kNipColumn &&
        (OptionBits() & (kOptionClipboard | kOptionSuggestNip)) != 0) {
        SlotView view;
        const char* nip = LoadSelectedNip(view);
        if (view.settings.options & kOptionClipboard) CallHost<Host::SetClipboard>(nip, -1);
        if (view.settings.options & kOptionSuggestNip) {
            CallHost<Host::OfferSuggestion>(nip);
            CallHost<Host::PushKeys>(kSuggestionKeys);
        }
    }
    if (key == kCtrlG) UDPSetup();
    // A table that had no handler of its own is not called through none.
    if (!g_tableHook.previous) return 0;
    return g_tableHook.previous(key, a2, a3, a4, a5, a6, a7, a8, a9, column, a11);
}

int HookContractorTable(bool install) {
    if (!install) {
        if (g_tableHook.descriptor) {
            SetTableHandler(g_tableHook.descriptor, g_tableHook.previous);
            g_tableHook.descriptor = nullptr;
        }
        return 0;
    }
    if (g_tableHook.descriptor) return 0;
    char* descriptor = static_cast<char*>(CallHost<Host::TableDescriptor>(kContractorTable));
    int hostSize = HostRecordSize(descriptor);
    if (descriptor && hostSize == kContractorRecordSize) {
        g_tableHook.descriptor = descriptor;
        g_tableHook.previous = TableHandlerOf(descriptor);
        SetTableHandler(descriptor, &ContractorTableCallback);
        return 0;
    }
    g_tableHook.mismatch.expectedSize = kContractorRecordSize;
    g_tableHook.mismatch.hostSize = hostSize;
    g_tableHook.mismatch.tableName = kContractorTableName;
    ListRecordSizeMismatch(&g_tableHook.mismatch);
    return -1;
}

enum : uint16_t {
    kSearchOpened = 0xFFFE,
    kSearchCommand = 1,
    kKeyF1 = 0x3B00,
    kKeyF5 = 0x3F00,
    kSearchInputId = 0x4101,
    kSearchButtonId = 0x4009,
};
inline constexpr int kWidening = 10;
inline constexpr int kRecentCallSeconds = 1199;

static void Widen(int16_t* rectangle, int index) {
    rectangle[index] = static_cast<int16_t>(rectangle[index] + kWidening);
}

// The search window grows by ten cells: the input with it, the button
// moves right.
static void WidenSearchWindow() {
    int16_t rectangle[4] = {};
    CallHost<Host::WindowRectangle>(rectangle);
    Widen(rectangle, 2);
    CallHost<Host::SetWindowRectangle>(rectangle);
    CallHost<Host::ControlRect>(kSearchInputId, rectangle);
    Widen(rectangle, 2);
    CallHost<Host::SetControlRect>(kSearchInputId, rectangle);
    CallHost<Host::ControlRect>(kSearchButtonId, rectangle);
    Widen(rectangle, 0);
    CallHost<Host::SetControlRect>(kSearchButtonId, rectangle);
}

// A call of today's last twenty minutes shows its NIP with the time
// since; NIP, time and day come from the same slot of one load, and the
// day is checked as the caller-ID window checks it.
static void ShowRecentNip() {
    SlotView view;
    const char* nip = LoadSelectedNip(view);
    int slot = view.settings.selectedSlot;
    if (nip[0] == '\0' || slot < 0 || slot >= kSlotCount) return;
    char now[32] = "";
    char today[32] = "";
    char time[sizeof(CallRecord::time)];
    char date[sizeof(CallRecord::date)];
    std::memcpy(time, view.slots[slot].time, sizeof time);
    std::memcpy(date, view.slots[slot].date, sizeof date);
    time[sizeof time - 1] = '\0';
    date[sizeof date - 1] = '\0';
    CallHost<Host::CurrentTime>(now, 1);
    int seconds = CallHost<Host::SecondsSince>(now, time);
    if (seconds < 1 || seconds > kRecentCallSeconds) return;
    CallHost<Host::TodayDate>(today);
    if (CallHost<Host::SameDay>(today, date) != 0) return;
    char text[64];
    std::snprintf(text, sizeof text, "%s (%d:%02d)", nip, seconds / 60, seconds % 60);
    CallHost<Host::ShowText>(0, text);
}

int HOSTAPI SearchWindowHook(int id, int event) {
    WindowProcedure previous = g_frame.previousHandler;
    if (!previous && g_frame.handlerRecord)
        previous = reinterpret_cast<WindowProcedure>(g_frame.handlerRecord[0]);
    uint16_t code = static_cast<uint16_t>(event);
    uint16_t key = static_cast<uint16_t>(id);
    if (code == kSearchOpened) {
        WidenSearchWindow();
        ShowRecentNip();
    } else if (code == kSearchCommand && key == kKeyF1) {
        SlotView view;
        CallHost<Host::OfferSuggestion>(LoadSelectedNip(view));
        return -2;
    } else if (code == kSearchCommand && key == kKeyF5) {
        UDPSetup();
        return -2;
    }
    return previous ? previous(id, event) : 0;
}
