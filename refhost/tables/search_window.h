// The host's contractor search window (window 0x73): a NIP input (0x4101)
// and the search button (0x4009). Its events go through the procedure
// hooked on window 0x73, if any, and on to the host's own.
#pragma once

#include <cstdint>

#include "host/imports.h"

namespace refhost {

inline constexpr uint16_t kSearchWindowId = 0x73;
inline constexpr uint16_t kSearchNipInputId = 0x4101;
inline constexpr uint16_t kSearchButtonId = 0x4009;

// Runs the window until it closes; returns the closing control's id.
int OpenSearchWindow();
// The host's own procedure for the window, which a hook passes events on to.
int HOSTAPI SearchWindowOwnProcedure(int id, int event);

}  // namespace refhost
