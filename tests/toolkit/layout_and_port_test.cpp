// The tool's output layer keeps every line within 79 columns, broken at
// blanks under its own text, and lays out a command for the command prompt
// so that it still runs pasted whole; every part takes a stored port the
// way the plug-in binds it.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "output/text_layout.h"
#include "udp/port_rule.h"

namespace {

// Each line's width in characters (UTF-8), the widest first.
std::size_t Widest(const std::string& text) {
    std::istringstream lines(text);
    std::size_t widest = 0;
    for (std::string line; std::getline(lines, line);) {
        std::size_t characters = 0;
        for (char c : line) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        widest = std::max(widest, characters);
    }
    return widest;
}

}  // namespace

TEST(OutputLayout, LongLinesAreBrokenAtBlanksUnderTheirText) {
    std::string words;
    for (int i = 0; i < 30; ++i) words += " słowo";
    // A verdict's text goes on under itself; another line goes on two further in.
    std::string fitted = FittedToWidth("PROBLEM" + words + "\n  x:" + words + "\nshort\n");
    EXPECT_LE(Widest(fitted), 79u) << fitted;
    EXPECT_EQ(fitted.rfind("PROBLEM słowo słowo", 0), 0u) << fitted;
    EXPECT_NE(fitted.find("\n        słowo"), std::string::npos) << fitted;
    EXPECT_NE(fitted.find("\n  x: słowo"), std::string::npos) << fitted;
    EXPECT_NE(fitted.find("\n    słowo"), std::string::npos) << fitted;
    EXPECT_NE(fitted.find("\nshort\n"), std::string::npos) << fitted;
    // No word is lost or split, and what fits is left as it is, without a line end added.
    std::string joined;
    for (char c : fitted) joined += c == '\n' ? ' ' : c;
    std::size_t whole = 0;
    for (std::size_t at = joined.find(" słowo"); at != std::string::npos; at = joined.find(" słowo", at + 1)) ++whole;
    EXPECT_EQ(whole, 60u) << fitted;
    EXPECT_EQ(FittedToWidth("as it is  "), "as it is  ");
    EXPECT_EQ(Widest(FittedToWidth(std::string(200, 'x'))), 79u);   // a word longer than a line is cut
}

TEST(OutputLayout, ACommandGoesOnWithACaretAndKeepsItsQuotedNameWhole) {
    std::string command = CommandWrapped("netsh advfirewall firewall add rule name=\"Caller ID UDP 65535 broadcast out\" "
                                         "dir=out action=allow protocol=UDP remoteport=65535 remoteip=255.255.255.255", 2);
    EXPECT_LE(Widest(command), 79u) << command;
    EXPECT_NE(command.find("name=\"Caller ID UDP 65535 broadcast out\""), std::string::npos) << command;
    EXPECT_EQ(command.rfind("  netsh advfirewall", 0), 0u);
    std::size_t breaks = 0;
    for (std::size_t at = command.find(" ^\n    "); at != std::string::npos; at = command.find(" ^\n    ", at + 1)) ++breaks;
    EXPECT_EQ(breaks, static_cast<std::size_t>(std::count(command.begin(), command.end(), '\n') - 1)) << command;
    EXPECT_EQ(CommandWrapped("callerid firewall add --port 1339", 2), "  callerid firewall add --port 1339\n");
}

TEST(PortRule, AStoredValueMeansThePortTheListenerBinds) {
    struct Case {
        long long stored;
        uint16_t inUse;
        bool written;
    };
    for (Case c : {Case{1338, 1338, true}, Case{1, 1, true}, Case{65535, 65535, true}, Case{0, 1338, false},
                   Case{70000, 4464, false}, Case{65536, 1338, false}, Case{65536 * 3 + 1339, 1339, false},
                   Case{-1, 65535, false}}) {
        EXPECT_EQ(PortInUse(c.stored), c.inUse) << c.stored;
        EXPECT_EQ(PortIsWritten(c.stored), c.written) << c.stored;
    }
}
