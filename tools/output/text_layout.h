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

// Every line of the text kept within kTableWidth characters: a longer
// line is broken at blanks, its further lines indented as far as the line
// itself (hanging, to the text after a leading "WORD   " of capitals and
// blanks, as doctor's verdicts are laid out). What the tool prints passes
// through it, so that no line of any command fills an 80-column console.
std::string FittedToWidth(std::string_view utf8);

// A command line for the Windows command prompt within kTableWidth
// columns: broken at blanks outside quotes, each line but the last ending
// in " ^" (the prompt's continuation), so that it still runs pasted whole.
// The first line starts with indent blanks, the others with two more.
std::string CommandWrapped(std::string_view command, std::size_t indent);

// The text without its trailing blanks.
std::string TrimmedRight(std::string text);
