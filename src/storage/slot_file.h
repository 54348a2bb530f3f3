// The slot file's own steps, shared by the loads and updates
// (phone_slots.cpp) and the saves (slot_saving.cpp): the path rule, the
// host's stream opening and one read of the whole file. The caller holds
// the plug-in's lock.
#pragma once

#include <cstddef>
#include <cstdio>

#include "storage/call_record.h"
#include "storage/storage_paths.h"

// The path rule. A name that does not fit is refused rather than cut, so
// that the slots never go to a different, shortened path; refusal then
// holds the reason.
bool BuildSlotPath(char* path, std::size_t capacity, char* refusal, std::size_t refusalSize);

// Other stations may read the slot file while it is open here, so the
// host opens it deny-none.
std::FILE* OpenSlotStream(const char* path, const char* mode);

enum class SlotFileRead { Read, Missing, Unreadable };
// Reads the file into image (ten slots), which is all zero unless the file
// was read; a shorter file leaves its missing slots free. A read error
// counts as unreadable: the image is then no picture of the file. path
// holds the path (empty when the name was refused), message the reason.
SlotFileRead ReadSlotFileInto(CallRecord* image, char (&path)[kPathCapacity], char* message,
                              std::size_t messageSize);
