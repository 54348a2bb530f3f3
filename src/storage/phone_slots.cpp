// The phone-slot file: ten raw call records, 5620 bytes, one slot per
// target. The file is the authority; every load and update rebuilds the
// image from it. The listener thread updates it while the user-interface
// thread loads it, so every operation holds the plug-in's lock from
// building the path to closing the file; the saves are in slot_saving.cpp.
#include "storage/phone_slots.h"

#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "storage/day_log.h"
#include "storage/settings.h"
#include "storage/slot_file.h"
#include "storage/storage_paths.h"
#include "text/mazovia.h"

CallRecord g_phoneSlots[kSlotCount];

static_assert(sizeof g_phoneSlots == kSlotFileSize);

// Other stations may read the slot file while it is open here, so the
// host opens it deny-none (0x40 in the runtime's numbering of sharing).
static constexpr int kShareDenyNone = 0x40;
// The host's plain message box with one button.
static constexpr int kMessageBoxStyle = 1;

static constexpr auto kNameTooLong = MZ(u8"Nazwa pliku telefonow za dluga: %d znakow (najwyzej 255)");
static constexpr auto kLoadMissing = MZ(u8"Otwarcie pliku do odczytu: %s - brak pliku");
static constexpr auto kLoadOpenFailed = MZ(u8"Otwarcie pliku do odczytu: %s - blad otwarcia");
static constexpr auto kUpdateOpenFailed = MZ(u8"Blad otwarcia pliku telefonow (aktualizacja - zapis)");
static constexpr auto kUpdateOpened = MZ(u8"Otwarto plik telefonow (aktualizacja - zapis)");
static constexpr auto kSlotCleared = MZ(u8"Slot nr %d zostal wyczyszczony");
static constexpr auto kSlotReplaced = MZ(u8"Slot nr %d wpisanie telefonu: %s - > %s");
static constexpr auto kSlotAdded = MZ(u8"Slot nr %d wpisanie NOWEGO telefonu: %s - > %s");
static constexpr auto kNoFreeSlot = MZ(u8"Brak wolnych slotów na wpisanie telefonu: %s - > %s");
static constexpr auto kSaved = MZ(u8"Zapisano informacje do pliku %s");
static constexpr auto kWriteFailed = MZ(u8"Blad zapisu pliku %s");
static constexpr auto kReadFailed = MZ(u8"Blad odczytu pliku %s");
static constexpr int kStationWaitMilliseconds = 2000;
static constexpr auto kBusy = MZ(u8"Plik telefonów jest w tej chwili zajęty - spróbuj ponownie");

std::FILE* OpenSlotStream(const char* path, const char* mode) {
    return CallHost<Host::OpenStream>(path, mode, kShareDenyNone, 0, -1);
}

bool BuildSlotPath(char* path, std::size_t capacity, char* refusal, std::size_t refusalSize) {
    const char* name = g_settings.slotFileName;
    std::size_t length = strnlen(name, sizeof g_settings.slotFileName);
    const bool ownName = length > 0;
    if (!ownName) {
        name = kDefaultSlotFileName;
        length = sizeof kDefaultSlotFileName - 1;
    }
    if (capacity > 0) path[0] = '\0';
    if (length > kLongestSlotFileName || length >= capacity) {
        std::snprintf(refusal, refusalSize, kNameTooLong, static_cast<int>(length));
        return false;
    }
    std::memcpy(path, name, length);
    path[length] = '\0';
    CallHost<Host::MakeDirectories>(ownName ? path : kLogDirectory);
    return true;
}

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

SlotFileRead ReadSlotFileInto(CallRecord* image, char (&path)[kPathCapacity], char* message,
                              std::size_t messageSize) {
    std::memset(image, 0, kSlotFileSize);
    if (!BuildSlotPath(path, sizeof path, message, messageSize)) return SlotFileRead::Unreadable;
    if (!FileExists(path)) {
        std::snprintf(message, messageSize, kLoadMissing, path);
        return SlotFileRead::Missing;
    }
    FILE* stream = OpenSlotStream(path, "rb");
    if (!stream) {
        std::snprintf(message, messageSize, kLoadOpenFailed, path);
        return SlotFileRead::Unreadable;
    }
    long read = ReadFileStream(stream, image, kSlotFileSize);
    CloseFileStream(stream);
    if (read < 0) {
        std::memset(image, 0, kSlotFileSize);
        std::snprintf(message, messageSize, kReadFailed, path);
        return SlotFileRead::Unreadable;
    }
    return SlotFileRead::Read;
}

