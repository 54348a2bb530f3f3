// The slot file's one transaction (see slot_transaction.h). The order is
// fixed here and nowhere else: the plug-in's lock for a copy of the
// settings, the stations' lock without it, the file's work, the stations'
// lock let go, the plug-in's lock for a copy of the slots. The day log's
// lines for the steps are written here too, from what the slot rules
// report; nothing here speaks to the user.
#include "storage/slot_transaction.h"

#include <atomic>
#include <cstdio>
#include <cstring>

#include "log/day_log_events.h"
#include "platform/platform.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/slot_file.h"
#include "text/mazovia.h"

static constexpr auto kUpdateOpenFailed = MZ(u8"Blad otwarcia pliku telefonow (aktualizacja - zapis)");
static constexpr auto kUpdateOpened = MZ(u8"Otwarto plik telefonow (aktualizacja - zapis)");
static constexpr auto kLateCallKept =
    MZ(u8"Slot nr %d: połączenie %s - > %s odebrane po wstrzymaniu stanowiska - nie wiadomo, czy nowsze; "
       u8"pozostaje wcześniejszy wpis");
static constexpr auto kSlotCleared = MZ(u8"Slot nr %d zostal wyczyszczony");
static constexpr auto kSlotReplaced = MZ(u8"Slot nr %d wpisanie telefonu: %s - > %s");
static constexpr auto kSlotAdded = MZ(u8"Slot nr %d wpisanie NOWEGO telefonu: %s - > %s");
static constexpr auto kNoFreeSlot = MZ(u8"Brak wolnych slotów na wpisanie telefonu: %s - > %s");
static constexpr auto kSaved = MZ(u8"Zapisano informacje do pliku %s");
static constexpr auto kWriteFailed = MZ(u8"Blad zapisu pliku %s");
static constexpr auto kReadFailed = MZ(u8"Blad odczytu pliku %s");
static constexpr auto kSaveOpenFailed = MZ(u8"Otwarcie pliku do zapisu: %s - blad otwarcia");
static constexpr auto kEditNotSaved = MZ(u8"Slot nr %d: zmiana z okna nie zapisana - w miedzyczasie nowe polaczenie");
static constexpr auto kEditedElsewhere =
    MZ(u8"Slot nr %d: zmiana z okna nie zapisana - w miedzyczasie zmieniony na innym stanowisku");
static constexpr auto kNoStationLock = MZ(kNoStationLockEvent);

// A settings' file name that changed while the stations' lock was waited
// for (a restart re-read another) sends the transaction round again, this
// many times at most.
static constexpr int kMostRounds = 3;

// --- the day log's lines for the steps --------------------------------------

