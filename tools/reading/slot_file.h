// The phone-slot file as the plug-in writes it: ten records of 562 bytes,
// each with its text, phone, target, date and time as NUL-ended fields of
// fixed size. The slots command and the doctor read it the same way.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "storage/call_record.h"

// The layout is the plug-in's own (storage/call_record.h); the sizes as
// the tool's messages print them.
inline constexpr std::size_t kSlotRecordSize = sizeof(CallRecord), kSlotRecords = kSlotCount,
                             kSlotFileBytes = kSlotFileSize;

struct SlotRecord {
    bool free = true;                                // all bytes zero
    std::string text, phone, target, date, time;     // Mazovia, each up to its NUL
};

struct SlotFile {
    std::size_t size = 0;
    std::vector<SlotRecord> slots;   // the whole records the file holds, at most ten
    int fieldWithoutEnd = -1;        // the first slot (0-9) with a field that has no NUL; -1 when none
    bool rightSize() const { return size == kSlotFileSize; }
};

SlotFile ReadSlotRecords(const std::string& bytes);
