// The log viewer (38020, 35385, 51711) showing the content of the file it
// was opened on, and the clipboard, suggestion and key list the host keeps.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "host/imports.h"
#include "services/host_screen.h"
#include "support/test_support.h"

namespace {

// What the caller-ID window does for F3: the viewer opened on the day
// log's path, the title composed from the text 24 bytes into the path.
void ShowDayLogLikeTheWindow(char* path) {
    void* record = CallHost<Host::OpenViewer>("l-1Log", 0x7FFFFFF, path, 0, 6, 0);
    ASSERT_NE(record, nullptr);
    int32_t code = 0;
    std::memcpy(&code, record, sizeof code);
    char title[520];
    char* composed = CallHost<Host::ConvertText>(title, 520, path + 24, -1, code, 5);
    CallHost<Host::ShowViewer>(composed);
}

}  // namespace

TEST(LogViewer, ShowsTheContentOfTheFileItWasOpenedOn) {
    test::ScratchDirectory scratch;
    test::WriteFile("LOGS/TELEFONY/01-03-2024.LOG", "first line\r\nZapis \x9C\x86" "cze\n");
    char path[260] = "LOGS\\TELEFONY\\01-03-2024.LOG";
    test::TakeConsole();
    ShowDayLogLikeTheWindow(path);
    EXPECT_EQ(refhost::ViewerContent(), "first line\r\nZapis \x9C\x86" "cze\n");
    EXPECT_EQ(refhost::ViewerPath(), "LOGS\\TELEFONY\\01-03-2024.LOG");
    std::string console = test::TakeConsole();
    EXPECT_NE(console.find("  | first line\n  | Zapis Łącze\n"), std::string::npos) << console;
}

TEST(LogViewer, MissingFileIsSaidAndAViewerWithoutFileShowsItsText) {
    test::ScratchDirectory scratch;
    char path[260] = "LOGS\\TELEFONY\\02-03-2024.LOG";
    test::TakeConsole();
    ShowDayLogLikeTheWindow(path);
    EXPECT_EQ(refhost::ViewerContent(), "");
    EXPECT_NE(test::TakeConsole().find("the file LOGS\\TELEFONY\\02-03-2024.LOG does not exist"), std::string::npos);
    CallHost<Host::ShowViewer>("just this");
    EXPECT_EQ(refhost::ViewerContent(), "just this");
}

TEST(Clipboard, KeepsTheTextToItsNulOrItsLength) {
    CallHost<Host::SetClipboard>("123-45-67-890", -1);
    EXPECT_EQ(refhost::ClipboardText(), "123-45-67-890");
    CallHost<Host::SetClipboard>("123-45-67-890", 3);
    EXPECT_EQ(refhost::ClipboardText(), "123");
    CallHost<Host::SetClipboard>("12", 30);
    EXPECT_EQ(refhost::ClipboardText(), "12");
    EXPECT_NE(test::TakeConsole().find("clipboard: \"12\""), std::string::npos);
}

TEST(Suggestion, KeepsTheTextAndTheKeysUpToTheirEnd) {
    const uint16_t keys[] = {0x4700, 0xBF00, 0, 0x1234};
    CallHost<Host::OfferSuggestion>("5260001246");
    CallHost<Host::PushKeys>(keys);
    EXPECT_EQ(refhost::SuggestionText(), "5260001246");
    EXPECT_EQ(refhost::PushedKeys(), (std::vector<uint16_t>{0x4700, 0xBF00}));
    EXPECT_NE(test::TakeConsole().find("keys for the host: Home 0xBF00"), std::string::npos);
}
