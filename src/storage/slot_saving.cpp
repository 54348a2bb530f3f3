// Saving the slot file from the user-interface thread: the image (F5 of
// old) or the window's edits. A save takes the other stations' lock for at
// most 100 ms, without the plug-in's lock held, reads the file again under
// it, makes the image (for the edits: the file with each edit whose slot
// still holds the call it was shown from) and writes the slots that
// changed in place (slot_file.cpp), writing the old ones back should the
// system refuse a write. Nothing is left behind for the next attempt to
// trip over, and readers that share writing do not stop it.
#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "platform/platform.h"
#include "storage/day_log.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "storage/slot_file.h"
#include "text/mazovia.h"

static constexpr int kMessageBoxStyle = 1;
// A name longer than this is shown cut, with "..." behind it.
static constexpr std::size_t kShownNameLength = 255;

static constexpr auto kSaveOpenFailed = MZ(u8"Otwarcie pliku do zapisu: %s - blad otwarcia");
static constexpr auto kWriteFailed = MZ(u8"Blad zapisu pliku %s");
static constexpr auto kSaveNotDone =
    MZ(u8"Zapis pliku telefonów: %s - nie udał się, zmiany nie zostały zapisane");
static constexpr auto kSaveBusy =
    MZ(u8"Zapis pliku telefonów: %s - plik jest w tej chwili zajęty, zmiany nie zostały zapisane");
static constexpr auto kSaveStationBusy =
    MZ(u8"Zapis pliku telefonów: %s - inne stanowisko zapisuje właśnie ten plik; zmiany zostały w oknie, "
       u8"zapisz je ponownie (F5) za chwilę");
static constexpr auto kSaveRefusedByHolder =
    MZ(u8"Zapis pliku telefonów: %s - inny program ma ten plik otwarty i nie pozwala na zapis; "
       u8"zmiany zostały w oknie, zapisz je ponownie (F5), gdy program go zwolni");
static constexpr auto kEditNotSaved = MZ(u8"Slot nr %d: zmiana z okna nie zapisana - w miedzyczasie nowe polaczenie");
static constexpr auto kEditedElsewhere =
    MZ(u8"Slot nr %d: zmiana z okna nie zapisana - w miedzyczasie zmieniony na innym stanowisku");

enum class Prepared { Write, Nothing, Failed };
// Makes the image a save writes from the file as read under the lock.
using PrepareImage = Prepared (*)(CallRecord* image, void* context);

enum class Attempt { Done, Busy, StationBusy, RefusedByHolder, Failed };

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

// The path and the name shown, in a bounded hold of the plug-in's lock.
static Attempt TakePath(char (&path)[kPathCapacity], char* shownName, std::size_t shownSize) {
    BoundedStateLock lock;
    if (!lock.held()) return Attempt::Busy;
    NameForMessage(shownName, shownSize);
    char message[kMessageCapacity];
    if (BuildSlotPath(path, sizeof path, message, sizeof message)) return Attempt::Done;
    WriteEventLog(message);
    return Attempt::Failed;
}

static Attempt OpenFailure(const char* path, int error) {
    WriteEventLogF(kSaveOpenFailed, path);
    LogSystemError(error);
    return IsSharingRefusal(error) ? Attempt::RefusedByHolder : Attempt::Failed;
}

// Read, prepare, write in place; the caller holds the stations' lock, or
// the plug-in's where there is none. image ends as the file holds it.
static Attempt WriteUnderLock(const char* path, CallRecord* image, PrepareImage prepare, void* context) {
    bool created = false;
    int error = 0;
    std::FILE* stream = OpenSlotFileForUpdate(path, created, &error);
    if (!stream) return OpenFailure(path, error);
    CallRecord before[kSlotCount];
    long length = 0;
    if (!ReadOpenSlotFile(stream, before, &length)) {
        CloseFileStream(stream);
        WriteEventLogF(kWriteFailed, path);
        return Attempt::Failed;
    }
    std::memcpy(image, before, kSlotFileSize);
    Prepared prepared = prepare(image, context);
    if (prepared != Prepared::Write) {
        CloseFileStream(stream);
        return prepared == Prepared::Nothing ? Attempt::Done : Attempt::Failed;
    }
    error = CloseAfterWriting(stream, WriteChangedSlots(stream, before, image, length < kSlotFileSize));
    if (error == 0) return Attempt::Done;
    WriteEventLogF(kWriteFailed, path);
    LogSystemError(error);
    std::memcpy(image, before, kSlotFileSize);
    return Attempt::Failed;
}

// One save, answered within about 200 ms whatever another station does.
static Attempt WriteOnce(CallRecord* image, PrepareImage prepare, void* context, char* shownName,
                         std::size_t shownSize) {
    char path[kPathCapacity];
    Attempt named = TakePath(path, shownName, shownSize);
    if (named != Attempt::Done) return named;
    Attempt result;
    {
        StationFileLock stations(path, kUiLockWaitMilliseconds);
        if (stations.busy()) return ThisStationIsFiling() ? Attempt::Busy : Attempt::StationBusy;
        if (stations.covered()) {
            result = WriteUnderLock(path, image, prepare, context);
        } else {
            BoundedStateLock lock;
            if (!lock.held()) return Attempt::Busy;
            result = WriteUnderLock(path, image, prepare, context);
        }
    }
    if (result == Attempt::Done) {
        BoundedStateLock lock;
        if (lock.held()) std::memcpy(g_phoneSlots, image, kSlotFileSize);
    }
    return result;
}

static void ComposeFailure(Attempt result, const char* shownName, char* message, std::size_t size) {
    const char* format = kSaveNotDone.c_str();
    if (result == Attempt::Busy) format = kSaveBusy.c_str();
    if (result == Attempt::StationBusy) format = kSaveStationBusy.c_str();
    if (result == Attempt::RefusedByHolder) format = kSaveRefusedByHolder.c_str();
    std::snprintf(message, size, format, shownName);
}

// The image as it was when F5 was pressed wins over the file.
static Prepared CopyImage(CallRecord* image, void* context) {
    std::memcpy(image, context, kSlotFileSize);
    return Prepared::Write;
}

// The user is told when the save fails, whether or not the day log is
// kept; the box waits outside the lock.
void SavePhoneSlots() {
    CallRecord wanted[kSlotCount];
    CallRecord image[kSlotCount];
    char shownName[kPathCapacity] = "";
    Attempt result = Attempt::Busy;
    {
        BoundedStateLock lock;
        if (lock.held()) {
            std::memcpy(wanted, g_phoneSlots, sizeof wanted);
            NameForMessage(shownName, sizeof shownName);
        }
    }
    if (shownName[0] != '\0') result = WriteOnce(image, CopyImage, wanted, shownName, sizeof shownName);
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
// its row was shown from.
static Prepared MergeEdits(CallRecord* image, void* context) {
    const EditContext& merge = *static_cast<EditContext*>(context);
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
    Attempt result = WriteOnce(outcome.slots, MergeEdits, &context, shownName, sizeof shownName);
    if (result == Attempt::Done) return EditSave::Saved;
    ComposeFailure(result, shownName, outcome.message, sizeof outcome.message);
    return result == Attempt::Busy || result == Attempt::StationBusy ? EditSave::Busy : EditSave::Failed;
}
