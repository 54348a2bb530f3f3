// The slot file's own steps, for the one transaction that every operation
// on the file goes through (slot_transaction.cpp): the path rule, the
// host's stream opening, one read of the whole file, the open for update
// that never empties a file, and the write of the records that changed.
// None of them takes a lock.
#pragma once

#include <cstddef>
#include <cstdio>

#include "platform/platform.h"
#include "storage/call_record.h"
#include "storage/storage_paths.h"

// The path rule, for the slot file name of the settings (empty: the
// default). A name that does not fit is refused rather than cut, so that
// the slots never go to a different, shortened path; refusal then holds
// the reason. It makes the directories leading to the file, so the caller
// holds no lock.
bool BuildSlotPath(const char* name, char* path, std::size_t capacity, char* refusal, std::size_t refusalSize);

// Other stations may read the slot file while it is open here, so the
// host opens it deny-none.
std::FILE* OpenSlotStream(const char* path, const char* mode);

// Reads the file at path into image (ten slots) through the host's block
// read, as the host expects of the window's loads; image is all zero
// unless the file was read, and a shorter file leaves its missing slots
// free. message holds the reason when it could not be read.
void ReadSlotFileAt(const char* path, CallRecord* image, char* message, std::size_t messageSize);

// The file opened for reading and writing in place, unbuffered, so that
// each record goes out in one write of the system. A file that is not
// there is made by a create that fails where one exists, so that a share's
// stale "not found" cannot make an existing file empty; an existing file
// that cannot be opened is left as it is. nullptr then, and *systemError
// holds the system's code.
std::FILE* OpenSlotFileForUpdate(const char* path, bool& created, int* systemError);

// Reads the whole file from the open stream into image; false on a read
// error (image then all zero). *length is the number of bytes read.
bool ReadOpenSlotFile(std::FILE* stream, CallRecord* image, long* length);

// Writes over the file, in place, the records of after that differ from
// before (all of them when whole, for a file shorter than ten slots),
// each whole in one write at its offset: a station killed between two
// writes leaves every record old or new, never a mix of two calls.
// Should a write fail, the records of before are written back, so that
// the file keeps what it held as far as the system lets it; the result is
// then the system's code (-1 when it gave none), else 0. The stream stays
// open.
int WriteChangedSlots(std::FILE* stream, const CallRecord* before, const CallRecord* after, bool whole);
// Closes the stream after WriteChangedSlots: its result, or the close's
// failure when the writes went well (the bytes may not have reached the
// file then).
int CloseAfterWriting(std::FILE* stream, int writeResult);
// The day log line with a system's code, when there is one (above 0).
void LogSystemError(int error);
