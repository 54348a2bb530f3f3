// The host's contractor table (table 35) and its window 0x73, as far as the
// plug-in reaches them: the table descriptor with its record size and
// handler, and the handler record of a hooked window.
#pragma once

#include <cstdint>

#include "host/imports.h"

namespace refhost {

inline constexpr int kDescriptorRecordSizeOffset = 6;
inline constexpr int kDescriptorHandlerOffset = 104;

// The table descriptor, laid out as the plug-in reads it.
struct alignas(8) TableDescriptor {
    unsigned char bytes[kDescriptorHandlerOffset + 8];
};

TableDescriptor* ContractorTable();   // null when the host has no table 35
TableHandler ContractorTableHandler();

// Events of window 0x73 go through whatever procedure is hooked on it.
struct WindowHandlerRecord {
    WindowProcedure handler;   // the procedure a hook passes events on to
};
WindowProcedure HookedProcedure(int window);   // null when none is hooked
WindowHandlerRecord* HandlerRecord(int window);

}  // namespace refhost
