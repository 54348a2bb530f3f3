// The slot operations as the user-interface thread uses them: storage
// returns what happened, and this layer tells the user.
#pragma once

#include "storage/phone_slots.h"

// One view of the slots and the settings (TakeSlotView), its problem shown
// in a "uwaga" box when showMessages. False when the plug-in's lock stayed
// busy.
bool LoadPhoneSlots(SlotView& view, bool showMessages);
// The view's problem in a "uwaga" box, when there is one.
void ShowSlotProblem(const SlotView& view);
