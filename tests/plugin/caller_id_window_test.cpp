// The plug-in's caller-ID window run by the reference host's window runner
// from a script: the rows it shows, its refresh by the timer, the commands
// of its buttons and keys, and what happens when it is left by ESC or F12.
#include "window_fixture.h"

#include <filesystem>
#include <memory>

#include "services/host_screen.h"
#include "support/udp_helpers.h"
#include "window/window_runner.h"

namespace {

using CallerIdWindow = PluginWindowTest;

// Row r's controls (r = 1..10): phone B, target B+1, NIP B+2, call time B+3.
constexpr unsigned RowBase(int row) { return row < 10 ? 0x410B + 10 * (row - 1) : 0x4179; }

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string ExpectRow(int row, int offset, const std::string& text, const char* what = "input") {
    return std::string("expect ") + what + " " + Hex(RowBase(row) + offset) + " \"" + text + "\"\n";
}

// A user that works from a script and keeps the procedure of the window it
// worked in, as a host that delivers one more event after closing would.
class ProcedureKeeper : public refhost::WindowUser {
public:
    explicit ProcedureKeeper(refhost::WindowUser& user) : user_(user), installed_(this) {}
    bool Act(refhost::RunningWindow& window) override {
        procedure = window.procedure();
        return user_.Act(window);
    }
    std::optional<std::string> ChooseFile(std::string_view mask) override { return user_.ChooseFile(mask); }
    WindowProcedure procedure = nullptr;

private:
    refhost::WindowUser& user_;
    refhost::ScopedWindowUser installed_;
};

}  // namespace

TEST_F(CallerIdWindow, RowsShowTheDigitsAfterTheFirstNipMarker) {
    Slots slots{};
    slots[0] = Slot("600100200", "201", "Firma NIP:1234567890 tel.");
    slots[1] = Slot("600100201", "202", "NIP:123456789");
    slots[2] = Slot("600100202", "203", "NIP: 1234567890");
    slots[3] = Slot("600100203", "204", "nip:1234567890");
    slots[4] = Slot("600100204", "205", "NIP:99 i NIP:5556667778");
    slots[5] = Slot("600100205", "206", "NIP:12345678901234567890");
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n" + ExpectRow(1, 2, "123-45-67-890") + ExpectRow(2, 2, "123456789") +
                                          ExpectRow(3, 2, "") + ExpectRow(4, 2, "") + ExpectRow(5, 2, "99") +
                                          ExpectRow(6, 2, "1234567890123456") + ExpectRow(1, 0, "600100200") +
                                          ExpectRow(1, 1, "201") + "window key F12\n");
    EXPECT_TRUE(result.ok) << result.error;
}

TEST_F(CallerIdWindow, EachRowShowsItsCallTimeAndTheTimeSinceInItsOwnField) {
    Slots slots{};
    slots[0] = Slot("1", "201", "", "11:59:01");
    slots[1] = Slot("2", "202", "", "11:00:01");
    slots[2] = Slot("3", "203", "", "11:00:00");
    slots[3] = Slot("4", "204", "", "10:58:59");
    slots[4] = Slot("5", "205", "", "11:59:00", "29.02.2024");
    slots[5] = Slot("6", "206", "", "12:00:30");
    slots[9] = Slot("10", "210", "", "11:59:59");
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script(
        "action\n" + ExpectRow(1, 3, "  11:59:01 - 01.03.2024 (0:59)", "field") +
        ExpectRow(2, 3, "  11:00:01 - 01.03.2024 (59:59)", "field") +
        ExpectRow(3, 3, "  11:00:00 - 01.03.2024 (1:00:00)", "field") +
        ExpectRow(4, 3, "  10:58:59 - 01.03.2024 (1:01:01)", "field") +
        ExpectRow(5, 3, "  11:59:00 - 29.02.2024", "field") + ExpectRow(6, 3, "  12:00:30 - 01.03.2024", "field") +
        ExpectRow(7, 3, "", "field") + ExpectRow(10, 3, "  11:59:59 - 01.03.2024 (0:01)", "field") +
        "window tick\n" + ExpectRow(1, 3, "  11:59:01 - 01.03.2024 (1:01)", "field") +
        ExpectRow(10, 3, "  11:59:59 - 01.03.2024 (0:03)", "field") + "window key F12\n");
    EXPECT_TRUE(result.ok) << result.error;
}

