// Saving the slot file from the user-interface thread: the image (F5 of
// old) or the window's edits. The file is written to a sibling and renamed
// over the slot file, so a failed save leaves the old slots in place.
// Each attempt takes the lock and the other stations' lock on the slot
// file, makes the image (for the edits: the file read again), writes the
// sibling, renames once and lets go; another
// station's plug-in, a backup or an editor may hold the slot file open for
// a moment (Windows then refuses the rename), and the next attempt comes
// after a pause taken without the lock, with a fresh read.
#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "platform/platform.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "storage/slot_file.h"
#include "text/mazovia.h"

static constexpr int kRenameTries = 15;
static constexpr int kRenameRetryMilliseconds = 20;
static constexpr int kMessageBoxStyle = 1;
// A name longer than this is shown cut, with "..." behind it.
static constexpr std::size_t kShownNameLength = 255;

static constexpr auto kSaveOpenFailed = MZ(u8"Otwarcie pliku do zapisu: %s - blad otwarcia");
static constexpr auto kWriteFailed = MZ(u8"Blad zapisu pliku %s");
static constexpr auto kSaveNotDone =
    MZ(u8"Zapis pliku telefonów: %s - nie udał się, zmiany nie zostały zapisane");
static constexpr auto kSaveBusy =
    MZ(u8"Zapis pliku telefonów: %s - plik jest w tej chwili zajęty, zmiany nie zostały zapisane");
static constexpr auto kEditNotSaved = MZ(u8"Slot nr %d: zmiana z okna nie zapisana - w miedzyczasie nowe polaczenie");
static constexpr auto kEditedElsewhere =
    MZ(u8"Slot nr %d: zmiana z okna nie zapisana - w miedzyczasie zmieniony na innym stanowisku");

enum class Prepared { Write, Nothing, Failed };
// Makes the image one attempt writes; called under the lock.
using PrepareImage = Prepared (*)(CallRecord* image, void* context);

enum class Attempt { Done, RenameRefused, Busy, Failed };

// The slot file's name as a message shows it: whole up to 255 characters,
// longer ones cut visibly. The caller holds the lock.
static void NameForMessage(char* out, std::size_t size) {
    const char* name = g_settings.slotFileName[0] != '\0' ? g_settings.slotFileName : kDefaultSlotFileName;
    std::size_t length = strnlen(name, sizeof g_settings.slotFileName);
    if (length <= kShownNameLength)
        std::snprintf(out, size, "%.*s", static_cast<int>(length), name);
    else
        std::snprintf(out, size, "%.*s...", static_cast<int>(kShownNameLength - 3), name);
}

static Attempt WriteOnce(CallRecord* image, PrepareImage prepare, void* context, char* shownName,
                         std::size_t shownSize) {
    BoundedStateLock lock;
    if (!lock.held()) return Attempt::Busy;
    NameForMessage(shownName, shownSize);
    char path[kPathCapacity];
    char message[kMessageCapacity];
    if (!BuildSlotPath(path, sizeof path, message, sizeof message)) {
        WriteEventLog(message);
        return Attempt::Failed;
    }
    // Another station that is filing a call keeps the slot file: the
    // attempt is made again after the pause, as for a refused rename.
    StationFileLock stations(path, kUiLockWaitMilliseconds);
    if (stations.busy()) return Attempt::RenameRefused;
    Prepared prepared = prepare(image, context);
    if (prepared != Prepared::Write) return prepared == Prepared::Nothing ? Attempt::Done : Attempt::Failed;
    char temporary[kPathCapacity + 4];
    std::snprintf(temporary, sizeof temporary, "%s.tmp", path);
    FILE* stream = OpenSlotStream(temporary, "wb");
    if (!stream) {
        WriteEventLogF(kSaveOpenFailed, path);
        return Attempt::Failed;
    }
    bool written = CallHost<Host::WriteStream>(image, kSlotFileSize, 1, stream) == 1;
    bool closed = CallHost<Host::CloseStream>(stream) == 0;
    if (!written || !closed) {
        RemoveFile(temporary);
        WriteEventLogF(kWriteFailed, path);
        return Attempt::Failed;
    }
    if (RenameFileOver(temporary, path) != 0) {
        RemoveFile(temporary);   // the next attempt writes it anew
        return Attempt::RenameRefused;
    }
    std::memcpy(g_phoneSlots, image, kSlotFileSize);
    return Attempt::Done;
}

