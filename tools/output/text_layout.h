// Laying out UTF-8 text in a terminal's columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Control characters would break a listing's lines: they become blanks.
std::string OnOneLine(std::string text);

// Control characters shown as escapes (\t, \r, \xHH), so that a quoted
// datagram keeps its tabs visible on one line.
std::string Escaped(std::string_view text);

// The text followed by blanks up to width characters (not bytes); a
// longer text is left whole.
std::string Padded(std::string_view utf8, std::size_t width);

// Tables keep within this many columns: a console 80 wide wraps a line
// that fills its last column before the line end comes (Windows' does),
// which would leave a blank line under every row.
inline constexpr std::size_t kTableWidth = 79;

// The text as lines of at most kTableWidth characters, each starting with
// indent blanks (the first with firstIndent) and ending with '\n', broken
// at blanks (a word longer than a line is cut); an empty text gives an
// empty line.
std::string Wrapped(std::string_view utf8, std::size_t indent, std::size_t firstIndent);
inline std::string Wrapped(std::string_view utf8, std::size_t indent) { return Wrapped(utf8, indent, indent); }

// The text without its trailing blanks.
std::string TrimmedRight(std::string text);
