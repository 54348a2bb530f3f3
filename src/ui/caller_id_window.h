// The caller-ID window: the ten slots, the options, the port and the slot
// file, run by the host from the window description.
#pragma once

#include "platform/platform.h"
#include "storage/phone_slots.h"
#include "ui/window_description.h"

extern WindowData g_windowData;

// Fills the window data record from one view of the settings and the slots.
void FillWindowData(const SlotView& view);
int HOSTAPI CallerIdWindowProc(int id, int event);
void UDPSetup();

// The NIP of the selected row of the window data record (empty when the
// selected slot is out of range).
const char* SelectedNip();
