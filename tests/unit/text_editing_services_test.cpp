// The host's text services the caller-ID window relies on: the code
// conversion between the host's code page and Windows-1250 (52158), the
// conversion into a buffer (35385), the bounded copy (52161) and the
// insertion of a character (52130).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/imports.h"

namespace {

constexpr int kMazovia = 1, kWindows1250 = 3, kLatin2 = 6;

// The eighteen Polish letters: Windows-1250 byte, Mazovia byte.
constexpr unsigned char kPolishLetters[][2] = {
    {0xB9, 0x86}, {0xA5, 0x8F}, {0xE6, 0x8D}, {0xC6, 0x95}, {0xEA, 0x91}, {0xCA, 0x90},
    {0xB3, 0x92}, {0xA3, 0x9C}, {0xF1, 0xA4}, {0xD1, 0xA5}, {0xF3, 0xA2}, {0xD3, 0xA3},
    {0x9C, 0x9E}, {0x8C, 0x98}, {0x9F, 0xA6}, {0x8F, 0xA0}, {0xBF, 0xA7}, {0xAF, 0xA1},
};

unsigned char Converted(unsigned char byte, int from, int to) {
    char text[2] = {static_cast<char>(byte), '\0'};
    CallHost<Host::ConvertCodes>(text, text, from, to);
    return static_cast<unsigned char>(text[0]);
}

}  // namespace

TEST(CodeConversion, PolishLettersMoveBetweenWindows1250AndTheHostsCodePage) {
    for (const auto& letter : kPolishLetters) {
        EXPECT_EQ(Converted(letter[0], kWindows1250, kMazovia), letter[1]) << std::hex << int{letter[0]};
        EXPECT_EQ(Converted(letter[1], kMazovia, kWindows1250), letter[0]) << std::hex << int{letter[1]};
    }
    EXPECT_EQ(Converted(0xE4, kWindows1250, kMazovia), 0x84);  // ä, in both code pages
    EXPECT_EQ(Converted('A', kWindows1250, kMazovia), 'A');
}

// Every byte but the NUL converts there and back to itself, both ways, so
// a slot's target survives being shown and saved again whatever it holds.
TEST(CodeConversion, ConvertingThereAndBackGivesBackEveryByte) {
    for (int from : {kWindows1250, kLatin2}) {
        bool seen[256] = {};
        for (int byte = 1; byte < 256; ++byte) {
            unsigned char there = Converted(static_cast<unsigned char>(byte), from, kMazovia);
            EXPECT_FALSE(seen[there]) << "two bytes become " << int{there};
            seen[there] = true;
            EXPECT_EQ(Converted(there, kMazovia, from), byte);
            EXPECT_EQ(Converted(Converted(static_cast<unsigned char>(byte), kMazovia, from), from, kMazovia), byte);
        }
    }
}

TEST(CodeConversion, WholeTextIsConvertedInPlace) {
    char target[21] = "\xA3\xF3" "d\x9F " "Kraj";  // "Łódź Kraj" in Windows-1250
    EXPECT_EQ(CallHost<Host::ConvertCodes>(target, target, kWindows1250, kMazovia), 0);
    EXPECT_STREQ(target, "\x9C\xA2" "d\xA6 " "Kraj");
}

TEST(CodeConversion, UnknownCodesLeaveTheTextAsItIs) {
    char text[] = "\xB9x";
    EXPECT_EQ(CallHost<Host::ConvertCodes>(text, text, 42, kMazovia), -1);
    EXPECT_STREQ(text, "\xB9x");
}

TEST(ConvertText, OutputIsBoundedByItsCapacityAndReturned) {
    char out[8];
    std::memset(out, 'Z', sizeof out);
    const char* source = "\x01" "c" "\x01" "Firma \xB1";  // ą in ISO 8859-2
    EXPECT_EQ(CallHost<Host::ConvertText>(out, 8, source, -1, kLatin2, kMazovia), out);
    EXPECT_STREQ(out, "\x01" "c" "\x01" "Firm");
    char whole[32];
    CallHost<Host::ConvertText>(whole, 32, source, -1, kLatin2, kMazovia);
    EXPECT_STREQ(whole, "\x01" "c" "\x01" "Firma \x86");
    CallHost<Host::ConvertText>(whole, 32, source, 4, kLatin2, kMazovia);
    EXPECT_STREQ(whole, "\x01" "c" "\x01" "F");
}

TEST(BoundedCopy, CopiesAtMostTheLimitAndAlwaysTerminates) {
    char out[21];
    std::memset(out, 'Z', sizeof out);
    EXPECT_EQ(CallHost<Host::CopyBounded>(out, "123456789012345678901234", 20), 20);
    EXPECT_STREQ(out, "12345678901234567890");
    EXPECT_EQ(CallHost<Host::CopyBounded>(out, "600100200", 20), 9);
    EXPECT_STREQ(out, "600100200");
    EXPECT_EQ(CallHost<Host::CopyBounded>(out, "abc", 0), 0);
    EXPECT_STREQ(out, "");
}

TEST(InsertCharacter, MovesTheRestRightAndMakesTheNipDashes) {
    char nip[17] = "1234567890";
    for (int position : {7, 5, 3}) CallHost<Host::InsertCharacter>(nip + position, '-');
    EXPECT_STREQ(nip, "123-45-67-890");
    char end[4] = "ab";
    CallHost<Host::InsertCharacter>(end + 2, 'c');
    EXPECT_STREQ(end, "abc");
}
