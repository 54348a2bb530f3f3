// Mazovia texts: the plug-in's texts are written in UTF-8 in the source and
// stored as Mazovia (code page 437 with 18 Polish letters) in the binary.
// The conversion runs at compile time, so the binary holds only the bytes
// the host shows.
#pragma once

#include <cstddef>

#include "text/mazovia_table.h"

namespace mazovia {

// Mazovia byte of a code point, or -1 when the code page has none.
constexpr int ByteOf(char32_t code) { return MazoviaByteOf(code); }

// Decodes one UTF-8 sequence starting at s[i]; advances i.
constexpr char32_t DecodeUtf8(const char8_t* s, std::size_t& i) {
    char8_t b = s[i++];
    if (b < 0x80) return b;
    int extra = (b >= 0xF0) ? 3 : (b >= 0xE0) ? 2 : 1;
    char32_t code = b & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) code = (code << 6) | (s[i++] & 0x3F);
    return code;
}

// Number of Mazovia bytes of a UTF-8 literal, without the terminator.
template <std::size_t N>
consteval std::size_t EncodedLength(const char8_t (&utf8)[N]) {
    std::size_t count = 0;
    for (std::size_t i = 0; i + 1 < N;) {
        DecodeUtf8(utf8, i);
        ++count;
    }
    return count;
}

// Not constexpr: reaching it during the compile-time conversion stops the
// build with its name in the message.
void LetterWithoutMazoviaByte();

// A NUL-terminated Mazovia text held in a fixed array.
template <std::size_t Length>
struct Text {
    char bytes[Length + 1] = {};
    constexpr const char* c_str() const { return bytes; }
    constexpr operator const char*() const { return bytes; }
    static constexpr std::size_t size() { return Length; }
};

}  // namespace mazovia

// MZ(u8"...") is the Mazovia form of a UTF-8 literal, computed by the
// compiler; a letter without a Mazovia byte stops the build.
#define MZ(utf8_literal)                                                        \
    ([]() consteval {                                                           \
        constexpr auto& source = utf8_literal;                                  \
        mazovia::Text<mazovia::EncodedLength(source)> text{};                   \
        std::size_t out = 0;                                                    \
        for (std::size_t i = 0; i + 1 < sizeof(source);) {                      \
            int byte = mazovia::ByteOf(mazovia::DecodeUtf8(source, i));         \
            if (byte < 0) mazovia::LetterWithoutMazoviaByte();                  \
            text.bytes[out++] = static_cast<char>(byte);                        \
        }                                                                       \
        return text;                                                            \
    }())
