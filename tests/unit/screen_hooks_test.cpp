// What the host hands a screen: message boxes, questions, the viewer and
// the file chooser go to the user who shows them; console lines go to the
// screen's event feed while it owns the terminal; a running window offers
// its controls by position and lets the focus choose them; and real time
// in the windows leaves the host's clock alone.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "host/imports.h"
#include "plumbing/host.h"
#include "screen/event_feed.h"
#include "services/services.h"
#include "support/test_support.h"
#include "window/window_builder.h"
#include "window/window_runner.h"

namespace {

struct ShownBox {
    std::string title, text;
    bool question;
};

// A user at a screen who shows everything and answers as told.
class ScreenUser : public refhost::WindowUser {
public:
    bool Act(refhost::RunningWindow&) override { return false; }
    std::optional<std::string> ChooseFile(std::string_view) override { return std::nullopt; }
    std::optional<std::string> ChooseFileStartingAt(std::string_view, std::string_view current) override {
        chooserStart = std::string(current);
        return choice;
    }
    bool ShowMessage(std::string_view title, std::string_view text, bool question, bool& yes) override {
        boxes.push_back({std::string(title), std::string(text), question});
        yes = answerYes;
        return true;
    }
    void ShowViewer(std::string_view title, std::optional<std::string_view> content) override {
        viewerTitle = std::string(title);
        viewerContent = content ? std::optional<std::string>(std::string(*content)) : std::nullopt;
        ++viewers;
    }

    bool answerYes = false;
    std::vector<ShownBox> boxes;
    std::optional<std::string> choice;
    std::string chooserStart;
    std::string viewerTitle;
    std::optional<std::string> viewerContent;
    int viewers = 0;
};

class ScreenHooks : public ::testing::Test {
protected:
    void SetUp() override { refhost::HostOptions().answer = 0x5009; }
    void TearDown() override { refhost::HostOptions().answer = 0x5009; }

