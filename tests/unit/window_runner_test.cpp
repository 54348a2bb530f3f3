// The reference host's window runner with a small window built here and a
// procedure of the test's own: the events the procedure receives and when,
// what keys choose, the binding of the data record, the inputs' limits,
// display texts, rectangles, nested windows and the file chooser.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "host/imports.h"
#include "script/script_driver.h"
#include "support/test_support.h"
#include "window/window_builder.h"
#include "window/window_runner.h"

namespace {

using Event = std::pair<int, int>;  // id, event

constexpr uint16_t kWindowId = 500;
constexpr uint16_t kExit = 0x5001, kSave = 0x3F00, kChoose = 0x4186;
constexpr uint16_t kGroup = 0x4101, kStatus = 0x4165, kName = 0x4200, kPort = 0x4201;

// Data record: radio index at 0, check box bits at 2, the name (5
// characters and its NUL) at 4, the port at 10.
#pragma pack(push, 1)
struct Record {
    uint16_t choice;
    uint16_t checks;
    char name[6];
    int16_t port;
};
#pragma pack(pop)
static_assert(sizeof(Record) == 12);

std::vector<uint8_t> TestWindow() {
    using refhost::WindowDescriptionBuilder;
    return WindowDescriptionBuilder(kWindowId, "Test", {0, 0, 60, 10})
        .Button(kExit, 0x0004, 0x8600, {2, 8, 11, 1}, "\x05" "F12\x01 Wyjdz")
        .Button(kSave, 0x0100, 0, {16, 8, 11, 1}, "\x05" "F5\x01 Zapisz")
        .Button(kChoose, 0x0180, 'W', {30, 8, 10, 1}, "~W~ybierz")
        .StaticText(kGroup, {2, 1, 0, 1}, "", 0)
        .RadioButton(0x4102, 0x0500, '1', {2, 2, 5, 1}, "~1~")
        .RadioButton(0x4103, 0x0500, '2', {2, 3, 5, 1}, "~2~")
        .RadioButton(0x4104, 0x0500, '3', {2, 4, 5, 1}, "~3~")
        .DisplayField(kStatus, {10, 2, 40, 1})
        .CheckBox(0xFFFF, 0x0400, 'P', {10, 3, 20, 1}, "~P~odpowiedz")
        .CheckBox(0xFFFF, 0x0400, 'S', {10, 4, 20, 1}, "~S~chowek")
        .TextInput(kName, 0x0440, {10, 5, 10, 1}, 5)
        .NumberInput(kPort, 0x0440, {10, 6, 8, 1})
        .Bytes();
}

// The test's window procedure: records every event, and runs what the
// test asked for on an event.
struct Procedure {
    std::vector<Event> events;
    std::function<int(int id, int event)> on = [](int, int) { return 0; };
};
Procedure g_procedure;

int HOSTAPI RecordingProcedure(int id, int event) {
    g_procedure.events.emplace_back(id, event);
    return g_procedure.on(id, event);
}

// The procedure a window of the plug-in would have: the timer armed at
// opening, every command handled.
int ArmTimerOnOpen(int, int event) {
    if (event == refhost::kEventOpened) CallHost<Host::WindowTimer>(2000);
    return event == refhost::kEventCommand ? -2 : 0;
}

class WindowRunner : public ::testing::Test {
protected:
    void SetUp() override { g_procedure = Procedure{}; }

    // Runs the test window with the script as its user; returns the id it
    // closed with.
    int Run(const std::string& script, Record* record = nullptr) {
        std::string error;
        auto parsed = refhost::ParseScript(script, "test", error);
        EXPECT_TRUE(parsed) << error;
        driver = std::make_unique<refhost::ScriptDriver>(std::move(*parsed), refhost::ScriptContext{});
        return CallHost<Host::RunWindow>(description.data(), kWindowId, record ? record : &data, &RecordingProcedure);
    }

    // The events after the opened event, which every run starts with.
    std::vector<Event> EventsAfterOpening() const {
        std::vector<Event> events = g_procedure.events;
        EXPECT_FALSE(events.empty());
        if (!events.empty()) {
            EXPECT_EQ(events.front(), Event(kWindowId, 0xFFFE));
            events.erase(events.begin());
        }
        return events;
    }

    std::vector<uint8_t> description = TestWindow();
    Record data{};
    std::unique_ptr<refhost::ScriptDriver> driver;
};

const Event kTimer{0, 0x000A};

}  // namespace

// --- Events -------------------------------------------------------------

