// A station among others on one slot file that hears calls late: one held
// up (its listener frozen in a host service, the monotonic clock then
// moved 30 s as the freeze would move it) while the others file what the
// box sends, and one whose clock is an hour fast. The other stations are
// this test, writing the slot file as they would.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "plumbing/host_lock.h"
#include "storage/call_record.h"
#include "storage/station_clock.h"
#include "text/mazovia_utf8.h"
#include "udp/listener_holds.h"
#include "support/call_records.h"
#include "unit/listener_fixture.h"

namespace {

constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
using Slots = std::array<CallRecord, 10>;

CallRecord Call(const char* phone, const char* target, const char* time, const char* date = "01.03.2024") {
    return test::MakeCallRecord(phone, target, (std::string(phone) + " NIP:1234567890").c_str(), time, date);
}

std::string Datagram(const CallRecord& call) {
    return std::string(call.phone) + "\t" + call.target + "\t\t\t" + call.text;
}

Slots ReadSlots() {
    Slots slots{};
    std::string bytes = test::ReadFile(kSlotFile);
    std::memcpy(slots.data(), bytes.data(), std::min(bytes.size(), sizeof slots));
    return slots;
}

// Another station's filing: under the stations' lock, as it would.
void FileAsAnotherStation(const Slots& slots) {
    int lock = open("LOGS/TELEFONY/CLIP.DAT.lck", O_RDWR | O_CREAT, 0666);
    flock(lock, LOCK_EX);
    test::WriteFile(kSlotFile, std::string(reinterpret_cast<const char*>(slots.data()), sizeof slots));
    close(lock);
}

bool SameRecord(const CallRecord& a, const CallRecord& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// The slot file as it stood before each of the plug-in's writes.
std::mutex g_seenMutex;
std::vector<Slots> g_seen;
void SeeFileBeforeWrite(FileCall call) {
    if (call != FileCall::Write) return;
    std::lock_guard<std::mutex> lock(g_seenMutex);
    g_seen.push_back(ReadSlots());
}

class HeldStation : public ListenerTest {
protected:
    void TearDown() override {
        HookFileCalls(nullptr);
        refhost::HostOptions().hostLock = false;
        refhost::SetClockOffset(0);
        ListenerTest::TearDown();
    }
    static bool WaitForFiled(int calls) {
        return test::WaitUntil([&] { return test::CountEvent(Log(), "Zapis") >= calls; });
    }
    static bool LogHas(const char* utf8) {
        return test::ReadFile(kDayLog).find(refhost::Utf8ToMazovia(utf8)) != std::string::npos;
    }
};

}  // namespace

TEST_F(HeldStation, CallsReadAfterAHoldKeepTheStampsTheOthersFiledAndNoOlderCallIsEverWritten) {
    refhost::HostOptions().hostLock = true;
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    const CallRecord before = Call("401", "203", "10:00:00");   // filed here in time
    ASSERT_TRUE(test::SendUdp(port, Datagram(before)));
    ASSERT_TRUE(WaitForFiled(1));

    // The listener freezes at its next day-log line; meanwhile the box
    // sends five calls and the other stations file four of them at once.
    refhost::SetHostLockTrap(52407);
    ASSERT_TRUE(refhost::TakeHostLockWhenWanted(10000));
    const CallRecord b = Call("222", "201", "10:00:05"), d1 = Call("301", "202", "10:00:10"),
                     d2 = Call("302", "202", "10:00:20"), e = Call("402", "203", "10:00:25"),
                     f = Call("501", "204", "10:00:30");
    for (const CallRecord* call : {&b, &d1, &d2, &e, &f}) ASSERT_TRUE(test::SendUdp(port, Datagram(*call)));
    const Slots others = {e, b, d2};   // f never reached the other stations
    FileAsAnotherStation(others);
    refhost::AdvanceClock(30);
    ShiftMonotonicClock(30'000'000'000LL);
    HookFileCalls(&SeeFileBeforeWrite);
    refhost::GiveBackHostLock();

    ASSERT_TRUE(WaitForFiled(6)) << test::ReadFile(kDayLog);
    Slots after = ReadSlots();
    HookFileCalls(nullptr);
    EXPECT_TRUE(LogHas("Nasłuch był wstrzymany przez 30 s")) << test::ReadFile(kDayLog);
    // The stamps the others filed stay; the call they missed is filed,
    // stamped when it was read.
    EXPECT_TRUE(SameRecord(after[0], e));
    EXPECT_TRUE(SameRecord(after[1], b));
    EXPECT_TRUE(SameRecord(after[2], d2));
    EXPECT_STREQ(after[3].phone, "501");
    EXPECT_STREQ(after[3].time, "10:00:30");
    // Between the writes the file never held anything but what the others
    // filed: no older call, no late stamp. The batch is one write.
    std::vector<Slots> seenBeforeWrites;
    {
        std::lock_guard<std::mutex> lock(g_seenMutex);
        seenBeforeWrites = g_seen;
    }
    for (const Slots& seen : seenBeforeWrites)
        for (int slot = 0; slot < 3; ++slot) EXPECT_TRUE(SameRecord(seen[slot], others[slot])) << slot;
    EXPECT_EQ(seenBeforeWrites.size(), 1u);
}

// The box's pace over a long hold is more than the rate one sender is
// allowed when read at once; what queued is filed all the same.
TEST_F(HeldStation, EveryCallQueuedDuringAHoldIsFiledWhateverItsNumber) {
    refhost::HostOptions().hostLock = true;
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    ASSERT_TRUE(test::SendUdp(port, Datagram(Call("400", "203", ""))));
    ASSERT_TRUE(WaitForFiled(1));
    refhost::SetHostLockTrap(52407);
    ASSERT_TRUE(refhost::TakeHostLockWhenWanted(10000));
    constexpr int kQueued = 150;
    for (int i = 0; i < kQueued; ++i)
        ASSERT_TRUE(test::SendUdp(port, Datagram(Call(std::to_string(1000 + i).c_str(), "201", ""))));
    ShiftMonotonicClock(60'000'000'000LL);
    refhost::GiveBackHostLock();
    ASSERT_TRUE(WaitForFiled(1 + kQueued)) << test::CountEvent(Log(), "Zapis");
    EXPECT_STREQ(ReadSlots()[1].phone, "1149");
}

TEST_F(HeldStation, AClockAnHourFastIsNamedByTheDayLogAndDoctorAndLeavesTheOthersStamps) {
    refhost::SetClockOffset(3600);   // this station's clock; the server keeps the office's
    ASSERT_TRUE(StartListener());
    ASSERT_TRUE(WaitForListening(1));
    EXPECT_TRUE(LogHas("Zegar stanowiska różni się od zegara serwera o +3600 s")) << test::ReadFile(kDayLog);
    const CallRecord filed = Call("222", "201", "10:00:00");
    FileAsAnotherStation({filed});
    ASSERT_TRUE(test::SendUdp(port, Datagram(filed)));
    ASSERT_TRUE(test::SendUdp(port, Datagram(Call("333", "202", ""))));
    ASSERT_TRUE(WaitForFiled(2)) << test::ReadFile(kDayLog);
    Slots slots = ReadSlots();
    EXPECT_TRUE(SameRecord(slots[0], filed));
    EXPECT_STREQ(slots[1].time, "11:00:00");   // a new call keeps this station's own stamp
    char warning[256];
    EXPECT_TRUE(StationClockWarning(warning, sizeof warning));

    test::ProgramResult doctor = test::RunProgram(std::string(CALLERID_TOOL_PATH) +
                                                  " --lang en doctor . --date 01-03-2024 --program-dir .");
    EXPECT_NE(doctor.output.find("its clock is +3600 s off the server's"), std::string::npos) << doctor.output;
    EXPECT_NE(doctor.exitCode, 0) << doctor.output;
}

TEST(ListenerPace, WaitsOfTheirLengthAreNoHoldAndAFarLongerStepIs) {
    constexpr int64_t kMs = 1'000'000;
    ListenerPace pace = {0, 0};
    EXPECT_FALSE(TakePaceStep(pace, 5000 * kMs));   // the first look
    EXPECT_FALSE(TakePaceStep(pace, 5100 * kMs));
    EXPECT_FALSE(TakePaceStep(pace, 7100 * kMs));   // 2 s of filing on a slow share
    EXPECT_EQ(pace.held, 0);
    EXPECT_TRUE(TakePaceStep(pace, 37100 * kMs));
    EXPECT_TRUE(TakePaceStep(pace, 40200 * kMs));
    EXPECT_EQ(pace.held, 30000 * kMs);   // the longest step counts
}
