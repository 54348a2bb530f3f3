// Whole sessions of the built plug-in in the reference host, compared call
// by call with hand-written transcripts of the host calls they must make
// (tests/transcripts/). The listener's calls are compared as a stream of
// their own, so that the two threads' interleaving does not matter; each
// step waits until the listener has made the calls the transcript puts
// before it. The host's clock stands still and the listener's pauses are
// whole, so that no pause ends within a session.
#include <cstdio>
#include <functional>

#include "support/udp_helpers.h"
#include "transcript.h"
#include "window_fixture.h"

namespace {

constexpr char kTranscripts[] = CALLERID_SOURCE_DIR "/tests/transcripts/";
constexpr int kPort = 1338;

struct Session {
    const char* name;                     // the transcript's file name, without ".txt"
    std::function<void(refhost::Options&)> setUp;
};

void Settings(int options, int selectedSlot = 0) {
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1," + std::to_string(options) + "," +
                                      std::to_string(selectedSlot) + ",1338\n");
}

void SlotWithNip() {
    CallRecord slots[10] = {};
    std::snprintf(slots[0].phone, sizeof slots[0].phone, "600100200");
    std::snprintf(slots[0].target, sizeof slots[0].target, "201");
    std::snprintf(slots[0].text, sizeof slots[0].text, "Firma NIP:1234567890");
    std::snprintf(slots[0].date, sizeof slots[0].date, "01.03.2024");
    std::snprintf(slots[0].time, sizeof slots[0].time, "11:59:01");
    test::WriteFile("LOGS/TELEFONY/CLIP.DAT", std::string(reinterpret_cast<const char*>(slots), sizeof slots));
}

void PrintTo(const Session& session, std::ostream* out) { *out << session.name; }

std::string Unescaped(const std::string& text) {
    std::string bytes;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 't') {
            bytes += '\t';
            ++i;
        } else {
            bytes += text[i];
        }
    }
    return bytes;
}

class HostCallTranscript : public PluginWindowTest, public ::testing::WithParamInterface<Session> {
protected:
    void SetUp() override {
        PluginWindowTest::SetUp();
        if (IsSkipped()) return;
        host().pauseDivisor = 1;
        host().hostDate = "Mar  1 2024";
        GetParam().setUp(host());
    }

    // The trace lines printed since the last call, by thread.
    void Collect() {
        for (const std::string& line : refhost::TakeConsoleLines()) {
            if (transcript::StartsWith(line, transcript::kListenerPrefix))
                listener.push_back(line);
            else if (transcript::StartsWith(line, transcript::kUiPrefix))
                ui.push_back(line);
        }
    }

    void WaitForListener(std::size_t lines) {
        test::WaitUntil([&] {
            Collect();
            return listener.size() >= lines;
        });
    }

    void RunScript(std::string& script) {
        if (script.empty()) return;
        refhost::ScriptResult result = Script(script);
        EXPECT_TRUE(result.ok) << result.error;
        script.clear();
    }

    // Script lines in a row run as one script; the other steps are the
    // host's own doings and the box's datagrams.
    void Run(const transcript::Transcript& expected) {
        std::string script;
        for (const transcript::Step& step : expected.steps) {
            std::vector<std::string> words = transcript::Words(step.words);
            bool scriptLine = words[0] != "start" && words[0] != "notice" && words[0] != "report" &&
                              words[0] != "stop" && words[0] != "send";
            if (scriptLine) {
                script += step.words + "\n";
                continue;
            }
            RunScript(script);
            WaitForListener(step.listenerLinesBefore);
            if (words[0] == "start") {
                started = session.Start() == 0;
                if (started) {
                    EXPECT_TRUE(test::WaitUntil([] { return test::UdpPortBound(kPort); }));
                }
            } else if (words[0] == "notice") {
                session.ShowNotice();
            } else if (words[0] == "report") {
                session.ReportFailure();
            } else if (words[0] == "stop") {
                session.Stop();
                started = false;
            } else if (words[0] == "send") {
                ASSERT_EQ(words.size(), 2u) << step.words;
                EXPECT_TRUE(test::SendUdp(kPort, Unescaped(words[1])));
            }
        }
        RunScript(script);
        WaitForListener(expected.listener.size());
        Collect();
    }

    std::vector<std::string> ui, listener;
};

TEST_P(HostCallTranscript, CallsAreThoseOfTheTranscript) {
    std::string error;
    transcript::Blocks blocks = transcript::ReadBlocks(std::string(kTranscripts) + "blocks.txt", error);
    ASSERT_EQ(error, "");
    transcript::Transcript expected = transcript::Read(kTranscripts + std::string(GetParam().name) + ".txt", blocks);
    ASSERT_EQ(expected.error, "");
    Load();
    host().trace = true;
    Run(expected);
    host().trace = false;
    std::map<std::string, std::string> bound;
    for (const std::string& parting : {transcript::Compare("user-interface thread", expected.ui, ui, bound),
                                       transcript::Compare("listener thread", expected.listener, listener, bound)})
        if (!parting.empty()) ADD_FAILURE() << parting;
}

const Session kSessions[] = {
    {"start_notice_stop", [](refhost::Options&) {}},
    {"datagram_filed", [](refhost::Options&) { Settings(4); }},
    {"window_visit", [](refhost::Options&) { Settings(2); SlotWithNip(); }},
    {"search_keys", [](refhost::Options&) { Settings(3); SlotWithNip(); }},
    {"search_window", [](refhost::Options&) { Settings(0); SlotWithNip(); }},
    {"missing_slot_file", [](refhost::Options&) { Settings(1); }},
    {"refused_features", [](refhost::Options& host) { host.features = 0x10; }},
    {"refused_service", [](refhost::Options& host) { host.lackOrdinals = {52028}; }},
    {"refused_old_host", [](refhost::Options& host) { host.hostDate = "Dec 31 2022"; }},
    {"refused_unreadable_date", [](refhost::Options& host) { host.datesReadable = false; }},
    {"refused_interface_level", [](refhost::Options& host) { host.interfaceLevel = 113; }},
    {"refused_table", [](refhost::Options& host) { host.tableSize = 0; }},
};

INSTANTIATE_TEST_SUITE_P(Sessions, HostCallTranscript, ::testing::ValuesIn(kSessions),
                         [](const ::testing::TestParamInfo<Session>& info) { return std::string(info.param.name); });

}  // namespace
