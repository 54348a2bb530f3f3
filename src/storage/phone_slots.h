// The ten phone slots: the slot file and its image in memory.
#pragma once

#include "storage/call_record.h"

inline constexpr int kSlotCount = 10;
inline constexpr int kSlotFileSize = kSlotCount * static_cast<int>(sizeof(CallRecord));
static_assert(kSlotFileSize == 5620);

// The image of the slot file. The listener thread and the user-interface
// thread both use it: hold SharedStateLock while reading or editing it.
extern CallRecord g_phoneSlots[kSlotCount];

// Fills path (capacity bytes) with the slot file's path and has the
// directories leading to it made. A slot file name longer than 255
// characters is refused with an event line: path is then empty and the
// result is non-zero.
int PhoneSlotPath(char* path, int capacity);
void LoadPhoneSlots(bool showMessages);
void SavePhoneSlots();
void UpdatePhoneSlots(const CallRecord& record);
