// The Mazovia code page, written once: code page 437 with 18 positions
// replaced by the Polish letters. The plug-in's compile-time texts, the
// reference host and the tool all convert with this table.
#pragma once

namespace mazovia {

// Bytes 0x80..0xFF as Unicode code points.
inline constexpr char16_t kHighHalf[128] = {
    u'Ç', u'ü', u'é', u'â', u'ä', u'à', u'ą', u'ç', u'ê', u'ë', u'è', u'ï', u'î', u'ć', u'Ä', u'Ą',
    u'Ę', u'ę', u'ł', u'ô', u'ö', u'Ć', u'û', u'ù', u'Ś', u'Ö', u'Ü', u'¢', u'Ł', u'¥', u'ś', u'ƒ',
    u'Ź', u'Ż', u'ó', u'Ó', u'ń', u'Ń', u'ź', u'ż', u'¿', u'⌐', u'¬', u'½', u'¼', u'¡', u'«', u'»',
    u'░', u'▒', u'▓', u'│', u'┤', u'╡', u'╢', u'╖', u'╕', u'╣', u'║', u'╗', u'╝', u'╜', u'╛', u'┐',
    u'└', u'┴', u'┬', u'├', u'─', u'┼', u'╞', u'╟', u'╚', u'╔', u'╩', u'╦', u'╠', u'═', u'╬', u'╧',
    u'╨', u'╤', u'╥', u'╙', u'╘', u'╒', u'╓', u'╫', u'╪', u'┘', u'┌', u'█', u'▄', u'▌', u'▐', u'▀',
    u'α', u'ß', u'Γ', u'π', u'Σ', u'σ', u'µ', u'τ', u'Φ', u'Θ', u'Ω', u'δ', u'∞', u'φ', u'ε', u'∩',
    u'≡', u'±', u'≥', u'≤', u'⌠', u'⌡', u'÷', u'≈', u'°', u'∙', u'·', u'√', u'ⁿ', u'²', u'■', u'\u00A0',
};

// The Mazovia byte of a code point, or -1 when the code page has none.
constexpr int MazoviaByteOf(char32_t code) {
    if (code < 0x80) return static_cast<int>(code);
    for (int k = 0; k < 128; ++k)
        if (kHighHalf[k] == code) return 0x80 + k;
    return -1;
}

}  // namespace mazovia
