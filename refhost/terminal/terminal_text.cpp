// Cells of UTF-8 texts and the fallback for terminals without UTF-8.
#include "terminal/terminal_text.h"

#include "text/mazovia_utf8.h"

namespace refhost::screen {
namespace {

struct PlainLetter {
    const char* letter;
    char plain;
};

constexpr PlainLetter kPolishLetters[] = {
    {"ą", 'a'}, {"ć", 'c'}, {"ę", 'e'}, {"ł", 'l'}, {"ń", 'n'}, {"ó", 'o'}, {"ś", 's'}, {"ź", 'z'}, {"ż", 'z'},
    {"Ą", 'A'}, {"Ć", 'C'}, {"Ę", 'E'}, {"Ł", 'L'}, {"Ń", 'N'}, {"Ó", 'O'}, {"Ś", 'S'}, {"Ź", 'Z'}, {"Ż", 'Z'},
};

std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;  // a stray continuation byte is a cell of its own
}

}  // namespace

std::vector<std::string> Utf8Cells(std::string_view utf8) {
    std::vector<std::string> cells;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(utf8[i]));
        if (i + length > utf8.size()) length = utf8.size() - i;
        cells.emplace_back(utf8.substr(i, length));
        i += length;
    }
    return cells;
}

bool IsControlCell(std::string_view utf8Cell) {
    if (utf8Cell.size() == 1) {
        auto byte = static_cast<unsigned char>(utf8Cell[0]);
        return byte < 0x20 || byte == 0x7F;
    }
    return utf8Cell.size() == 2 && static_cast<unsigned char>(utf8Cell[0]) == 0xC2 &&
           static_cast<unsigned char>(utf8Cell[1]) < 0xA0;
}

std::string AsciiCell(std::string_view utf8Cell) {
    if (utf8Cell.size() == 1 && static_cast<unsigned char>(utf8Cell[0]) < 0x80) return std::string(utf8Cell);
    for (const PlainLetter& letter : kPolishLetters)
        if (utf8Cell == letter.letter) return std::string(1, letter.plain);
    return "?";
}

std::string MazoviaCell(char byte) { return MazoviaToUtf8(std::string_view(&byte, 1)); }

bool TypedToMazovia(std::string_view utf8, std::string& mazovia) {
    mazovia.clear();
    for (const std::string& cell : Utf8Cells(utf8)) {
        std::string byte = Utf8ToMazovia(cell);
        // Utf8ToMazovia marks a character it cannot take with '?'.
        if (byte.size() != 1 || (byte == "?" && cell != "?")) return false;
        // Control characters are keys, not text.
        if (static_cast<unsigned char>(byte[0]) < 0x20 || byte[0] == '\x7F') return false;
        mazovia += byte;
    }
    return true;
}

}  // namespace refhost::screen
