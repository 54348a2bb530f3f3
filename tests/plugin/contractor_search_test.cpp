// The plug-in's two hooks into the host's contractor search, driven from
// scripts: keys in the contractor table (table 35) and the events of the
// search window (window 0x73).
#include "window_fixture.h"

#include "support/udp_helpers.h"

// The selected slot (1) holds a call with a NIP.
class ContractorSearch : public PluginWindowTest {
protected:
    static Slots SelectedSlotWithNip(const char* time = "11:00:00") {
        Slots slots{};
        slots[1] = Slot("600100201", "202", "Firma NIP:1234567890", time);
        return slots;
    }
};

TEST_F(ContractorSearch, CtrlGOpensTheCallerIdWindowFromAnyColumnAndIsPassedOn) {
    Slots slots = SelectedSlotWithNip();
    Start(kLogOption, 1, &slots);
    host().trace = true;
    refhost::ScriptResult result = Script("table key Ctrl-G column 2\n"
                                          "expect window 1001\n"
                                          "window key F12\n");
    host().trace = false;
    EXPECT_TRUE(result.ok) << result.error;
    std::string console = test::TakeConsole();
    std::size_t closed = console.find("[Wybierz] closed with 0x5001");
    std::size_t passedOn = console.find("trace: host's table 35 handler 7, 35, 1, 0, 0, 0, 0, 0, 0, 2, 0");
    ASSERT_NE(closed, std::string::npos) << console;
    EXPECT_NE(passedOn, std::string::npos) << console;
    EXPECT_GT(passedOn, closed);  // the host's own handling follows the window
}

TEST_F(ContractorSearch, SearchKeyInTheNipColumnGivesTheNipAsTheOptionsAsk) {
    Slots slots = SelectedSlotWithNip();
    Start(kLogOption | kClipboardOption | kSuggestOption, 1, &slots);
    refhost::ScriptResult result = Script("table key Ctrl-F column 6\n"
                                          "expect clipboard \"\"\n"
                                          "expect suggestion \"\"\n"
                                          "table key Ctrl-Z column 7\n"
                                          "expect clipboard \"123-45-67-890\"\n"
                                          "expect suggestion \"123-45-67-890\"\n"
                                          "expect keys Home 0xBF00\n");
    EXPECT_TRUE(result.ok) << result.error;
}

TEST_F(ContractorSearch, SearchKeysOnlyPassOnWhenBothOptionsAreOff) {
    Slots slots = SelectedSlotWithNip();
    Start(kLogOption, 1, &slots);
    refhost::ScriptResult result = Script("table key Ctrl-F column 7\n"
                                          "table key z column 7\n"
                                          "table key Z column 7\n"
                                          "expect clipboard \"\"\n"
                                          "expect suggestion \"\"\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(test::CountOf(test::TakeConsole(), "the handler returned 0"), 3);
}

TEST_F(ContractorSearch, SearchWindowGrowsAndOffersTheNipWithF1) {
    Slots slots = SelectedSlotWithNip("11:59:59");
    Start(kLogOption, 1, &slots);
    refhost::ScriptResult result = Script("search open\n"
                                          "expect rect window 20 8 52 5\n"
                                          "expect rect 0x4101 7 2 30 1\n"
                                          "expect rect 0x4009 39 2 10 1\n"
                                          "expect field 0 \"123-45-67-890 (0:01)\"\n"
                                          "search key F1\n"
                                          "expect suggestion \"123-45-67-890\"\n"
                                          "search key ESC\n"
                                          "expect closed 0x5002\n");
    EXPECT_TRUE(result.ok) << result.error;
}

TEST_F(ContractorSearch, SearchWindowShowsOnlyCallsOfTheLastTwentyMinutes) {
    Slots slots = SelectedSlotWithNip("11:40:00");
    Start(kLogOption, 1, &slots);
    const std::pair<const char*, const char*> cases[] = {
        {"11:40:00", ""},
        {"11:40:01", "123-45-67-890 (0:01)"},
        {"11:59:59", "123-45-67-890 (19:59)"},
        {"12:00:00", ""},
    };
    for (const auto& [now, shown] : cases) {
        refhost::ScriptResult result = Script(std::string("clock set \"2024-03-01 ") + now + "\"\n" +
                                              "search open\n" + "expect field 0 \"" + shown + "\"\n" +
                                              "search key ESC\n");
        EXPECT_TRUE(result.ok) << result.error;
    }
}

TEST_F(ContractorSearch, F5InTheSearchWindowOpensTheCallerIdWindowOnTopOfIt) {
    Slots slots = SelectedSlotWithNip();
    Start(kLogOption, 1, &slots);
    refhost::ScriptResult result = Script("search open\n"
                                          "search key F5\n"
                                          "expect window 1001\n"
                                          "expect input 0x4117 \"123-45-67-890\"\n"
                                          "window key F12\n"
                                          "expect window 0x73\n"
                                          "search type 0x4101 \"1234567890\"\n"
                                          "search key S\n"
                                          "expect closed 0x4009\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_NE(test::TakeConsole().find("the host searches its contractors for NIP \"1234567890\""), std::string::npos);
}

// The search window offers only today's calls: a call of yesterday at
// 11:55 is no call of five minutes ago at today's 12:00.
TEST_F(ContractorSearch, SearchWindowShowsOnlyTodaysCalls) {
    Slots slots = SelectedSlotWithNip("11:55:00");
    std::snprintf(slots[1].date, sizeof slots[1].date, "%s", "29.02.2024");
    Start(kLogOption, 1, &slots);
    refhost::ScriptResult result = Script("search open\nexpect field 0 \"\"\nsearch key ESC\n");
    EXPECT_TRUE(result.ok) << result.error;
    std::snprintf(slots[1].date, sizeof slots[1].date, "%s", "01.03.2024");
    WriteSlots(slots);
    result = Script("search open\nexpect field 0 \"123-45-67-890 (5:00)\"\nsearch key ESC\n");
    EXPECT_TRUE(result.ok) << result.error;
}

// A call for the selected slot is filed between the clipboard and the
// suggestion (staged when the host is handed the clipboard text): both
// hold the NIP of the one load the key made.
TEST_F(ContractorSearch, CtrlFHandsClipboardAndSuggestionTheSameNip) {
    Slots slots{};
    slots[1] = Slot("111", "202", "Pierwsza NIP:1111111111");
    Start(kClipboardOption | kSuggestOption, 1, &slots);   // no day log: the listener prints nothing
    bool staged = false;
    host().trace = true;
    refhost::SetConsoleSink([&](std::string_view line) {
        if (staged || line.rfind("trace: 52205 ", 0) != 0) return;
        staged = true;
        host().trace = false;   // the console is held while the call is filed
        test::SendUdp(1338, "222\t202\t\t\tDruga NIP:2222222222");
        test::WaitUntil([] { return ReadSlots()[1].phone == std::string("222"); });
    });
    refhost::ScriptResult result = Script("table key Ctrl-F column 7\n");
    refhost::SetConsoleSink(nullptr);
    host().trace = false;
    EXPECT_TRUE(result.ok) << result.error;
    ASSERT_TRUE(staged);
    ASSERT_STREQ(ReadSlots()[1].phone, "222");
    result = Script("expect clipboard \"111-11-11-111\"\nexpect suggestion \"111-11-11-111\"\n");
    EXPECT_TRUE(result.ok) << result.error;
}
