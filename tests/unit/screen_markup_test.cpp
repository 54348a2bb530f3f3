// The interactive screens' reading of texts and keys: the message markup
// and control labels as styled cells, texts for terminals with and without
// UTF-8, typed characters in Mazovia, and the terminal library's keys as PC
// keyboard codes.
#include <curses.h>
#include <gtest/gtest.h>

#include <string>

#include "terminal/keys.h"
#include "terminal/markup.h"
#include "terminal/terminal_text.h"

namespace {

using refhost::screen::CellStyle;
using refhost::screen::PlainBytes;
using refhost::screen::RenderLabel;
using refhost::screen::RenderMarkup;
using refhost::screen::ScreenKey;
using refhost::screen::StyledLine;
using refhost::screen::Tildes;
using refhost::screen::TranslateKey;

// The styles of a line as letters: n normal, h highlight, k key label,
// a accelerator.
std::string Styles(const StyledLine& line) {
    std::string styles;
    for (const auto& cell : line.cells) {
        switch (cell.style) {
            case CellStyle::Normal: styles += 'n'; break;
            case CellStyle::Highlight: styles += 'h'; break;
            case CellStyle::KeyLabel: styles += 'k'; break;
            case CellStyle::Accelerator: styles += 'a'; break;
        }
    }
    return styles;
}

TEST(ScreenMarkup, ButtonLabelShowsItsKeyNameApartFromItsAction) {
    StyledLine label = RenderLabel("\x05" "F12\x01 Wyjdz");
    EXPECT_EQ(PlainBytes(label), "F12 Wyjdz");
    EXPECT_EQ(Styles(label), "kkknnnnnn");
}

TEST(ScreenMarkup, AcceleratorBetweenTildesIsMarkedWhereverItStands) {
    EXPECT_EQ(PlainBytes(RenderLabel("~W~ybierz")), "Wybierz");
    EXPECT_EQ(Styles(RenderLabel("~W~ybierz")), "annnnnn");
    EXPECT_EQ(PlainBytes(RenderLabel("1~0~")), "10");
    EXPECT_EQ(Styles(RenderLabel("1~0~")), "na");
    // Message texts are not labels: their tildes are shown.
    EXPECT_EQ(PlainBytes(RenderMarkup("a~b~c", Tildes::Literal).front()), "a~b~c");
}

TEST(ScreenMarkup, CentringDirectiveIsNotShownButCentresTheLine) {
    auto lines = RenderMarkup("\x01" "c\x01" "Drewmax NIP:7790004561", Tildes::Literal);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].centred);
    EXPECT_EQ(PlainBytes(lines[0]), "Drewmax NIP:7790004561");
    EXPECT_FALSE(RenderMarkup("plain", Tildes::Literal).front().centred);
}

TEST(ScreenMarkup, HighlightRunsToTheNextDirectiveByteAndLinesSplit) {
    auto lines = RenderMarkup("Modu\x92 \x02" "callerid.dll\x01\nNIE zostanie", Tildes::Literal);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(PlainBytes(lines[0]), "Modu\x92 callerid.dll");
    EXPECT_EQ(Styles(lines[0]), "nnnnnn" + std::string(12, 'h'));
    EXPECT_EQ(Styles(lines[1]), std::string(12, 'n'));
}

TEST(ScreenMarkup, TabStopsPlaceLeftAndRightAlignedFields) {
    auto titles = RenderMarkup("\x01tl18l33\x01TABELA\tWE WTYCZCE\tW PROGRAMIE", Tildes::Literal).front();
    std::string text = PlainBytes(titles);
    EXPECT_EQ(text.find("WE WTYCZCE"), 18u);
    EXPECT_EQ(text.find("W PROGRAMIE"), 33u);
    // "p" stops end their field at the stop's column.
    auto row = RenderMarkup("\x01tp25p40\x01k4\t1536\tbrak", Tildes::Literal).front();
    std::string values = PlainBytes(row);
    EXPECT_EQ(values.find("1536") + 4, 25u);
    EXPECT_EQ(values.find("brak") + 4, 40u);
    EXPECT_EQ(values.substr(0, 2), "k4");
}

TEST(ScreenMarkup, TabsWithoutStopsGoToTheNextEighthColumnAndNeverOverlap) {
    EXPECT_EQ(PlainBytes(RenderMarkup("ab\tc", Tildes::Literal).front()), "ab      c");
    auto crowded = RenderMarkup("\x01tl3\x01long name\tx", Tildes::Literal).front();
    EXPECT_EQ(PlainBytes(crowded), "long name x");
}

