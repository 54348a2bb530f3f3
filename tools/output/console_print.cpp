// The commands' printf: formatted here, kept within 79 columns, written by
// the system's WriteText.
#include <cstdarg>
#include <cstdio>
#include <string>

#include "output/text_layout.h"
#include "system/station.h"

std::string FormattedText(const char* format, va_list arguments) {
    va_list copy;
    va_copy(copy, arguments);
    int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, arguments);
    return text;
}

void Print(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteText(stdout, FittedToWidth(FormattedText(format, arguments)));
    va_end(arguments);
}

void PrintAsIs(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteText(stdout, FormattedText(format, arguments));
    va_end(arguments);
}

void PrintTo(std::FILE* stream, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    WriteText(stream, FittedToWidth(FormattedText(format, arguments)));
    va_end(arguments);
}