TEST_F(CallerIdWindow, TimerEventAfterClosingDoesNothing) {
    Slots slots{};
    slots[0] = Slot("600100200", "201", "NIP:1234567890");
    Start(kLogOption, 0, &slots);
    std::string error;
    refhost::ScriptDriver driver(*refhost::ParseScript("window key F12\n", "test", error), {});
    ProcedureKeeper keeper(driver);
    session.Action30010(0);
    ASSERT_NE(keeper.procedure, nullptr);
    test::TakeConsole();
    host().trace = true;
    int result = keeper.procedure(0, 0x000A);
    host().trace = false;
    EXPECT_EQ(result, -2);
    EXPECT_EQ(test::TakeConsole(), "");  // no service was called
}

TEST_F(CallerIdWindow, F5SavesPhoneAndTargetOfEveryRowButNeverTheNip) {
    Slots slots{};
    for (int k = 0; k < 10; ++k) {
        std::string phone = "60010020" + std::to_string(k), target = "20" + std::to_string(k);
        slots[k] = Slot(phone.c_str(), target.c_str(), ("Firma NIP:526000124" + std::to_string(k)).c_str());
    }
    std::snprintf(slots[1].target, sizeof slots[1].target, "%s", "\xA3\xF3" "d\x9F");  // Łódź, Windows-1250
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n" + ExpectRow(2, 1, "Łódź") +
                                          "window type 0x410B \"48123\"\n"
                                          "window type 0x410C \"Kraków\"\n"
                                          "window type 0x410D \"999\"\n"
                                          "window key F5\n"
                                          "window key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    Slots saved = ReadSlots();
    EXPECT_STREQ(saved[0].phone, "48123");
    EXPECT_STREQ(saved[0].target, "Krak\xF3w");
    EXPECT_STREQ(saved[0].text, "Firma NIP:5260001240");
    EXPECT_STREQ(saved[1].target, "\xA3\xF3" "d\x9F");
    for (int k = 1; k < 10; ++k) {
        EXPECT_STREQ(saved[k].phone, slots[k].phone) << k;
        EXPECT_STREQ(saved[k].target, slots[k].target) << k;
        EXPECT_STREQ(saved[k].text, slots[k].text) << k;
        EXPECT_STREQ(saved[k].time, slots[k].time) << k;
    }
}

// The timer's refresh leaves a row the user changed as typed, while the
// other rows follow the file; F5 saves it, and F6 drops an unsaved edit.
TEST_F(CallerIdWindow, TypedRowSurvivesTimerRefreshesUntilF5OrF6) {
    Slots slots{};
    slots[0] = Slot("600100200", "201", "");
    slots[1] = Slot("600100201", "202", "");
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window type 0x410B \"48123\"\n"
                                          "window tick\nwindow tick\n" +
                                          ExpectRow(1, 0, "48123") + "window key F5\n"
                                          "window type 0x4115 \"777\"\n"
                                          "window tick\n" + ExpectRow(2, 0, "777") + "window key F6\n" +
                                          ExpectRow(2, 0, "600100201") + ExpectRow(1, 0, "48123") +
                                          "window key F12\n");
    EXPECT_TRUE(result.ok) << result.error;
    Slots saved = ReadSlots();
    EXPECT_STREQ(saved[0].phone, "48123");
    EXPECT_STREQ(saved[0].target, "201");
    EXPECT_EQ(std::memcmp(&saved[1], &slots[1], sizeof saved[1]), 0);
}