TEST(ScreenTerminalText, TerminalsWithoutUtf8GetPlainLettersAndQuestionMarks) {
    EXPECT_EQ(refhost::screen::AsciiCell("ł"), "l");
    EXPECT_EQ(refhost::screen::AsciiCell("Ź"), "Z");
    EXPECT_EQ(refhost::screen::AsciiCell("┌"), "?");
    EXPECT_EQ(refhost::screen::AsciiCell("k"), "k");
    EXPECT_EQ(refhost::screen::Utf8Cells("Łódź 1").size(), 6u);
    EXPECT_EQ(refhost::screen::MazoviaCell('\x9C'), "Ł");
}

TEST(ScreenTerminalText, ControlCharactersFromDatagramsAreNotSentToTheTerminal) {
    EXPECT_TRUE(refhost::screen::IsControlCell("\x1b"));
    EXPECT_TRUE(refhost::screen::IsControlCell("\t"));
    EXPECT_TRUE(refhost::screen::IsControlCell("\x7f"));
    EXPECT_TRUE(refhost::screen::IsControlCell("\xc2\x9b"));  // the one-byte CSI of C1
    EXPECT_FALSE(refhost::screen::IsControlCell("\xc2\xa0"));
    EXPECT_FALSE(refhost::screen::IsControlCell("ł"));
    EXPECT_FALSE(refhost::screen::IsControlCell(" "));
}

TEST(ScreenTerminalText, TypedPolishLettersBecomeMazoviaAndOthersAreRefused) {
    std::string mazovia;
    ASSERT_TRUE(refhost::screen::TypedToMazovia("żółć", mazovia));
    EXPECT_EQ(mazovia, "\xA7\xA2\x92\x8D");
    EXPECT_FALSE(refhost::screen::TypedToMazovia("€", mazovia));
    EXPECT_FALSE(refhost::screen::TypedToMazovia("\x07", mazovia));
    ASSERT_TRUE(refhost::screen::TypedToMazovia("?", mazovia));
    EXPECT_EQ(mazovia, "?");
}

TEST(ScreenKeys, FunctionAndCursorKeysGetTheirPcCodes) {
    EXPECT_TRUE(TranslateKey(true, KEY_F(3), false).Is(0x3D00));
    EXPECT_TRUE(TranslateKey(true, KEY_F(5), false).Is(0x3F00));
    EXPECT_TRUE(TranslateKey(true, KEY_F(10), false).Is(0x4400));
    EXPECT_TRUE(TranslateKey(true, KEY_F(11), false).Is(0x8500));
    EXPECT_TRUE(TranslateKey(true, KEY_F(12), false).Is(0x8600));
    EXPECT_TRUE(TranslateKey(true, KEY_UP, false).Is(0x4800));
    EXPECT_TRUE(TranslateKey(true, KEY_BTAB, false).Is(0x0F00));
    EXPECT_TRUE(TranslateKey(true, KEY_DC, false).Is(0x5300));
    EXPECT_EQ(TranslateKey(true, KEY_RESIZE, false).kind, ScreenKey::Kind::Resize);
    EXPECT_EQ(TranslateKey(true, KEY_F(20), false).kind, ScreenKey::Kind::Unsupported);
}

TEST(ScreenKeys, ControlCharactersAreKeysAndLettersAreTypedInMazovia) {
    EXPECT_TRUE(TranslateKey(false, 7, false).Is(7));        // Ctrl-G
    EXPECT_TRUE(TranslateKey(false, 16, false).Is(0x0010));  // Ctrl-P, the ping button's id
    EXPECT_TRUE(TranslateKey(false, 27, false).Is(0x011B));
    EXPECT_TRUE(TranslateKey(false, '\r', false).Is(0x1C0D));
    EXPECT_TRUE(TranslateKey(false, '\t', false).Is(0x0F09));
    EXPECT_TRUE(TranslateKey(false, 127, false).Is(0x0E08));
    ScreenKey letter = TranslateKey(false, U'ł', false);
    ASSERT_TRUE(letter.IsText());
    EXPECT_EQ(letter.Byte(), '\x92');
    ScreenKey alt = TranslateKey(false, 'w', true);
    EXPECT_TRUE(alt.IsText() && alt.alt && alt.Byte() == 'w');
    EXPECT_EQ(TranslateKey(false, U'€', false).kind, ScreenKey::Kind::Unsupported);
}

}  // namespace
