// The script driver: bad scripts named by file and line before anything
// runs, lines in the wrong place, the first failure stopping the script,
// the host's contractor table and search window driven from a script, and
// the expectations about what the host holds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "host/imports.h"
#include "plumbing/host.h"
#include "script/script_driver.h"
#include "services/host_tables.h"
#include "services/services.h"
#include "support/test_support.h"

namespace {

refhost::ScriptResult RunText(const std::string& script) { return refhost::RunScript(script, {}, "s"); }

std::string ErrorOf(const std::string& script) {
    refhost::ScriptResult result = RunText(script);
    EXPECT_FALSE(result.ok) << script;
    return result.error;
}

// A table handler of the test's own, put into the contractor table's
// descriptor where the plug-in's hook would go.
std::vector<std::vector<int>> g_tableCalls;

int HOSTAPI RecordingTableHandler(int key, int a2, int a3, int a4, int a5, int a6, int a7, int a8, int a9,
                                  int column, int a11) {
    g_tableCalls.push_back({key, a2, a3, a4, a5, a6, a7, a8, a9, column, a11});
    return 77;
}

void SetTableHandler(TableHandler handler) {
    std::memcpy(refhost::ContractorTable()->bytes + refhost::kDescriptorHandlerOffset, &handler, sizeof handler);
}

std::vector<std::pair<int, int>> g_hookEvents;

int HOSTAPI RecordingSearchHook(int id, int event) {
    g_hookEvents.emplace_back(id, event);
    return refhost::HandlerRecord(0x73)->handler(id, event);
}

}  // namespace

// --- Bad scripts --------------------------------------------------------

TEST(ScriptParsing, MistakesAreNamedByScriptAndLineBeforeAnythingRuns) {
    const std::pair<const char*, const char*> cases[] = {
        {"answer no\n\nfrobnicate", "s:3: unknown command 'frobnicate'"},
        {"window bogus", "s:1: window takes key, type, tick, wait, choose-file or cancel-file"},
        {"window key F13", "s:1: window key takes a key: F5, ESC, Ctrl-P, W, 0x3F00; 'F13' is no key"},
        {"window key 16", "s:1: window key takes a key: F5, ESC, Ctrl-P, W, 0x3F00; '16' is no key"},
        {"window wait 10 20", "s:1: unexpected '20' at the end of the line"},
        {"window type 0x410B 48123", "s:1: window type takes an input id and a quoted text"},
        {"print \"abc", "s:1: a quoted text has no closing quote"},
        {"print \"a\\qb\"", "s:1: unknown escape \\q in a quoted text (use \\\\ for a backslash)"},
        {"expect timer maybe", "s:1: expect timer takes on or off"},
        {"clock set \"2024-13-01 00:00:00\"", "s:1: clock set: \"2024-13-01 00:00:00\" is no moment YYYY-MM-DD HH:MM:SS"},
        {"action 30001", "s:1: action takes the plug-in's export 30010 or 30009"},
        {"table key Ctrl-F column", "s:1: column takes a number"},
    };
    for (const auto& [script, error] : cases) EXPECT_EQ(ErrorOf(script), error);
    EXPECT_EQ(refhost::HostOptions().answer, 0x5009);  // the first line of the first script never ran
}

TEST(ScriptParsing, CommentsAndBlankLinesAreSkippedAndQuotesKeepTheirHashes) {
    refhost::ScriptResult result = RunText("# a comment\n\n   answer no   # and another\nprint \"#1 \\\"quoted\\\"\"\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(refhost::HostOptions().answer, 0x5008);
    EXPECT_NE(test::TakeConsole().find("\n#1 \"quoted\"\n"), std::string::npos);
}

// --- Lines in the wrong place -------------------------------------------

TEST(ScriptPlaces, WindowAndFileChooserLinesNeedTheirWindowAndActionsNeedAPlugin) {
    EXPECT_EQ(ErrorOf("window key F5"), "s:1: no window is open");
    EXPECT_EQ(ErrorOf("search key F1"), "s:1: no window is open");
    EXPECT_EQ(ErrorOf("window cancel-file"), "s:1: no file chooser is open");
    EXPECT_EQ(ErrorOf("action"), "s:1: no plug-in is loaded to take action 30010");
}

TEST(ScriptPlaces, MainScreenLinesWaitForTheWindowToClose) {
    EXPECT_EQ(ErrorOf("search open\ntable key Ctrl-F"),
              "s:2: this line needs the host's main screen, but window 115 (0x0073) [Szukaj kontrahenta] is open");
    EXPECT_EQ(ErrorOf("search open\nwindow choose-file \"A\""),
              "s:2: this line needs an open file chooser, but window 115 (0x0073) [Szukaj kontrahenta] is open");
}

TEST(ScriptPlaces, FirstFailureStopsTheScriptAndTheOpenWindowIsLeftWithEsc) {
    test::TakeConsole();
    refhost::ScriptResult result = RunText("search open\nexpect window 0x74\nprint \"never\"\n");
    EXPECT_EQ(result.error, "s:2: expected window 116 (0x0074); window 115 (0x0073) is on top");
    std::string console = test::TakeConsole();
    EXPECT_EQ(console.find("never"), std::string::npos);
    EXPECT_NE(console.find("[Szukaj kontrahenta] closed with 0x5002"), std::string::npos);
    EXPECT_EQ(refhost::CurrentWindow(), nullptr);
}

// --- Host lines ---------------------------------------------------------

TEST(ScriptHost, AnswerAndClockLinesSetTheHost) {
    ASSERT_TRUE(RunText("answer no\nclock set \"2024-03-01 23:59:30\"\nclock advance 31\n").ok);
    EXPECT_EQ(refhost::HostOptions().answer, 0x5008);
    refhost::CivilTime now = refhost::HostNow();
    EXPECT_EQ(std::vector<int>({now.year, now.month, now.day, now.hour, now.minute, now.second}),
              std::vector<int>({2024, 3, 2, 0, 0, 1}));
    ASSERT_TRUE(RunText("answer yes").ok);
    EXPECT_EQ(refhost::HostOptions().answer, 0x5009);
}

TEST(ScriptHost, TableKeyCallsTheTableHandlerWithTheKeyFirstAndTheColumnTenth) {
    SetTableHandler(&RecordingTableHandler);
    refhost::ScriptResult result = RunText("table key Ctrl-F column 7 row 3\ntable key z\ntable key Ctrl-G column 2\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(g_tableCalls, (std::vector<std::vector<int>>{{6, 35, 3, 0, 0, 0, 0, 0, 0, 7, 0},
                                                          {122, 35, 1, 0, 0, 0, 0, 0, 0, 1, 0},
                                                          {7, 35, 1, 0, 0, 0, 0, 0, 0, 2, 0}}));
    EXPECT_NE(test::TakeConsole().find("table 35 \"k4\": the handler returned 77"), std::string::npos);
}

