// Text that came from the wire, made safe for a line of a file or a
// terminal: every control byte but the tab (which separates a datagram's
// fields) becomes a blank. Plain and without the heap, for the plug-in as
// well as for the tool and the reference host.
#pragma once

#include <cstddef>

// The bytes a line must not carry: line ends, escapes, the rest of the
// C0 controls, and DEL.
inline bool IsLineBreakingByte(unsigned char byte) { return (byte < 0x20 && byte != '\t') || byte == 0x7F; }

// Blanks every such byte in place in the first length bytes; the result is
// how many were blanked.
inline int MakeOneLine(char* text, std::size_t length) {
    int blanked = 0;
    for (std::size_t i = 0; i < length; ++i)
        if (IsLineBreakingByte(static_cast<unsigned char>(text[i]))) {
            text[i] = ' ';
            ++blanked;
        }
    return blanked;
}