// Reads the file into the image, which is left all zero when it cannot be
// read; a reason for the user lands in message. The window's loads go
// through the host's block read, as the host expects of them.
static void ReadSlotFile(char* message, std::size_t messageSize) {
    char path[kPathCapacity];
    std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
    if (!BuildSlotPath(path, sizeof path, message, messageSize)) return;
    if (!FileExists(path)) {
        std::snprintf(message, messageSize, kLoadMissing, path);
        return;
    }
    FILE* stream = OpenSlotStream(path, "rb");
    if (!stream) {
        std::snprintf(message, messageSize, kLoadOpenFailed, path);
        return;
    }
    // A shorter file leaves the rest of the image zero: its missing slots are free.
    CallHost<Host::ReadStream>(g_phoneSlots, kSlotFileSize, 1, stream);
    CallHost<Host::CloseStream>(stream);
}

static void ShowMessage(const char* message) {
    CallHost<Host::AskUser>("uwaga", message, kMessageBoxStyle);
}

// The message box waits for the user outside the lock: the listener must
// not wait with it.
bool TakeSlotView(SlotView& view) {
    view.problem[0] = '\0';
    {
        BoundedStateLock lock;
        if (!lock.held()) {
            std::snprintf(view.problem, sizeof view.problem, "%s", kBusy.c_str());
            return false;
        }
        ReadSlotFile(view.problem, sizeof view.problem);
        if (view.problem[0] != '\0') WriteEventLog(view.problem);
        std::memcpy(view.slots, g_phoneSlots, sizeof view.slots);
        view.settings = g_settings;
    }
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
static bool MergeIntoImage(const CallRecord& record) {
    const RecordNames names = NamesOf(record);
    bool found = false;
    bool changed = false;
    int freeIndex = -1;
    for (int index = 0; index < kSlotCount; ++index) {
        CallRecord& slot = g_phoneSlots[index];
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
    g_phoneSlots[freeIndex] = record;
    WriteEventLogF(kSlotAdded, freeIndex, names.phone, names.target);
    return true;
}

// Opens the slot file for update. Only a file that does not exist is
// created: an existing file that cannot be opened is left as it is rather
// than emptied by a "wb" open.
static FILE* OpenForUpdate(const char* path, bool& created) {
    created = false;
    if (FILE* stream = OpenSlotStream(path, "rb+")) return stream;
    if (FileExists(path)) return nullptr;
    created = true;
    return OpenSlotStream(path, "wb");
}

// Writes the whole image over the file from its start; 0 when the write,
// the positioning and the close all succeeded. The stream is closed in
// every case.
static int WriteImageAndClose(FILE* stream) {
    bool written = RewindFileStream(stream) == 0 &&
                   WriteFileStream(stream, g_phoneSlots, sizeof g_phoneSlots) == 0;
    bool closed = CloseFileStream(stream) == 0;
    return written && closed ? 0 : -1;
}

void UpdatePhoneSlots(const CallRecord& incoming) {
    SharedStateLock lock;
    // A copy, because the image is cleared below and the caller may have
    // handed in one of its slots.
    const CallRecord record = incoming;
    char path[kPathCapacity];
    char message[kMessageCapacity];
    std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
    if (!BuildSlotPath(path, sizeof path, message, sizeof message)) {
        WriteEventLog(message);
        return;
    }
    // Another station's save or update goes first; one that keeps the slot
    // file longer than this is not waited for, so that the call is filed.
    StationFileLock stations(path, kStationWaitMilliseconds);
    bool created = false;
    FILE* stream = OpenForUpdate(path, created);
    if (!stream) {
        WriteEventLog(kUpdateOpenFailed);
        return;
    }
    // A read error must not turn into a write of a half-empty image over
    // the slots; a short file simply leaves its missing slots free.
    if (!created && ReadFileStream(stream, g_phoneSlots, sizeof g_phoneSlots) < 0) {
        CloseFileStream(stream);
        std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
        WriteEventLogF(kReadFailed, path);
        return;
    }
    WriteEventLog(kUpdateOpened);
    if (!MergeIntoImage(record)) {
        CloseFileStream(stream);
        return;
    }
    WriteEventLogF(WriteImageAndClose(stream) == 0 ? kSaved.c_str() : kWriteFailed.c_str(), path);
}
