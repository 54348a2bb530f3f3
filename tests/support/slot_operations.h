// The slot operations in the shapes the tests use: one call filed with
// the listener's entry point and a long wait, the image saved over the
// file as a whole, a load without a view and the slot file name set
// directly. The plug-in itself has none of them; each is a few lines
// over the plug-in's own entry points.
#pragma once

#include "storage/call_record.h"

// Files one call, waiting up to 2 s for another station's hold.
void UpdatePhoneSlots(const CallRecord& record);
// The slot file's path from the settings in force; non-zero (and path
// empty) when the name is refused or the plug-in's lock stayed busy.
int PhoneSlotPath(char* path, int capacity);
// One view taken, its problem shown in a "uwaga" box when showMessages.
bool LoadPhoneSlots(bool showMessages);
// The image written over the file where it differs from it; a save not
// done is shown in a "uwaga" box.
void SavePhoneSlots();
// The settings' slot file name, cut to the field; false when the
// plug-in's lock stayed busy.
bool SetSlotFileName(const char* name);
