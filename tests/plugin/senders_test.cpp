// The office network's trust boundary in the reference host: the box at
// 127.0.0.1 is the only sender in "Nadawcy", another device sends from
// 127.0.0.2. Also: a datagram's line ends and escapes never reach the
// day log, whatever the host's append service does with them.
#include "plugin_fixture.h"
#include "storage/call_record.h"
#include "support/udp_helpers.h"

namespace {

constexpr char kDayLog[] = "LOGS/TELEFONY/01-03-2024.LOG";
constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
constexpr char kBox[] = "127.0.0.1";
constexpr char kOther[] = "127.0.0.2";

class Senders : public PluginTest {
protected:
    void SetUp() override {
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        host().pauseDivisor = 100;
        port = test::FreeUdpPort();
    }
    void TearDown() override {
        if (started) session.Stop();
    }

    void StartListening(const std::string& senders) {
        test::SeedHostSettings(4, port);
        test::WriteFile("Ornitel.ini", "[Ornitel]\nNadawcy=" + senders + "\n");
        Load();
        ASSERT_EQ(session.Start(), 0);
        started = true;
        ASSERT_TRUE(WaitForListening(1));
    }

    bool WaitForListening(int times) {
        return test::WaitUntil([&] {
            return test::CountEvent(Log(), "UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(port)) >= times;
        });
    }

    static test::DayLogLines Log() { return test::SplitDayLog(test::ReadFile(kDayLog)); }

    // The box's call, waited for until it is filed; whatever was sent
    // before it has been judged by then.
    void FromTheBox(const std::string& datagram) {
        int filed = test::CountEvent(Log(), "Zapis");
        ASSERT_TRUE(test::SendUdpFrom(kBox, port, datagram));
        ASSERT_TRUE(test::WaitUntil([&] { return test::CountEvent(Log(), "Zapis") > filed; })) << test::ReadFile(kDayLog);
    }

    static const CallRecord& Slot(const std::string& file, int index) {
        return reinterpret_cast<const CallRecord*>(file.data())[index];
    }

    int port = 0;
    bool started = false;
};

}  // namespace

TEST_F(Senders, AnotherDeviceChangesNoSlotTakesNoneAndSuppressesNothing) {
    StartListening(kBox);
    FromTheBox("600100200\t201\t\t\tFirma NIP:1234567890");
    // The other device: another company's NIP for the box's target, ten
    // new targets, and the phone of a caller the box is about to report.
    ASSERT_TRUE(test::SendUdpFrom(kOther, port, "600100200\t201\t\t\tObca NIP:9999999999"));
    for (int i = 0; i < 10; ++i)
        ASSERT_TRUE(test::SendUdpFrom(kOther, port, "7000" + std::to_string(i) + "\tT" + std::to_string(i) + "\t\t\t"));
    ASSERT_TRUE(test::SendUdpFrom(kOther, port, "600300400\t202\t\t\tpodszyty"));
    refhost::AdvanceClock(5);
    FromTheBox("600300400\t202\t\t\tPrawdziwy");

    std::string slots = test::ReadFile(kSlotFile);
    ASSERT_EQ(slots.size(), 5620u);
    EXPECT_STREQ(Slot(slots, 0).text, "Firma NIP:1234567890");
    EXPECT_STREQ(Slot(slots, 1).text, "Prawdziwy");
    EXPECT_EQ(slots.substr(2 * 562), std::string(8 * 562, '\0'));
    test::DayLogLines log = Log();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"01.03.2024\t10:00:00\t600100200\t201\tFirma NIP:1234567890\t",
                                                   "01.03.2024\t10:00:05\t600300400\t202\tPrawdziwy\t"}));
    EXPECT_EQ(test::CountOf(test::ReadFile(kDayLog), "R[127.0.0.2]"), 0);
    // The first refusal is told at once; the other eleven within the
    // minute are summed into one line, written a minute later or, as
    // here, when the listener ends.
    const std::string refused = "Odrzucono datagramy od 127.0.0.2: ";
    auto refusals = [&] {
        std::vector<int> counts;
        for (const std::string& event : Log().events)
            if (event.rfind(refused, 0) == 0) counts.push_back(std::atoi(event.c_str() + refused.size()));
        return counts;
    };
    EXPECT_EQ(refusals(), std::vector<int>{1});
    // The window tells the user once, with the way to allow the sender.
    test::TakeConsole();
    session.Action30010(0);
    session.Action30010(0);
    std::string console = test::TakeConsole();
    EXPECT_EQ(test::CountOf(console, "Odrzucono datagramy od 127.0.0.2: tego nadawcy nie ma na li\xc5\x9b" "cie Nadawcy"), 1)
        << console;
    EXPECT_EQ(test::CountOf(console, "callerid senders add 127.0.0.2"), 1) << console;
    session.Stop();
    started = false;
    EXPECT_EQ(refusals(), (std::vector<int>{1, 11}));
}

TEST_F(Senders, ControlWordsFromTheLocalSubnetsAreTakenWhenTheListNamesOnlyTheBox) {
    StartListening(std::string(kBox) + "/32");
    ASSERT_TRUE(test::SendUdpFrom(kOther, port, "restart\trestart\trestart\r"));
    ASSERT_TRUE(WaitForListening(2)) << test::ReadFile(kDayLog);
    // Its calls stay refused.
    ASSERT_TRUE(test::SendUdpFrom(kOther, port, "600\t201\t\t\t"));
    FromTheBox("601\t201\t\t\t");
    EXPECT_EQ(Log().calls.size(), 1u);
}

TEST_F(Senders, BadEntriesAreLoggedAndTheGoodOnesKept) {
    StartListening("127.0.0.1, 300.1.1.1 10.0.0.9-10.0.0.1");
    EXPECT_EQ(test::CountEvent(Log(), "Nadawcy: pomini\x91to b\x92\x91" "dne wpisy (2), pierwszy: \"300.1.1.1\""), 1)
        << test::ReadFile(kDayLog);
    FromTheBox("600\t201\t\t\t");
}

// Whatever the host's append service does with line ends (this one writes
// them as given), a datagram with CR, LF, ESC and DEL gives the day log
// its lines and no more; a NUL ends the text as ever.
TEST_F(Senders, EveryTextFromTheWireIsHandedToTheHostAsOneLine) {
    host().appendsAsGiven = true;
    host().showAppends = true;   // the console shows every line appended
    StartListening("");
    FromTheBox(std::string("600\t201\t\t\tA\rB\nC\x1b[2JD\x7f", 21) + std::string(1, '\0') + "po NUL");
    std::string log = test::ReadFile(kDayLog);
    for (char c : log) EXPECT_TRUE(c == '\t' || c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
    EXPECT_EQ(Log().calls, std::vector<std::string>{"01.03.2024\t10:00:00\t600\t201\tA B C [2JD \t"});
    // The console escapes what a line may still hold.
    std::string console = test::TakeConsole();
    EXPECT_NE(console.find("log: 01.03.2024\t10:00:00\t600\t201\tA B C [2JD \t"), std::string::npos) << console;
    for (char c : console) EXPECT_TRUE(c == '\t' || c == '\n' || static_cast<unsigned char>(c) >= 0x20) << int(c);
}
