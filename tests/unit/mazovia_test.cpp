// The compile-time Mazovia conversion, against bytes written out by hand.
#include <gtest/gtest.h>

#include <string>

#include "text/mazovia.h"
#include "text/mazovia_utf8.h"

static std::string Bytes(const char* text) { return text; }

TEST(Mazovia, PolishLettersBecomeTheirBytes) {
    static constexpr auto kLower = MZ(u8"ąćęłńóśźż");
    static constexpr auto kUpper = MZ(u8"ĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(Bytes(kLower), "\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7");
    EXPECT_EQ(Bytes(kUpper), "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1");
    EXPECT_EQ(kLower.size(), 9u);
}

TEST(Mazovia, AsciiAndControlBytesStayAsTheyAre) {
    static constexpr auto kText = MZ(u8"\x01tl18l33\x01TABELA\t%s\n\x02");
    EXPECT_EQ(Bytes(kText), "\x01tl18l33\x01TABELA\t%s\n\x02");
}

TEST(Mazovia, WholeMessageMatchesHandWrittenBytes) {
    static constexpr auto kText = MZ(u8"Wyłączanie obsługi UDP");
    EXPECT_EQ(Bytes(kText), "Wy\x92\x86" "czanie obs\x92ugi UDP");
}

TEST(Mazovia, ReferenceHostShowsTheBytesAsUtf8AndBack) {
    const std::string mazovia = "\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1";
    EXPECT_EQ(refhost::MazoviaToUtf8(mazovia), "ąćęłńóśźżĄĆĘŁŃÓŚŹŻ");
    EXPECT_EQ(refhost::Utf8ToMazovia("ąćęłńóśźżĄĆĘŁŃÓŚŹŻ"), mazovia);
    EXPECT_EQ(refhost::MazoviaToUtf8("\xC4\xDB"), "─█");  // code page 437 elsewhere
    EXPECT_EQ(refhost::Utf8ToMazovia("€"), "?");
}
