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
