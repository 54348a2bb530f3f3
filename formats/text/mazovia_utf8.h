// Mazovia bytes to UTF-8 and back, for showing the plug-in's texts on a
// terminal and for typing Polish text into its windows; shared by the
// reference host and the callerid tool.
#pragma once

#include <string>
#include <string_view>

namespace refhost {

std::string MazoviaToUtf8(std::string_view mazovia);
// The Unicode code point of one Mazovia byte.
char16_t MazoviaCodePoint(unsigned char byte);
// Letters without a Mazovia byte become '?'.
std::string Utf8ToMazovia(std::string_view utf8);
// The characters of utf8 that have no Mazovia byte, each once, in the order
// they come; empty when the whole text converts.
std::string Utf8NotInMazovia(std::string_view utf8);
// The UTF-8 bytes of one character.
std::string Utf8Of(char32_t character);

}  // namespace refhost