// The day log option stays off: with it on, the listener's "I'm alive"
// line (every hundred short waits) could make the day log again between
// F4 and the look at it. The slot file stays, its ten slots free: other
// stations and readers keep it open, and Windows would refuse or hold up
// its deletion.
TEST_F(CallerIdWindow, F4RemovesTheDayLogAndFreesEverySlot) {
    Slots slots{};
    slots[3] = Slot("111", "201", "Pierwsza");
    test::WriteFile(kDayLog, "earlier line\n");
    Start(0, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window key F4\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\01-03-2024.LOG\" missing\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\CLIP.DAT\" lacks \"Pierwsza\"\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\CLIP.DAT\" exists\n"
                                          "window key F4\n"   // nothing left to clear: nothing said
                                          "window key F12\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(test::TakeConsole().find("message \"uwaga\":\n  LOG"), std::string::npos);
}

TEST_F(CallerIdWindow, F3ShowsTheContentOfTodaysDayLog) {
    Slots slots{};
    test::WriteFile(kDayLog, "01.03.2024 11:00:00 PC:s=1:u=ADMIN marker line\n");
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window key F3\n"
                                          "expect viewer \"PC:s=1:u=ADMIN marker line\"\n"
                                          "window key F12\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(refhost::ViewerPath(), "LOGS\\TELEFONY\\01-03-2024.LOG");
}

TEST_F(CallerIdWindow, CtrlPAsksAndPingsOnlyOnYes) {
    Slots slots{};
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "answer no\n"
                                          "window key Ctrl-P\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\01-03-2024.LOG\" lacks \"=ping\"\n"
                                          "answer yes\n"
                                          "window key Ctrl-P\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\01-03-2024.LOG\" contains "
                                          "\"S[255.255.255.255:1338]=ping\\tping\\tping\"\n"
                                          "window key F12\n");
    EXPECT_TRUE(result.ok) << result.error;
    std::string console = test::TakeConsole();
    EXPECT_EQ(test::CountOf(console, "question \"uwaga\":\n  Wysłanie ping w sieć UDP?\n"), 2) << console;
}