// The attempts, paused between without the lock; the result is the last
// attempt's, a rename refused every time counting as failed.
static Attempt WriteWithRetries(CallRecord* image, PrepareImage prepare, void* context, char* shownName,
                                std::size_t shownSize) {
    Attempt result = Attempt::Failed;
    for (int attempt = 1; attempt <= kRenameTries; ++attempt) {
        if (attempt > 1) SleepMilliseconds(kRenameRetryMilliseconds);
        result = WriteOnce(image, prepare, context, shownName, shownSize);
        if (result != Attempt::RenameRefused) return result;
    }
    WriteEventLogF(kWriteFailed, shownName);
    return Attempt::Failed;
}

static void ComposeFailure(Attempt result, const char* shownName, char* message, std::size_t size) {
    std::snprintf(message, size, result == Attempt::Busy ? kSaveBusy.c_str() : kSaveNotDone.c_str(),
                  shownName);
}

static Prepared CopyImage(CallRecord* image, void*) {
    std::memcpy(image, g_phoneSlots, kSlotFileSize);
    return Prepared::Write;
}

// The user is told when the save fails, whether or not the day log is
// kept; the box waits outside the lock.
void SavePhoneSlots() {
    CallRecord image[kSlotCount];
    char shownName[kPathCapacity] = "";
    Attempt result = WriteWithRetries(image, CopyImage, nullptr, shownName, sizeof shownName);
    if (result == Attempt::Done) return;
    char message[kMessageCapacity];
    ComposeFailure(result, shownName, message, sizeof message);
    CallHost<Host::AskUser>("uwaga", message, kMessageBoxStyle);
}

struct EditContext {
    const SlotEdits* edits;
    EditOutcome* outcome;
};

// A call is known by when it came and what the box said of it: the
// window edits only the phone and the target, so a slot whose date, time
// and text are those the row was shown from holds the same call, changed
// at another station; a slot cleared there counts as changed there too.
static EditConflict ConflictOf(const CallRecord& now, const CallRecord& shown) {
    if (std::memcmp(&now, &shown, sizeof now) == 0) return EditConflict::None;
    if (now.target[0] == '\0') return EditConflict::EditedElsewhere;
    bool sameCall = std::memcmp(now.date, shown.date, sizeof now.date) == 0 &&
                    std::memcmp(now.time, shown.time, sizeof now.time) == 0 &&
                    std::memcmp(now.text, shown.text, sizeof now.text) == 0;
    return sameCall ? EditConflict::EditedElsewhere : EditConflict::NewCall;
}

// The file as it is now, with each edit whose slot still holds the call
// its row was shown from. A file that cannot be read is never written
// over: its image would be empty.
static Prepared MergeEdits(CallRecord* image, void* context) {
    const EditContext& merge = *static_cast<EditContext*>(context);
    char path[kPathCapacity];
    char message[kMessageCapacity];
    if (ReadSlotFileInto(image, path, message, sizeof message) == SlotFileRead::Unreadable) {
        WriteEventLog(message);
        return Prepared::Failed;
    }
    bool any = false;
    for (int k = 0; k < kSlotCount; ++k) {
        merge.outcome->conflict[k] = EditConflict::None;
        if (!merge.edits->edited[k]) continue;
        EditConflict conflict = ConflictOf(image[k], merge.edits->shownFrom[k]);
        if (conflict != EditConflict::None) {
            merge.outcome->conflict[k] = conflict;
            WriteEventLogF(conflict == EditConflict::NewCall ? kEditNotSaved.c_str() : kEditedElsewhere.c_str(), k);
            continue;
        }
        image[k] = merge.edits->wanted[k];
        any = true;
    }
    return any ? Prepared::Write : Prepared::Nothing;
}

EditSave SaveSlotEdits(const SlotEdits& edits, EditOutcome& outcome) {
    std::memset(&outcome, 0, sizeof outcome);
    EditContext context{&edits, &outcome};
    char shownName[kPathCapacity] = "";
    Attempt result = WriteWithRetries(outcome.slots, MergeEdits, &context, shownName, sizeof shownName);
    if (result == Attempt::Done) return EditSave::Saved;
    ComposeFailure(result, shownName, outcome.message, sizeof outcome.message);
    return result == Attempt::Busy ? EditSave::Busy : EditSave::Failed;
}
