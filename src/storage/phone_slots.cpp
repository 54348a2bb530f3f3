// The phone-slot file: ten raw call records, 5620 bytes, one slot per
// target. The file is the authority; every load and update rebuilds the
// image from it. The listener files calls under the other stations' lock,
// taken before and without the plug-in's own lock, which guards only the
// image and the settings: a slow share or another station's long hold
// then never keeps the user-interface thread waiting. The saves are in
// slot_saving.cpp, the file's own steps in slot_file.cpp.
#include "storage/phone_slots.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "storage/day_log.h"
#include "storage/late_calls.h"
#include "storage/settings.h"
#include "storage/slot_file.h"
#include "storage/station_clock.h"
#include "storage/storage_paths.h"
#include "text/mazovia.h"

CallRecord g_phoneSlots[kSlotCount];

static_assert(sizeof g_phoneSlots == kSlotFileSize);

// The host's plain message box with one button.
static constexpr int kMessageBoxStyle = 1;

static constexpr auto kUpdateOpenFailed = MZ(u8"Blad otwarcia pliku telefonow (aktualizacja - zapis)");
static constexpr auto kUpdateOpened = MZ(u8"Otwarto plik telefonow (aktualizacja - zapis)");
static constexpr auto kSlotCleared = MZ(u8"Slot nr %d zostal wyczyszczony");
static constexpr auto kSlotReplaced = MZ(u8"Slot nr %d wpisanie telefonu: %s - > %s");
static constexpr auto kSlotAdded = MZ(u8"Slot nr %d wpisanie NOWEGO telefonu: %s - > %s");
static constexpr auto kLateCallKept =
    MZ(u8"Slot nr %d: połączenie %s - > %s odebrane po wstrzymaniu stanowiska - nie wiadomo, czy nowsze; "
       u8"pozostaje wpis z %s %s");
static constexpr auto kNoFreeSlot = MZ(u8"Brak wolnych slotów na wpisanie telefonu: %s - > %s");
static constexpr auto kSaved = MZ(u8"Zapisano informacje do pliku %s");
static constexpr auto kWriteFailed = MZ(u8"Blad zapisu pliku %s");
static constexpr auto kReadFailed = MZ(u8"Blad odczytu pliku %s");
static constexpr auto kBusy = MZ(u8"Plik telefonów jest w tej chwili zajęty - spróbuj ponownie");
static constexpr auto kStationHoldsSlotFile =
    MZ(u8"Plik telefonów zajęty przez inne stanowisko - połączenia nie wpisano do pliku telefonów");
// How long a direct update waits for another station's hold.
static constexpr int kUpdateWaitMilliseconds = 2000;

int PhoneSlotPath(char* path, int capacity) {
    BoundedStateLock lock;
    if (capacity > 0) path[0] = '\0';
    if (!lock.held()) return 1;
    char refusal[kMessageCapacity];
    if (BuildSlotPath(path, capacity > 0 ? static_cast<std::size_t>(capacity) : 0, refusal,
                      sizeof refusal))
        return 0;
    WriteEventLog(refusal);
    return 1;
}

static void ShowMessage(const char* message) {
    CallHost<Host::AskUser>("uwaga", message, kMessageBoxStyle);
}

// The path and the settings in one hold of the lock, the file read
// outside it (unless the caller holds it): a slow share keeps only this
// thread waiting. The message box
// waits for the user outside the lock as well.
bool TakeSlotView(SlotView& view) {
    view.problem[0] = '\0';
    char path[kPathCapacity];
    bool named = false;
    {
        BoundedStateLock lock;
        if (!lock.held()) {
            std::snprintf(view.problem, sizeof view.problem, "%s", kBusy.c_str());
            return false;
        }
        named = BuildSlotPath(path, sizeof path, view.problem, sizeof view.problem);
        view.settings = g_settings;
    }
    if (named) {
        // A write of this station's listener or another station is waited
        // for a moment, so that the view holds no half-written record; a
        // longer hold (a frozen station) is not: the window shows the file
        // as it reads.
        StationFileLock stations(path, kUiLockWaitMilliseconds);
        ReadSlotFileAt(path, view.slots, view.problem, sizeof view.problem);
    } else {
        std::memset(view.slots, 0, sizeof view.slots);
    }
    if (view.problem[0] != '\0') WriteEventLog(view.problem);
    BoundedStateLock lock;
    if (lock.held()) std::memcpy(g_phoneSlots, view.slots, sizeof g_phoneSlots);
    return true;
}

void ShowSlotProblem(const SlotView& view) {
    if (view.problem[0] != '\0') ShowMessage(view.problem);
}

bool LoadPhoneSlots(bool showMessages) {
    SlotView view;
    bool taken = TakeSlotView(view);
    if (showMessages) ShowSlotProblem(view);
    return taken;
}

// The record's phone and target as terminated texts, so that a record
// without terminators cannot make an event line read past its fields.
struct RecordNames {
    char phone[sizeof CallRecord::phone + 1];
    char target[sizeof CallRecord::target + 1];
};

static RecordNames NamesOf(const CallRecord& record) {
    RecordNames names{};
    std::memcpy(names.phone, record.phone, sizeof record.phone);
    std::memcpy(names.target, record.target, sizeof record.target);
    return names;
}

static bool SameTarget(const CallRecord& record, const CallRecord& slot) {
    return std::strncmp(record.target, slot.target, sizeof record.target) == 0;
}