TEST_F(WindowRunner, TimerFiresEveryIntervalOnlyWhileArmedAndTheClosingButtonEndsIt) {
    g_procedure.on = [](int id, int event) {
        if (event == refhost::kEventOpened) CallHost<Host::WindowTimer>(2000);
        if (event == refhost::kEventCommand && id == kChoose) CallHost<Host::WindowTimer>(-1);
        return event == refhost::kEventCommand ? -2 : 0;
    };
    int closedBy = Run("window wait 1999\n"
                       "window wait 1\n"
                       "window key F5\n"
                       "window wait 4500\n"
                       "window key w\n"
                       "window wait 10000\n"
                       "window key F12\n");
    EXPECT_EQ(closedBy, kExit);
    EXPECT_EQ(EventsAfterOpening(), (std::vector<Event>{kTimer,
                                                         {kSave, 1},
                                                         kTimer,
                                                         kTimer,
                                                         {kChoose, 1},
                                                         {kExit, 2},
                                                         {kExit, 0xFFFF}}));
    EXPECT_FALSE(driver->failed()) << driver->error();
    EXPECT_EQ(refhost::LastClosingId(), kExit);
    EXPECT_EQ(refhost::CurrentWindow(), nullptr);
}

TEST_F(WindowRunner, ArmingAgainStartsTheIntervalAnewAndTickWaitsOneInterval) {
    g_procedure.on = [](int id, int event) {
        if (event == refhost::kEventOpened || (event == refhost::kEventCommand && id == kSave))
            CallHost<Host::WindowTimer>(2000);
        return 0;
    };
    Run("window wait 1500\n"
        "window key F5\n"   // re-armed: the 1500 ms so far no longer count
        "window wait 1500\n"
        "window tick\n"
        "window key ESC\n");
    EXPECT_EQ(EventsAfterOpening(), (std::vector<Event>{{kSave, 1}, kTimer, {0x5002, 2}, {0x5002, 0xFFFF}}));
}