    test::ScratchDirectory scratch;
    ScreenUser user;
    refhost::ScopedWindowUser installed{&user};
};

TEST_F(ScreenHooks, QuestionsAreAnsweredByTheUserAndMessagesShownToThem) {
    EXPECT_EQ(CallHost<Host::AskUser>("uwaga", "Wys\x92" "anie ping w sie\x86 UDP?", 0x10006), 0x5008);
    user.answerYes = true;
    EXPECT_EQ(CallHost<Host::AskUser>("uwaga", "Ping?", 0x10006), 0x5009);
    EXPECT_EQ(CallHost<Host::AskUser>("uwaga", "Wy\x92\x86" "czanie", 0x200), 0);
    ASSERT_EQ(user.boxes.size(), 3u);
    EXPECT_TRUE(user.boxes[0].question);
    EXPECT_EQ(user.boxes[0].text, "Wys\x92" "anie ping w sie\x86 UDP?");
    EXPECT_FALSE(user.boxes[2].question);
    CallHost<Host::StopMessage>(0, "STOP!!!", "Modu\x92 \x02%s\x01", 0, 0, "callerid.dll");
    ASSERT_EQ(user.boxes.size(), 4u);
    EXPECT_EQ(user.boxes[3].text, "Modu\x92 \x02" "callerid.dll\x01");
}

TEST_F(ScreenHooks, WithoutAScreenTheAnswerOptionStillAnswers) {
    refhost::ScopedWindowUser nobody(nullptr);
    refhost::HostOptions().answer = 0x5008;
    EXPECT_EQ(CallHost<Host::AskUser>("uwaga", "Ping?", 0x10006), 0x5008);
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(ScreenHooks, ViewerShowsTheFileItWasOpenedOnOrSaysItIsMissing) {
    test::WriteFile("day.log", "first\r\nsecond\r\n");
    char path[] = "day.log";
    ordinal_38020("l-1Log", 0x7FFFFFF, path, 0, 6, 0);
    ordinal_51711("Log");
    ASSERT_EQ(user.viewers, 1);
    EXPECT_EQ(user.viewerContent, "first\r\nsecond\r\n");
    EXPECT_EQ(user.viewerTitle, "Log");
    char missing[] = "none.log";
    ordinal_38020("l-1Log", 0x7FFFFFF, missing, 0, 6, 0);
    ordinal_51711("Log");
    ASSERT_EQ(user.viewers, 2);
    EXPECT_FALSE(user.viewerContent);
}

TEST_F(ScreenHooks, FileChooserOpensOnTheFieldsPathAndFillsTheField) {
    char field[201] = "LOGS\\TELEFONY\\CLIP.DAT";
    user.choice = "LOGS\\INNY.DAT";
    EXPECT_EQ(ordinal_51704(0, field, "*.*", sizeof field, 0, 50, -1), 0);
    EXPECT_EQ(user.chooserStart, "LOGS\\TELEFONY\\CLIP.DAT");
    EXPECT_STREQ(field, "LOGS\\INNY.DAT");
    user.choice.reset();
    EXPECT_EQ(ordinal_51704(0, field, "*.*", sizeof field, 0, 50, -1), -1);
    EXPECT_STREQ(field, "LOGS\\INNY.DAT");
}

TEST(ScreenEventFeed, ConsoleLinesGoToTheFeedOnlyWhileItOwnsTheTerminal) {
    refhost::screen::EventFeed feed;
    {
        refhost::screen::ScopedConsoleFeed owned(feed);
        refhost::PrintLine("clipboard: \"779-00-04-561\"");
        refhost::PrintLine("[Wybierz] timer -> 0x1002 (redraw)");
    }
    EXPECT_EQ(feed.LatestEvent(), "clipboard: \"779-00-04-561\"");
    EXPECT_EQ(feed.All().size(), 2u);
    uint64_t seen = feed.generation();
    refhost::PrintLine("refhost: after the screen");
    EXPECT_EQ(feed.generation(), seen);
    test::TakeConsole();
}

TEST(ScreenEventFeed, WindowStepsAndTraceAreKeptButAreNotHostEvents) {
    EXPECT_FALSE(refhost::screen::IsHostEvent("[Wybierz] field 0x410E shows \"x\""));
    EXPECT_FALSE(refhost::screen::IsHostEvent("trace: 52028 \"uwaga\""));
    EXPECT_FALSE(refhost::screen::IsHostEvent("  | a line of the log"));
    EXPECT_TRUE(refhost::screen::IsHostEvent("suggestion: \"1\""));
    refhost::screen::EventFeed feed;
    feed.Add("question \"uwaga\":\n  Wysłanie ping\n  w sieć UDP?");
    EXPECT_EQ(feed.LatestEvent(), "question \"uwaga\": Wysłanie ping w sieć UDP?");
    EXPECT_EQ(feed.All().size(), 3u);
}

// A window with a radio group, a check box, a command button, a closing
// button and a number input; the procedure counts the commands.
std::vector<int> g_commands;
int HOSTAPI CountCommands(int id, int event) {
    if (event == refhost::kEventCommand) g_commands.push_back(id);
    return 0;
}

TEST(ScreenRunningWindow, FocusChoosesControlsAndTheViewFollows) {
    std::vector<uint8_t> bytes = refhost::WindowDescriptionBuilder(700, "Test", {0, 0, 40, 8})
                                     .StaticText(0x4101, {2, 1, 0, 1}, "", 0)
                                     .RadioButton(0x4102, 0x0500, '1', {2, 2, 5, 1}, "~1~")
                                     .RadioButton(0x4103, 0x0500, '2', {2, 3, 5, 1}, "~2~")
                                     .CheckBox(0xFFFF, 0x0400, 0, {10, 2, 10, 1}, "Log")
                                     .Button(0x3F00, 0x0100, 0, {2, 6, 8, 1}, "Zapisz")
                                     .Button(0x5001, 0x0004, 0, {12, 6, 8, 1}, "Wyjdz")
                                     .NumberInput(0x4184, 0x0440, {10, 4, 8, 1})
                                     .Bytes();
    std::string error;
    auto description = refhost::ParseWindowDescription(bytes, error);
    ASSERT_TRUE(description) << error;
    ASSERT_EQ(description->dataSize, 6u);  // radio index, check box bits, the number
    uint8_t data[6] = {0, 0, 0, 0, 0x3A, 0x05};  // the number is 1338
    g_commands.clear();
    refhost::RunningWindow window(std::move(*description), data, &CountCommands);
    window.Open();
    EXPECT_EQ(window.ViewOf(7).text, "1338");
    EXPECT_TRUE(window.ViewOf(2).on);
    window.ChooseControl(3);
    EXPECT_FALSE(window.ViewOf(2).on);
    EXPECT_TRUE(window.ViewOf(3).on);
    window.ChooseControl(4);  // a check box without a hotkey is reached only by focus
    EXPECT_TRUE(window.ViewOf(4).on);
    window.ChooseControl(1);  // static text: nothing to choose
    window.ChooseControl(5);
    EXPECT_EQ(g_commands, (std::vector<int>{0x4103, 0x3F00}));
    EXPECT_FALSE(window.closed());
    window.ChooseControl(6);
    EXPECT_TRUE(window.closed());
    EXPECT_EQ(window.closedBy(), 0x5001);
    EXPECT_EQ(window.ViewOf(99).text, "");  // no such record: an empty view, no read outside
    test::TakeConsole();
}

TEST(ScreenClock, RealTimeInTheWindowsDoesNotMoveTheClockASecondTime) {
    refhost::CivilTime start{2024, 5, 1, 10, 0, 0};
    refhost::FixClock(start);
    refhost::SetWindowTimeMovesClock(false);
    refhost::AdvanceHostClockMilliseconds(5000);
    EXPECT_EQ(refhost::HostNow().second, 0);
    refhost::SetWindowTimeMovesClock(true);
    refhost::AdvanceHostClockMilliseconds(5000);
    EXPECT_EQ(refhost::HostNow().second, 5);
    refhost::RunWallClock();
}

}  // namespace
