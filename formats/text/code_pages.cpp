// The code page permutations, built once from the code pages' characters.
#include "text/code_pages.h"

#include <array>
#include <cstdint>

#include "text/mazovia_utf8.h"

namespace refhost {
namespace {

using HighHalf = std::array<char16_t, 128>;  // bytes 0x80..0xFF; 0 where a byte has no character
using Permutation = std::array<uint8_t, 256>;

constexpr HighHalf kWindows1250 = {
    u'€', 0,    u'‚', 0,    u'„', u'…', u'†', u'‡', 0,    u'‰', u'Š', u'‹', u'Ś', u'Ť', u'Ž', u'Ź',
    0,    u'‘', u'’', u'“', u'”', u'•', u'–', u'—', 0,    u'™', u'š', u'›', u'ś', u'ť', u'ž', u'ź',
    u'\u00A0', u'ˇ', u'˘', u'Ł', u'¤', u'Ą', u'¦', u'§', u'¨', u'©', u'Ş', u'«', u'¬', u'\u00AD', u'®', u'Ż',
    u'°', u'±', u'˛', u'ł', u'´', u'µ', u'¶', u'·', u'¸', u'ą', u'ş', u'»', u'Ľ', u'˝', u'ľ', u'ż',
    u'Ŕ', u'Á', u'Â', u'Ă', u'Ä', u'Ĺ', u'Ć', u'Ç', u'Č', u'É', u'Ę', u'Ë', u'Ě', u'Í', u'Î', u'Ď',
    u'Đ', u'Ń', u'Ň', u'Ó', u'Ô', u'Ő', u'Ö', u'×', u'Ř', u'Ů', u'Ú', u'Ű', u'Ü', u'Ý', u'Ţ', u'ß',
    u'ŕ', u'á', u'â', u'ă', u'ä', u'ĺ', u'ć', u'ç', u'č', u'é', u'ę', u'ë', u'ě', u'í', u'î', u'ď',
    u'đ', u'ń', u'ň', u'ó', u'ô', u'ő', u'ö', u'÷', u'ř', u'ů', u'ú', u'ű', u'ü', u'ý', u'ţ', u'˙',
};

// ISO 8859-2 has control characters at 0x80..0x9F and shares 0xC0..0xFF
// with Windows-1250.
constexpr HighHalf kLatin2 = [] {
    HighHalf table{};
    for (int i = 0; i < 32; ++i) table[i] = static_cast<char16_t>(0x80 + i);
    constexpr char16_t kA0toBF[32] = {
        u'\u00A0', u'Ą', u'˘', u'Ł', u'¤', u'Ľ', u'Ś', u'§', u'¨', u'Š', u'Ş', u'Ť', u'Ź', u'\u00AD', u'Ž', u'Ż',
        u'°', u'ą', u'˛', u'ł', u'´', u'ľ', u'ś', u'ˇ', u'¸', u'š', u'ş', u'ť', u'ź', u'˝', u'ž', u'ż',
    };
    for (int i = 0; i < 32; ++i) table[32 + i] = kA0toBF[i];
    for (int i = 64; i < 128; ++i) table[i] = kWindows1250[i];
    return table;
}();

HighHalf MazoviaHighHalf() {
    HighHalf table{};
    for (int i = 0; i < 128; ++i) table[i] = MazoviaCodePoint(static_cast<unsigned char>(0x80 + i));
    return table;
}

// The permutation from a code page to Mazovia.
Permutation ToMazovia(const HighHalf& code) {
    static const HighHalf mazovia = MazoviaHighHalf();
    Permutation permutation{};
    std::array<bool, 128> taken{}, placed{};
    for (int b = 0; b < 128; ++b) permutation[b] = static_cast<uint8_t>(b);
    for (int b = 0; b < 128; ++b) {
        if (code[b] == 0) continue;
        for (int m = 0; m < 128; ++m) {
            if (taken[m] || mazovia[m] != code[b]) continue;
            permutation[0x80 + b] = static_cast<uint8_t>(0x80 + m);
            taken[m] = placed[b] = true;
            break;
        }
    }
    int m = 0;
    for (int b = 0; b < 128; ++b) {
        if (placed[b]) continue;
        while (taken[m]) ++m;
        permutation[0x80 + b] = static_cast<uint8_t>(0x80 + m);
        taken[m] = true;
    }
    return permutation;
}

Permutation Inverse(const Permutation& permutation) {
    Permutation inverse{};
    for (int b = 0; b < 256; ++b) inverse[permutation[b]] = static_cast<uint8_t>(b);
    return inverse;
}

struct CodePage {
    Permutation toMazovia;
    Permutation fromMazovia;
};

const CodePage* FindCodePage(int code) {
    static const CodePage kMazovia = [] {
        CodePage page{};
        for (int b = 0; b < 256; ++b) page.toMazovia[b] = page.fromMazovia[b] = static_cast<uint8_t>(b);
        return page;
    }();
    static const CodePage kWindows = {ToMazovia(kWindows1250), Inverse(ToMazovia(kWindows1250))};
    static const CodePage kIso = {ToMazovia(kLatin2), Inverse(ToMazovia(kLatin2))};
    switch (code) {
        case kCodeMazovia: return &kMazovia;
        case kCodeWindows1250: return &kWindows;
        case kCodeLatin2: return &kIso;
        default: return nullptr;
    }
}

}  // namespace

bool IsKnownCode(int code) { return FindCodePage(code) != nullptr; }

char ConvertCodeByte(char byte, int from, int to) {
    const CodePage* source = FindCodePage(from);
    const CodePage* target = FindCodePage(to);
    if (!source || !target) return byte;
    uint8_t mazovia = source->toMazovia[static_cast<uint8_t>(byte)];
    return static_cast<char>(target->fromMazovia[mazovia]);
}

std::string ConvertCodes(std::string_view text, int from, int to) {
    std::string converted(text);
    for (char& c : converted) c = ConvertCodeByte(c, from, to);
    return converted;
}

}  // namespace refhost