TEST_F(WindowRunner, TimeMovesTheHostClockAlong) {
    refhost::FixClock({2024, 3, 1, 10, 0, 0});
    g_procedure.on = [](int, int event) {
        if (event == refhost::kEventTimer) {
            char time[16];
            CallHost<Host::CurrentTime>(time, 1);
            CallHost<Host::ShowText>(kStatus, time);
        }
        return ArmTimerOnOpen(0, event);
    };
    Run("window wait 4000\n"
        "expect field 0x4165 \"10:00:04\"\n"
        "window wait 500\n"
        "window wait 500\n"
        "window wait 1000\n"
        "expect field 0x4165 \"10:00:06\"\n"
        "window key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
}

TEST_F(WindowRunner, EscLeavesWithItsIdAndOtherKeysReachTheProcedureAsCommands) {
    EXPECT_EQ(Run("window key F1\nwindow key Ctrl-P\nwindow key ESC\n"), 0x5002);
    EXPECT_EQ(EventsAfterOpening(), (std::vector<Event>{{0x3B00, 1}, {0x0010, 1}, {0x5002, 2}, {0x5002, 0xFFFF}}));
}

// F6 carries the command flag and reaches the procedure; F12, without it,
// closes the window with its own id (not ESC's), chosen by its hotkey.
TEST_F(WindowRunner, ButtonsWithoutTheCommandFlagCloseTheWindow) {
    std::vector<uint8_t> bytes = refhost::WindowDescriptionBuilder(7, "Two", {0, 0, 30, 5})
                                     .Button(0x5001, 0x0004, 0x8600, {1, 1, 10, 1}, "\x05" "F12\x01 Wyjdz")
                                     .Button(0x4000, 0x0100, 0, {12, 1, 10, 1}, "\x05" "F6\x01 Odswiez")
                                     .Bytes();
    std::string error;
    refhost::ScriptDriver driver(*refhost::ParseScript("window key F6\nwindow key F12\n", "test", error), {});
    EXPECT_EQ(CallHost<Host::RunWindow>(bytes.data(), 7, nullptr, &RecordingProcedure), 0x5001);
    EXPECT_EQ(g_procedure.events,
              (std::vector<Event>{{7, 0xFFFE}, {0x4000, 1}, {0x5001, 2}, {0x5001, 0xFFFF}}));
}

TEST_F(WindowRunner, WindowWithoutAUserIsLeftWithEsc) {
    EXPECT_EQ(CallHost<Host::RunWindow>(description.data(), kWindowId, &data, &RecordingProcedure), 0x5002);
    EXPECT_EQ(EventsAfterOpening(), (std::vector<Event>{{0x5002, 2}, {0x5002, 0xFFFF}}));
}

TEST_F(WindowRunner, DamagedDescriptionIsRefusedWithoutRunningTheProcedure) {
    description[0] = 0xFF;  // a total length far beyond the bytes
    description[1] = 0xFF;
    test::TakeConsole();
    EXPECT_EQ(CallHost<Host::RunWindow>(description.data(), kWindowId, &data, &RecordingProcedure), 0);
    EXPECT_TRUE(g_procedure.events.empty());
    EXPECT_NE(test::TakeConsole().find("the window cannot be shown"), std::string::npos);
}

// --- Binding ------------------------------------------------------------

TEST_F(WindowRunner, RecordIsShownAtOpeningAndCollectedByTheExchange) {
    data = {2, 0x0002 | 0x0008, "abc", -1234};  // bit 8 belongs to no check box
    Record collected{};
    g_procedure.on = [&collected](int, int event) {
        if (event == refhost::kEventCollect) CallHost<Host::ExchangeWindowData>(&collected, 1);
        return 0;
    };
    Run("expect choice 0x4101 2\n"
        "expect check P off\n"
        "expect check S on\n"
        "expect input 0x4200 \"abc\"\n"
        "expect input 0x4201 \"-1234\"\n"
        "window key 1\n"
        "window key P\n"
        "window key s\n"
        "window type 0x4200 \"xy\"\n"
        "window type 0x4201 \"1338\"\n"
        "window key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
    EXPECT_EQ(collected.choice, 0);
    EXPECT_EQ(collected.checks, 0x0001);
    EXPECT_EQ(std::string(collected.name, sizeof collected.name), std::string("xy\0\0\0\0", 6));
    EXPECT_EQ(collected.port, 1338);
}

TEST_F(WindowRunner, ShowingAnotherRecordChangesTheControls) {
    g_procedure.on = [](int id, int event) {
        if (event == refhost::kEventCommand && id == kSave) {
            Record shown = {1, 3, "zz", 7};
            CallHost<Host::ExchangeWindowData>(&shown, 0);
        }
        return 0;
    };
    Run("window key F5\n"
        "expect choice 0x4103 1\n"
        "expect check P on\n"
        "expect check S on\n"
        "expect input 0x4200 \"zz\"\n"
        "expect input 0x4201 \"7\"\n"
        "window key F12\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
}

TEST_F(WindowRunner, RadioButtonsReachTheProcedureAndCheckBoxesDoNot) {
    Run("window key 3\nwindow key P\nwindow key ESC\n");
    EXPECT_EQ(EventsAfterOpening(), (std::vector<Event>{{0x4104, 1}, {0x5002, 2}, {0x5002, 0xFFFF}}));
}

TEST_F(WindowRunner, UnterminatedTextInTheRecordShowsNoMoreThanTheInputHolds) {
    std::memcpy(data.name, "abcdef", 6);  // no NUL within the field
    Run("expect input 0x4200 \"abcde\"\nwindow key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
}

// --- Inputs -------------------------------------------------------------

TEST_F(WindowRunner, TextInputHoldsAtMostItsMaximumLength) {
    Run("window type 0x4200 \"abcdefgh\"\n"
        "expect input 0x4200 \"abcde\"\n"
        "window type 0x4200 \"Łódź\"\n"
        "expect input 0x4200 \"Łódź\"\n"
        "window key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
}

TEST_F(WindowRunner, NumberInputKeepsItsBoundsAndSixTypedCharacters) {
    data.port = 5;
    Run("window type 0x4201 \"-32767\"\n"
        "expect input 0x4201 \"-32767\"\n"
        "window type 0x4201 \"32767\"\n"
        "expect input 0x4201 \"32767\"\n"
        "window type 0x4201 \"32768\"\n"    // refused: the input keeps its value
        "expect input 0x4201 \"32767\"\n"
        "window type 0x4201 \"-32768\"\n"
        "expect input 0x4201 \"32767\"\n"
        "window type 0x4201 \"0001234\"\n"  // six characters reach it: 000123
        "expect input 0x4201 \"123\"\n"
        "window type 0x4201 \"1a2-3\"\n"    // only digits and a leading minus
        "expect input 0x4201 \"123\"\n"
        "window type 0x4201 \"-\"\n"
        "expect input 0x4201 \"0\"\n"
        "window key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
}

TEST_F(WindowRunner, TypingIntoAMissingInputFailsTheScript) {
    Run("window type 0x4165 \"x\"\n");
    EXPECT_EQ(driver->error(), "test:1: the window has no input 0x4165");
}

// --- Display texts and rectangles ---------------------------------------

TEST_F(WindowRunner, DisplayFieldsAndTheExtraLineKeepTheirTexts) {
    g_procedure.on = [](int, int event) {
        if (event != refhost::kEventOpened) return 0;
        EXPECT_EQ(CallHost<Host::ShowText>(kStatus, "\x01" "c" "\x01" "Firma NIP:1"), 0);
        EXPECT_EQ(CallHost<Host::ShowText>(0, "12-34 (0:05)"), 0);
        EXPECT_EQ(CallHost<Host::ShowText>(0x4999, "nowhere"), -1);
        return 0;
    };
    Run("expect field 0x4165 \"Firma NIP:1\"\nexpect field 0 \"12-34 (0:05)\"\nwindow key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
    EXPECT_EQ(refhost::CurrentWindow(), nullptr);
}

TEST_F(WindowRunner, RectanglesOfTheWindowAndItsControlsCanBeMoved) {
    g_procedure.on = [](int, int event) {
        if (event != refhost::kEventOpened) return 0;
        int16_t rect[4] = {};
        EXPECT_EQ(CallHost<Host::WindowRectangle>(rect), 0);
        EXPECT_EQ(rect[2], 60);
        rect[2] += 10;
        CallHost<Host::SetWindowRectangle>(rect);
        EXPECT_EQ(CallHost<Host::ControlRect>(kName, rect), 0);
        EXPECT_EQ(rect[0], 10);
        rect[0] += 10;
        CallHost<Host::SetControlRect>(kName, rect);
        EXPECT_EQ(CallHost<Host::ControlRect>(0x4999, rect), -1);
        return 0;
    };
    Run("expect rect window 0 0 70 10\nexpect rect 0x4200 20 5 10 1\nwindow key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
}

TEST_F(WindowRunner, ServicesWithoutAnOpenWindowDoNothing) {
    Record record{};
    int16_t rect[4] = {1, 2, 3, 4};
    EXPECT_EQ(CallHost<Host::ExchangeWindowData>(&record, 1), -1);
    EXPECT_EQ(CallHost<Host::ShowText>(kStatus, "x"), -1);
    EXPECT_EQ(CallHost<Host::WindowTimer>(2000), -1);
    EXPECT_EQ(CallHost<Host::WindowRectangle>(rect), -1);
    EXPECT_EQ(rect[0], 1);
}

// --- Nesting and the file chooser ---------------------------------------

TEST_F(WindowRunner, WindowOpenedByTheProcedureTakesTheLinesUntilItCloses) {
    static std::vector<uint8_t> inner = refhost::WindowDescriptionBuilder(9, "Inner", {0, 0, 20, 5})
                                            .TextInput(0x10, 0x0440, {1, 1, 10, 1}, 8)
                                            .Bytes();
    static int innerClosedBy = 0;
    g_procedure.on = [](int id, int event) {
        if (event == refhost::kEventCommand && id == kSave) {
            char innerData[9] = "old";
            innerClosedBy = CallHost<Host::RunWindow>(inner.data(), 9, innerData, &RecordingProcedure);
        }
        return 0;
    };
    Run("window key F5\n"
        "expect window 9\n"
        "expect input 0x10 \"old\"\n"
        "window key F12\n"   // the inner window has no F12 button: a command to it
        "window key ESC\n"
        "expect window 500\n"
        "window key F12\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
    EXPECT_EQ(innerClosedBy, 0x5002);
    EXPECT_EQ(EventsAfterOpening(), (std::vector<Event>{{kSave, 1},
                                                         {9, 0xFFFE},
                                                         {0x8600, 1},
                                                         {0x5002, 2},
                                                         {0x5002, 0xFFFF},
                                                         {kExit, 2},
                                                         {kExit, 0xFFFF}}));
}

TEST_F(WindowRunner, FileChooserTakesTheScriptsPathOrItsCancel) {
    static std::vector<std::pair<int, std::string>> choices;
    choices.clear();
    g_procedure.on = [](int id, int event) {
        if (event != refhost::kEventCommand || id != kChoose) return 0;
        char path[16] = "LOGS\\OLD.DAT";
        int result = CallHost<Host::ChooseFile>(0, path, "*.*", static_cast<int>(sizeof path), 0, 50, -1);
        choices.emplace_back(result, path);
        return 0;
    };
    Run("window key W\n"
        "window choose-file \"LOGS\\\\B.DAT\"\n"
        "window key W\n"
        "window cancel-file\n"
        "window key W\n"
        "window choose-file \"LOGS\\\\A-PATH-TOO-LONG.DAT\"\n"
        "window key ESC\n");
    EXPECT_FALSE(driver->failed()) << driver->error();
    EXPECT_EQ(choices, (std::vector<std::pair<int, std::string>>{
                           {0, "LOGS\\B.DAT"}, {-1, "LOGS\\OLD.DAT"}, {-1, "LOGS\\OLD.DAT"}}));
}

TEST_F(WindowRunner, ScriptEndingWithTheWindowOpenFailsAndLeavesItWithEsc) {
    EXPECT_EQ(Run("window key F5\n"), 0x5002);
    EXPECT_EQ(driver->error(), "test:1: the script ended while window 500 (0x01F4) [Test] was open");
}