static bool Saving(const SlotOperation& operation) {
    return operation.kind == SlotOperationKind::SaveEdits || operation.kind == SlotOperationKind::SaveImage;
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

static void LogEvent(const SlotEvent& event, const SlotOperation& operation) {
    RecordNames names{};
    if (event.call >= 0 && event.call < operation.count) names = NamesOf(operation.calls[event.call]);
    switch (event.kind) {
        case SlotEventKind::Cleared: WriteEventLogF(kSlotCleared, event.slot); break;
        case SlotEventKind::Replaced: WriteEventLogF(kSlotReplaced, event.slot, names.phone, names.target); break;
        case SlotEventKind::Added: WriteEventLogF(kSlotAdded, event.slot, names.phone, names.target); break;
        case SlotEventKind::NoFreeSlot: WriteEventLogF(kNoFreeSlot, names.phone, names.target); break;
        case SlotEventKind::EditNewCall: WriteEventLogF(kEditNotSaved, event.slot); break;
        case SlotEventKind::EditedElsewhere: WriteEventLogF(kEditedElsewhere, event.slot); break;
        case SlotEventKind::LateKept: WriteEventLogF(kLateCallKept, event.slot, names.phone, names.target); break;
    }
}

static void LogOpenFailure(const SlotOperation& operation, const SlotResult& result) {
    if (operation.kind == SlotOperationKind::FileCalls && result.outcome != SlotOutcome::HeldByProgram) {
        WriteEventLog(kUpdateOpenFailed);
        LogSystemError(result.systemError);
    } else if (Saving(operation)) {
        WriteEventLogF(kSaveOpenFailed, result.path);
        LogSystemError(result.systemError);
    }
}

static void LogReadFailure(const SlotOperation& operation, const char* path) {
    if (operation.kind == SlotOperationKind::FileCalls) WriteEventLogF(kReadFailed, path);
    if (Saving(operation)) WriteEventLogF(kWriteFailed, path);
}

static void LogWrite(const SlotOperation& operation, const SlotResult& result) {
    bool failed = result.outcome == SlotOutcome::WriteFailed;
    if (operation.kind == SlotOperationKind::FileCalls)
        WriteEventLogF(failed ? kWriteFailed.c_str() : kSaved.c_str(), result.path);
    else if (Saving(operation) && failed)
        WriteEventLogF(kWriteFailed, result.path);
    if (failed && operation.kind != SlotOperationKind::Clear) LogSystemError(result.systemError);
}

// The day log says once per cause that the stations are not coordinated;
// a turn with the lock again makes the next loss worth a line.
static std::atomic<int> g_uncoordinatedCause{0};

static void NoteStationLock(const StationLock& lock, const char* path) {
    if (lock.turn == StationTurn::Held) g_uncoordinatedCause.store(0);
    if (lock.turn != StationTurn::HeldHereOnly) return;
    int cause = lock.systemError != 0 ? lock.systemError : -1;
    if (g_uncoordinatedCause.exchange(cause) != cause) WriteEventLogF(kNoStationLock, path, lock.systemError);
}

// --- the plug-in's lock: copies alone ----------------------------------------

static bool CopySettings(const SlotRequest& request, Settings& settings) {
    if (!request.userInterface) {
        SharedStateLock lock;
        settings = CurrentSettings();
        return true;
    }
    BoundedStateLock lock;
    if (lock.held()) settings = CurrentSettings();
    return lock.held();
}

// Whether the name the path was built from is still the settings' own.
enum class NameNow : uint8_t { InForce, Changed, Busy };

static NameNow NameInForce(const SlotRequest& request, const Settings& settings) {
    auto same = [&] {
        return IsSlotFileNameInForce(settings.slotFileName) ? NameNow::InForce : NameNow::Changed;
    };
    if (!request.userInterface) {
        SharedStateLock lock;
        return same();
    }
    BoundedStateLock lock;
    return lock.held() ? same() : NameNow::Busy;
}

static void Publish(const SlotRequest& request, const CallRecord* slots) {
    if (!request.userInterface) {
        SharedStateLock lock;
        std::memcpy(g_phoneSlots, slots, sizeof g_phoneSlots);
        return;
    }
    BoundedStateLock lock;
    if (lock.held()) std::memcpy(g_phoneSlots, slots, sizeof g_phoneSlots);
}

// Filing publishes what it found even when it could not write (the image
// then follows the file, or stays free); a save or F4 only what it did.
static bool Publishes(const SlotRequest& request, SlotOutcome outcome) {
    if (outcome == SlotOutcome::Done) return true;
    return request.operation.kind == SlotOperationKind::FileCalls &&
           (outcome == SlotOutcome::OpenFailed || outcome == SlotOutcome::ReadFailed ||
            outcome == SlotOutcome::WriteFailed);
}

// --- the file's work, under the stations' lock -------------------------------

static const CallRecord kFreeSlots[kSlotCount] = {};

static void Change(const SlotRequest& request, const CallRecord* read, SlotResult& result) {
    ApplySlotChange(read, request.operation, result.change);
    for (int i = 0; i < result.change.eventCount; ++i) LogEvent(result.change.events[i], request.operation);
}

static void View(const SlotRequest& request, SlotResult& result) {
    CallRecord read[kSlotCount];
    ReadSlotFileAt(result.path, read, result.problem, sizeof result.problem);
    Change(request, read, result);
    if (result.problem[0] != '\0') WriteEventLog(result.problem);
}

// Writes the records read back over the file, whole (a short file comes
// back at full length, its missing slots free); false when it could not.
static bool PutBack(const char* path, const CallRecord* read) {
    std::FILE* stream = OpenSlotStream(path, "rb+");
    if (!stream) return false;
    UnbufferFileStream(stream);
    return CloseAfterWriting(stream, WriteChangedSlots(stream, kFreeSlots, read, true)) == 0;
}

// The step after the file is written and closed; when it refuses, the
// records read go back (where there was a file).
static void Finish(const SlotRequest& request, bool existed, const CallRecord* read, SlotResult& result) {
    if (!request.afterWrite || request.afterWrite(request.context)) return;
    result.outcome = SlotOutcome::Undone;
    if (existed && !PutBack(result.path, read)) result.outcome = SlotOutcome::Lost;
    std::memcpy(result.change.slots, read, sizeof result.change.slots);
}

// F4 finds no file: nothing to clear, and the step after it still runs.
static bool NothingThere(const SlotRequest& request, SlotResult& result) {
    if (FileExists(result.path)) return false;
    Change(request, kFreeSlots, result);
    Finish(request, false, kFreeSlots, result);
    return true;
}

static std::FILE* Open(const SlotRequest& request, SlotResult& result) {
    bool created = false;
    int error = 0;
    std::FILE* stream = nullptr;
    if (request.access == SlotAccess::Existing) {
        ClearSystemError();
        stream = OpenSlotStream(result.path, "rb+");
        if (stream) UnbufferFileStream(stream);
        error = LastSystemError();
    } else {
        stream = OpenSlotFileForUpdate(result.path, created, &error);
    }
    if (stream) return stream;
    result.systemError = error;
    result.outcome = IsSharingRefusal(error) ? SlotOutcome::HeldByProgram : SlotOutcome::OpenFailed;
    return nullptr;
}

static void WorkOnFile(const SlotRequest& request, SlotResult& result) {
    const SlotOperation& operation = request.operation;
    if (request.access == SlotAccess::Read) return View(request, result);
    std::FILE* stream = Open(request, result);
    if (!stream) {
        if (request.access == SlotAccess::Existing && NothingThere(request, result)) return;
        LogOpenFailure(operation, result);
        return;
    }
    CallRecord read[kSlotCount];
    long length = 0;
    // A read error must not turn into a write of a half-empty image over
    // the slots; a short file simply leaves its missing slots free.
    if (!ReadOpenSlotFile(stream, read, &length)) {
        CloseFileStream(stream);
        result.outcome = SlotOutcome::ReadFailed;
        LogReadFailure(operation, result.path);
        return;
    }
    if (operation.kind == SlotOperationKind::FileCalls) WriteEventLog(kUpdateOpened);
    Change(request, read, result);
    int written = result.change.write ? WriteChangedSlots(stream, read, result.change.slots, length < kSlotFileSize) : 0;
    int error = CloseAfterWriting(stream, written);
    if (error == 0) Finish(request, true, read, result);
    if (error != 0) {
        // A close that fails after good writes may still have changed the
        // file: F4's all or nothing puts the records read back.
        if (written == 0 && request.afterWrite) PutBack(result.path, read);
        result.outcome = SlotOutcome::WriteFailed;
        result.systemError = error > 0 ? error : 0;
        std::memcpy(result.change.slots, read, sizeof result.change.slots);
    }
    if (result.change.write) LogWrite(operation, result);
}

static void Begin(SlotResult& result) {
    result.outcome = SlotOutcome::Done;
    result.systemError = 0;
    result.path[0] = '\0';
    result.problem[0] = '\0';
    ApplySlotChange(kFreeSlots, SlotOperation{}, result.change);
}

void RunSlotTransaction(const SlotRequest& request, SlotResult& result) {
    Begin(result);
    for (int round = 0;; ++round) {
        if (!CopySettings(request, result.settings)) {
            result.outcome = SlotOutcome::PluginBusy;
            return;
        }
        if (!PhoneSlotPath(result.settings, result.path, sizeof result.path, result.problem,
                           sizeof result.problem)) {
            result.outcome = SlotOutcome::NotNamed;
            if (request.access == SlotAccess::Read) Publish(request, kFreeSlots);
            return;
        }
        StationLock lock = LockAcrossStations(result.path, request.waitMilliseconds);
        bool busy = lock.turn == StationTurn::Busy || lock.turn == StationTurn::BusyHere;
        // A view waits a moment for a write in progress, so that it holds
        // no half-written record; a longer hold (a frozen station) is not
        // waited for: the window shows the file as it reads.
        if (busy && request.access != SlotAccess::Read) {
            result.outcome = lock.turn == StationTurn::Busy ? SlotOutcome::StationBusy : SlotOutcome::BusyHere;
            return;
        }
        NoteStationLock(lock, result.path);
        NameNow name = NameInForce(request, result.settings);
        if (name == NameNow::InForce) WorkOnFile(request, result);
        UnlockAcrossStations(lock);
        if (name == NameNow::InForce) break;
        if (name == NameNow::Busy || round + 1 == kMostRounds) {
            result.outcome = SlotOutcome::PluginBusy;
            return;
        }
    }
    if (Publishes(request, result.outcome)) Publish(request, result.change.slots);
}
