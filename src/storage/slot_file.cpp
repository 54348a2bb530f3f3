// The slot file's own steps: the path rule, opening, reading, the open for
// update that never empties a file, and the in-place write of the records
// that changed, with the old records written back when a write fails.
// Writing in place rather than renaming a new file over the old one keeps
// saves working on Windows while other stations, the toolkit, a backup or
// a virus scanner have the file open: Windows refuses a rename over a file
// that anyone has open, but lets a writer in where the readers share
// writing, as every reader of this file does.
#include "storage/slot_file.h"

#include <cstring>

#include "host/imports.h"
#include "storage/day_log.h"
#include "storage/settings.h"
#include "text/mazovia.h"

// Other stations may read the slot file while it is open here, so the
// host opens it deny-none (0x40 in the runtime's numbering of sharing).
static constexpr int kShareDenyNone = 0x40;
static constexpr long kRecordSize = static_cast<long>(sizeof(CallRecord));

static constexpr auto kNameTooLong = MZ(u8"Nazwa pliku telefonow za dluga: %d znakow (najwyzej 255)");
static constexpr auto kLoadMissing = MZ(u8"Otwarcie pliku do odczytu: %s - brak pliku");
static constexpr auto kLoadOpenFailed = MZ(u8"Otwarcie pliku do odczytu: %s - blad otwarcia");
static constexpr auto kSystemError = MZ(u8"Kod błędu systemu: %d");

std::FILE* OpenSlotStream(const char* path, const char* mode) {
    return CallHost<Host::OpenStream>(path, mode, kShareDenyNone, 0, -1);
}

bool BuildSlotPath(const char* name, char* path, std::size_t capacity, char* refusal, std::size_t refusalSize) {
    std::size_t length = strnlen(name, sizeof(Settings::slotFileName));
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

bool ReadOpenSlotFile(std::FILE* stream, CallRecord* image, long* length) {
    std::memset(image, 0, kSlotFileSize);
    *length = ReadFileStream(stream, image, kSlotFileSize);
    if (*length >= 0) return true;
    std::memset(image, 0, kSlotFileSize);
    return false;
}

void ReadSlotFileAt(const char* path, CallRecord* image, char* message, std::size_t messageSize) {
    std::memset(image, 0, kSlotFileSize);
    if (!FileExists(path)) {
        std::snprintf(message, messageSize, kLoadMissing, path);
        return;
    }
    std::FILE* stream = OpenSlotStream(path, "rb");
    if (!stream) {
        std::snprintf(message, messageSize, kLoadOpenFailed, path);
        return;
    }
    NoteFileWork("a read of the slot file");
    CallHost<Host::ReadStream>(image, kSlotFileSize, 1, stream);
    CallHost<Host::CloseStream>(stream);
}

static std::FILE* OpenForUpdate(const char* path, bool& created, int* systemError) {
    created = false;
    *systemError = 0;
    ClearSystemError();
    if (std::FILE* stream = OpenSlotStream(path, "rb+")) return stream;
    *systemError = LastSystemError();
    if (FileExists(path)) return nullptr;
    int made = CreateNewFile(path);
    if (made < 0) {
        *systemError = LastSystemError();
        return nullptr;
    }
    created = made == kFileCreated;
    ClearSystemError();
    std::FILE* stream = OpenSlotStream(path, "rb+");
    if (stream) return stream;
    *systemError = LastSystemError();
    if (created) RemoveFile(path);   // the empty file made here, and nothing else
    created = false;
    return nullptr;
}

std::FILE* OpenSlotFileForUpdate(const char* path, bool& created, int* systemError) {
    std::FILE* stream = OpenForUpdate(path, created, systemError);
    if (stream) UnbufferFileStream(stream);
    return stream;
}

// Writes record k of image at its place, in one write, and hands it to
// the system.
static bool WriteRecord(std::FILE* stream, const CallRecord* image, int k) {
    return SeekFileStream(stream, k * kRecordSize) == 0 && WriteFileStream(stream, &image[k], sizeof(CallRecord)) == 0 &&
           FlushFileStream(stream) == 0;
}

static bool Differs(const CallRecord* before, const CallRecord* after, int k) {
    return std::memcmp(&before[k], &after[k], sizeof(CallRecord)) != 0;
}

int WriteChangedSlots(std::FILE* stream, const CallRecord* before, const CallRecord* after, bool whole) {
    ClearSystemError();
    for (int k = 0; k < kSlotCount; ++k) {
        if (!whole && !Differs(before, after, k)) continue;
        if (WriteRecord(stream, after, k)) continue;
        int error = LastSystemError();
        for (int back = 0; back <= k; ++back)
            if (whole || Differs(before, after, back)) WriteRecord(stream, before, back);
        return error != 0 ? error : -1;
    }
    return 0;
}

int CloseAfterWriting(std::FILE* stream, int writeResult) {
    ClearSystemError();
    if (CloseFileStream(stream) == 0 || writeResult != 0) return writeResult;
    return LastSystemError() != 0 ? LastSystemError() : -1;
}

void LogSystemError(int error) {
    if (error > 0) WriteEventLogF(kSystemError, error);
}
