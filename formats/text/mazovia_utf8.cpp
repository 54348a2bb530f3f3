// The Mazovia code page: code page 437 with 18 positions replaced by the
// Polish letters.
#include "text/mazovia_utf8.h"

#include <cstdint>

#include "text/mazovia_table.h"

namespace refhost {

static void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf8Of(char32_t character) {
    std::string out;
    AppendUtf8(out, character);
    return out;
}

char16_t MazoviaCodePoint(unsigned char byte) {
    return byte < 0x80 ? byte : mazovia::kHighHalf[byte - 0x80];
}

std::string MazoviaToUtf8(std::string_view mazovia) {
    std::string out;
    out.reserve(mazovia.size() * 2);
    for (char c : mazovia) {
        AppendUtf8(out, MazoviaCodePoint(static_cast<uint8_t>(c)));
    }
    return out;
}

static char32_t NextCodePoint(std::string_view text, std::size_t& i) {
    auto lead = static_cast<uint8_t>(text[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    char32_t code = lead & (0x3F >> extra);
    for (int k = 0; k < extra && i < text.size(); ++k)
        code = (code << 6) | (static_cast<uint8_t>(text[i++]) & 0x3F);
    return code;
}

// The Mazovia byte of a character; 0 when there is none.
static unsigned char MazoviaByteOf(char32_t code) {
    if (code < 0x80) return static_cast<unsigned char>(code);
    for (int k = 0; k < 128; ++k)
        if (mazovia::kHighHalf[k] == code) return static_cast<unsigned char>(0x80 + k);
    return 0;
}

std::string Utf8ToMazovia(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = NextCodePoint(utf8, i);
        unsigned char byte = MazoviaByteOf(code);
        out += code != 0 && byte == 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string Utf8NotInMazovia(std::string_view utf8) {
    std::u32string missing;
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t code = NextCodePoint(utf8, i);
        if (code != 0 && MazoviaByteOf(code) == 0 && missing.find(code) == std::u32string::npos) missing += code;
    }
    std::string named;
    for (char32_t code : missing) named += Utf8Of(code);
    return named;
}

}  // namespace refhost
