// The values of the host's INI services: a read format names where each
// part of a stored value goes, a write format makes the stored text.
#pragma once

#include <cstdarg>
#include <string>
#include <string_view>
#include <vector>

namespace refhost {

// One conversion of a read format and the field its value goes to.
struct IniTarget {
    enum class Kind { Number, Text } kind;
    int size;        // Number: bytes of the field (2 or 4); Text: most characters stored
    void* address;
};

// The conversions of a read format, with their addresses taken from the
// argument list: "%d" (a number, stored at the width that numberWidths
// gives for it in order, 4 bytes beyond its end), "%hd" (2 bytes), "%ld"
// (4 bytes), "%Ns" and "%*s" (a text of at most N characters and its NUL,
// N from the format or from the argument list before the address). False
// with a reason for any other conversion.
bool CollectTargets(const char* format, va_list* arguments, const std::vector<int>& numberWidths,
                    std::vector<IniTarget>& targets, std::string& problem);

// Reads a stored value as the format describes it. Nothing is stored unless
// the whole value matches: a damaged value leaves every field as it was. A
// text runs to the format's next literal character (or the end) and is cut
// to its target's size; cut says so.
bool ScanIntoTargets(std::string_view value, const char* format, const std::vector<IniTarget>& targets,
                     std::string& problem, bool& cut);

// The stored text a write format gives for its arguments, kept on one line
// (line breaks become blanks).
std::string FormatValue(const char* format, va_list arguments);

}  // namespace refhost