TEST(ScriptHost, TableKeyWithoutTheTableFails) {
    refhost::HostOptions().tableSize = 0;
    EXPECT_EQ(ErrorOf("table key Ctrl-G"), "s:1: the host has no contractor table (table 35)");
}

TEST(ScriptHost, SearchWindowEventsGoThroughTheHookAndOnToTheHost) {
    ordinal_52020(0x73, &RecordingSearchHook);
    test::TakeConsole();
    refhost::ScriptResult result = RunText("search open\n"
                                       "search key F1\n"
                                       "search type 0x4101 \"5260001246\"\n"
                                       "expect rect 0x4009 29 2 10 1\n"
                                       "search key S\n"
                                       "expect closed 0x4009\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(g_hookEvents, (std::vector<std::pair<int, int>>{
                                {0x73, 0xFFFE}, {0x3B00, 1}, {0x4009, 2}, {0x4009, 0xFFFF}}));
    EXPECT_NE(test::TakeConsole().find("search window: the host searches its contractors for NIP \"5260001246\""),
              std::string::npos);
    ordinal_52021(0x73);
}

TEST(ScriptHost, SearchWindowWithoutAHookRunsOnItsOwn) {
    refhost::ScriptResult result = RunText("search open\nsearch type 0x4101 \"1\"\nsearch key ESC\nexpect closed 0x5002\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_TRUE(g_hookEvents.empty());
}

// --- Texts and expectations ---------------------------------------------

TEST(ScriptTexts, QuotedTextsAreTypedInTheHostsCodePage) {
    refhost::ScriptResult result = RunText("search open\n"
                                       "search type 0x4101 \"Łódź\\\\\"\n"
                                       "expect input 0x4101 \"\\x9C\\xA2d\\xA6\\\\\"\n"
                                       "search key ESC\n");
    EXPECT_TRUE(result.ok) << result.error;
}

TEST(ScriptExpectations, ClipboardSuggestionAndKeysAreReadAsTheHostKeepsThem) {
    const uint16_t keys[] = {0x4700, 0xBF00, 0};
    CallHost<Host::SetClipboard>("123-45-67-890 and more", 13);
    CallHost<Host::OfferSuggestion>("123-45-67-890");
    CallHost<Host::PushKeys>(keys);
    refhost::ScriptResult result = RunText("expect clipboard \"123-45-67-890\"\n"
                                       "expect suggestion \"123-45-67-890\"\n"
                                       "expect keys Home 0xBF00\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ErrorOf("expect clipboard \"\""), "s:1: expected the clipboard to hold \"\"; it holds \"123-45-67-890\"");
    EXPECT_EQ(ErrorOf("expect keys Home"), "s:1: expected the keys Home; the host was given Home 0xBF00");
}

TEST(ScriptExpectations, FilesAreFoundByTheHostsPaths) {
    test::ScratchDirectory scratch;
    test::WriteFile("LOGS/TELEFONY/X.LOG", "R[1.2.3.4]:abc\n");
    refhost::ScriptResult result = RunText("expect file \"LOGS\\\\TELEFONY\\\\X.LOG\" exists\n"
                                       "expect file \"LOGS\\\\TELEFONY\\\\X.LOG\" contains \"R[1.2.3.4]\"\n"
                                       "expect file \"LOGS\\\\TELEFONY\\\\X.LOG\" lacks \"S[\"\n"
                                       "expect file \"LOGS\\\\TELEFONY\\\\Y.LOG\" missing\n");
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(ErrorOf("expect file \"LOGS\\\\TELEFONY\\\\X.LOG\" missing"),
              "s:1: expected no file \"LOGS\\TELEFONY\\X.LOG\"; it exists");
}

TEST(ScriptExpectations, WindowExpectationsNeedAnOpenWindow) {
    EXPECT_EQ(ErrorOf("expect field 0x4165 \"\""), "s:1: no window is open");
    EXPECT_EQ(ErrorOf("expect closed 0x5002"), "s:1: no window has closed yet");
    EXPECT_TRUE(RunText("expect window none").ok);
}