TEST_F(CallerIdWindow, EscCopiesTheSelectedRowsNipAndF12DoesNot) {
    Slots slots{};
    slots[0] = Slot("600100200", "201", "Pierwsza NIP:5260001246");
    slots[2] = Slot("600100202", "203", "Trzecia NIP:1234567890");
    Start(kLogOption, 2, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "expect choice 0x4101 2\n"
                                          "window key F12\n"
                                          "expect closed 0x5001\n"
                                          "expect clipboard \"\"\n"
                                          "action\n"
                                          "window key ESC\n"
                                          "expect closed 0x5002\n"
                                          "expect clipboard \"123-45-67-890\"\n"
                                          "action\n"
                                          "window key 1\n"
                                          "expect field 0x4165 \"Pierwsza NIP:5260001246\"\n"
                                          "window key ESC\n"
                                          "expect clipboard \"526-00-01-246\"\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_NE(test::ReadFile("MERLOX.INI").find("Pytaj=1,4,0,1338"), std::string::npos) << test::ReadFile("MERLOX.INI");
}

TEST_F(CallerIdWindow, LeavingSavesTheSettingsAndBroadcastsTheRestartOnTheNewPort) {
    Slots slots{};
    Start(kLogOption | kClipboardOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "expect check S on\n"
                                          "window key S\n"
                                          "window key P\n"
                                          "window type 0x4184 \"1339\"\n"
                                          "window key 0\n"
                                          "window key F12\n"
                                          "expect file \"LOGS\\\\TELEFONY\\\\01-03-2024.LOG\" contains "
                                          "\"S[255.255.255.255:1339]=restart\\trestart\\trestart\"\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_NE(test::ReadFile("MERLOX.INI").find("Pytaj=1,5,9,1339"), std::string::npos) << test::ReadFile("MERLOX.INI");
}

TEST_F(CallerIdWindow, ChosenSlotFileBecomesTheSettingAndCancelChangesNothing) {
    Slots slots{};
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "window key W\n"
                                          "window cancel-file\n"
                                          "expect input 0x4185 \"LOGS\\\\TELEFONY\\\\CLIP.DAT\"\n"
                                          "window key W\n"
                                          "window choose-file \"LOGS\\\\TELEFONY\\\\B.DAT\"\n"
                                          "expect input 0x4185 \"LOGS\\\\TELEFONY\\\\B.DAT\"\n"
                                          "window key ESC\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_NE(test::ReadFile("Ornitel.ini").find("Filename=LOGS\\TELEFONY\\B.DAT"), std::string::npos)
        << test::ReadFile("Ornitel.ini");
}

// Control bytes from the wire (0x01 opens directives, 0x02 highlights in
// the host's renderer) are shown as '?' in the status line and the rows;
// F5 stores the slot's own bytes for a row the user left alone.
TEST_F(CallerIdWindow, ControlBytesFromTheWireAreShownNotObeyed) {
    Slots slots{};
    slots[0] = Slot("6\x01" "00", "2\x02" "01", "\x01" "c\x01" "A\x02" "B\x05" "C\x7F" "D\tE");
    slots[1] = Slot("600\x05", "202", "Druga");
    Start(kLogOption, 0, &slots);
    refhost::ScriptResult result = Script("action\n"
                                          "expect field 0x4165 \"?c?A?B?C?D?E\"\n" +
                                          ExpectRow(1, 0, "6?00") + ExpectRow(1, 1, "2?01") +
                                          ExpectRow(2, 0, "600?") +
                                          "window type 0x4115 \"48123\"\n"
                                          "window key F5\n"
                                          "window key F12\n");
    ASSERT_TRUE(result.ok) << result.error;
    Slots saved = ReadSlots();
    EXPECT_EQ(std::memcmp(&saved[0], &slots[0], sizeof saved[0]), 0);
    EXPECT_STREQ(saved[1].phone, "48123");
}

// The arguments of the host calls behind "~W~ybierz", Ctrl-P and F3 that
// the host relies on, exactly as passed.
TEST_F(CallerIdWindow, ChooserPingQuestionAndViewerGetTheHostsArguments) {
    Slots slots{};
    Start(0, 0, &slots);
    host().trace = true;
    refhost::ScriptResult result = Script("action\n"
                                          "window key W\n"
                                          "window cancel-file\n"
                                          "answer no\n"
                                          "window key Ctrl-P\n"
                                          "window key F3\n"
                                          "window key F12\n");
    host().trace = false;
    EXPECT_TRUE(result.ok) << result.error;
    std::string console = test::TakeConsole();
    for (const char* call : {
             "trace: 51704 0, \"LOGS\\TELEFONY\\CLIP.DAT\", \"*.*\", 201, 0, 50, -1\n",
             "trace: 52028 \"uwaga\", \"Wysłanie ping w sieć UDP?\", 0x10006\n",
             "trace: 38020 \"l-1Log\", 0x7FFFFFF, \"LOGS\\TELEFONY\\01-03-2024.LOG\", 0, 6, 0\n",
             // the converter's output buffer is an address: the rest of the line
             ", 520, \".LOG\", -1, 1, 5\ntrace: 51711 \".LOG\"\n",
         })
        EXPECT_NE(console.find(call), std::string::npos) << call << console;
}

// F5 names the slot file it could not save: a directory (refused as
// Windows refuses it) and a name too long to use, shown cut with "...".
TEST_F(CallerIdWindow, F5FailureNamesADirectoryAndACutLongName) {
    std::filesystem::create_directories("LOGS/TELEFONY/KATALOG");
    const std::string longName = "D\\" + std::string(255, 'n');
    for (const std::string& name : {std::string("LOGS\\TELEFONY\\KATALOG"), longName}) {
        test::WriteFile("Ornitel.ini", "[Ornitel]\nFilename=" + name + "\n");
        Start(kLogOption, 0);
        refhost::ScriptResult result = Script("action\nwindow type 0x410B \"48123\"\nwindow key F5\nwindow key F12\n");
        EXPECT_TRUE(result.ok) << result.error;
        std::string console = test::TakeConsole();
        std::string shown = name.size() > 255 ? name.substr(0, 252) + "..." : name;
        EXPECT_NE(console.find("Zapis pliku telefonów: " + shown + " - nie udał się"), std::string::npos) << console;
        if (name.size() <= 255) {
            EXPECT_NE(console.find(name + " - blad otwarcia"), std::string::npos) << console;
        }
        session.Stop();
        started = false;
    }
}
