// The two hooks into the host's contractor search: the handler of table 35
// and the events of host window 0x73.
#pragma once

#include "platform/platform.h"

int HookContractorTable(bool install);
int HOSTAPI SearchWindowHook(int id, int event);
