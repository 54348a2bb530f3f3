// PC keyboard codes as the host's windows and tables receive them (scan
// code in the high byte, character code in the low byte), and the names a
// person or a script gives them: "F5", "ESC", "Ctrl-G", "W", "0x3F00".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace refhost {

inline constexpr uint16_t kKeyEscape = 0x011B;
inline constexpr uint16_t kKeyF1 = 0x3B00;
inline constexpr uint16_t kKeyF12 = 0x8600;

// The host leaves a window by ESC with this id, and the plug-in's windows
// give their ESC button the same id.
inline constexpr uint16_t kEscapeCloseId = 0x5002;

// A key named as above; Ctrl-A to Ctrl-Z are the character codes 1 to 26,
// a single character is its own code, and a number is taken as the code.
std::optional<uint16_t> KeyFromName(std::string_view name);
// The name of a code for the console: "F5", "Ctrl-P", "'W'", or "0x4186".
std::string KeyName(uint16_t key);

// Whether a control's hotkey field catches the key: the same code, or the
// same letter when both are plain characters, whatever its case.
bool HotkeyCatches(uint16_t hotkey, uint16_t key);

}  // namespace refhost
