// Texts on their way to the terminal. Every character the host draws takes
// one cell, so a text is handled as a list of cells, each the UTF-8 bytes
// of one character. A terminal whose locale is not UTF-8 gets the Polish
// letters without their marks and '?' for anything else beyond ASCII.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace refhost::screen {

// The characters of a UTF-8 text, one string each.
std::vector<std::string> Utf8Cells(std::string_view utf8);

// A control character (C0, DEL or C1): a terminal would act on it rather
// than show it, so the screens draw '?' in its place.
bool IsControlCell(std::string_view utf8Cell);

// One cell as a terminal that cannot show UTF-8 draws it.
std::string AsciiCell(std::string_view utf8Cell);

// The UTF-8 text of one Mazovia byte.
std::string MazoviaCell(char byte);

// Typed characters (UTF-8) in Mazovia; false when one has no Mazovia byte.
bool TypedToMazovia(std::string_view utf8, std::string& mazovia);

}  // namespace refhost::screen