// Files the record in the image: in its target's slot, else in the first
// free one; later slots of the same target are cleared. True when a slot
// received the record and the file must be written.
static bool MergeIntoImage(const CallRecord& record, CallRecord* image) {
    const RecordNames names = NamesOf(record);
    bool found = false;
    bool changed = false;
    int freeIndex = -1;
    for (int index = 0; index < kSlotCount; ++index) {
        CallRecord& slot = image[index];
        if (record.target[0] != '\0' && SameTarget(record, slot)) {
            if (found) {
                std::memset(&slot, 0, sizeof slot);
                WriteEventLogF(kSlotCleared, index);
            } else if (std::memcmp(&slot, &record, sizeof slot) != 0) {
                slot = record;
                changed = true;
                WriteEventLogF(kSlotReplaced, index, names.phone, names.target);
            }
            found = true;
        }
        if (slot.target[0] == '\0' && freeIndex < 0) freeIndex = index;
    }
    if (found) return changed;
    if (freeIndex < 0) {
        WriteEventLogF(kNoFreeSlot, names.phone, names.target);
        return false;
    }
    image[freeIndex] = record;
    WriteEventLogF(kSlotAdded, freeIndex, names.phone, names.target);
    return true;
}

// A call heard in time is filed by the ordinary rules, but for a station
// whose clock is off: the same call another station filed keeps its stamp.
static LateCall InTimeVerdict(const CallRecord* slots, const CallRecord& call) {
    int ahead = StationClockAheadSeconds();
    if (ahead == 0 || call.target[0] == '\0') return LateCall::File;
    for (int index = 0; index < kSlotCount; ++index)
        if (SameTarget(call, slots[index]))
            return KeepsSlotStamp(slots[index], call, ahead) ? LateCall::KeepsSlot : LateCall::File;
    return LateCall::File;
}

// The slot of the call's target keeps what it holds: the line says why.
static void LogLateCallKept(const CallRecord& call, const CallRecord* slots) {
    const RecordNames names = NamesOf(call);
    for (int index = 0; index < kSlotCount; ++index) {
        if (!SameTarget(call, slots[index])) continue;
        char date[sizeof call.date + 1] = {};
        char time[sizeof call.time + 1] = {};
        std::memcpy(date, slots[index].date, sizeof call.date);
        std::memcpy(time, slots[index].time, sizeof call.time);
        WriteEventLogF(kLateCallKept, index, names.phone, names.target, date, time);
        return;
    }
}

// One read, the merge of every call in order, one write of the slots that
// changed; the file stays open only for that. The caller holds the other
// stations' lock, or the plug-in's where there is none. False when another
// program holds the file and refuses writers: nothing was done then.
static bool MergeCallsIntoFile(const char* path, const CallRecord* calls, int count, const HoldInfo* hold,
                               CallRecord* image) {
    bool created = false;
    int error = 0;
    FILE* stream = OpenSlotFileForUpdate(path, created, &error);
    if (!stream && IsSharingRefusal(error)) return false;
    if (!stream) {
        WriteEventLog(kUpdateOpenFailed);
        LogSystemError(error);
        return true;
    }
    CallRecord before[kSlotCount];
    long length = 0;
    // A read error must not turn into a write of a half-empty image over
    // the slots; a short file simply leaves its missing slots free.
    if (!ReadOpenSlotFile(stream, before, &length)) {
        CloseFileStream(stream);
        WriteEventLogF(kReadFailed, path);
        return true;
    }
    WriteEventLog(kUpdateOpened);
    std::memcpy(image, before, kSlotFileSize);
    bool changed = false;
    // Each call is copied first: the caller may have handed in a slot.
    for (int i = 0; i < count; ++i) {
        const CallRecord call = calls[i];
        LateCall verdict = hold ? JudgeLateCall(before, calls, count, *hold, i) : InTimeVerdict(image, call);
        if (verdict == LateCall::CannotTell) LogLateCallKept(call, before);
        if (verdict == LateCall::File) changed = MergeIntoImage(call, image) || changed;
    }
    if (!changed) {
        CloseFileStream(stream);
        return true;
    }
    error = CloseAfterWriting(stream, WriteChangedSlots(stream, before, image, length < kSlotFileSize));
    WriteEventLogF(error == 0 ? kSaved.c_str() : kWriteFailed.c_str(), path);
    LogSystemError(error);
    if (error != 0) std::memcpy(image, before, kSlotFileSize);
    return true;
}

static std::atomic<bool> g_filing{false};

bool ThisStationIsFiling() { return g_filing.load(); }

CallsFiled FilePhoneCalls(const CallRecord* calls, int count, int milliseconds, const HoldInfo* hold,
                          CallRecord* slotsAfter) {
    char path[kPathCapacity];
    char message[kMessageCapacity];
    {
        SharedStateLock lock;
        if (!BuildSlotPath(path, sizeof path, message, sizeof message)) {
            WriteEventLog(message);
            return CallsFiled::Filed;
        }
    }
    CallRecord image[kSlotCount] = {};
    {
        StationFileLock stations(path, milliseconds);
        if (stations.busy()) return CallsFiled::Busy;
        g_filing.store(true);
        bool done;
        if (stations.covered()) {
            done = MergeCallsIntoFile(path, calls, count, hold, image);
        } else {
            SharedStateLock lock;
            done = MergeCallsIntoFile(path, calls, count, hold, image);
        }
        g_filing.store(false);
        if (!done) return CallsFiled::HeldByProgram;
    }
    if (slotsAfter) std::memcpy(slotsAfter, image, sizeof image);
    SharedStateLock lock;
    std::memcpy(g_phoneSlots, image, sizeof g_phoneSlots);
    return CallsFiled::Filed;
}

void UpdatePhoneSlots(const CallRecord& record) {
    CallsFiled filed = FilePhoneCalls(&record, 1, kUpdateWaitMilliseconds);
    if (filed == CallsFiled::Busy) WriteEventLog(kStationHoldsSlotFile);
    if (filed == CallsFiled::HeldByProgram) WriteEventLog(kUpdateOpenFailed);
}
