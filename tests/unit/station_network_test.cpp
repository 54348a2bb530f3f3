// Several stations on one office network: three reference hosts with the
// plug-in, each in a network namespace on one bridge, and a caller-ID box
// beside them. A ping and a restart sent by one station reach all three,
// each pauses for its control word's time (25 times shorter here) and
// listens again; a call the box sends to the broadcast address is filed by
// all three. The pauses are timed from each station's own console, which
// prints every day-log line as it is written. Skipped where namespaces
// cannot be made. (broadcast_test's lab checks the command bytes and the
// sender's own log line; this one the stations' behaviour.)
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "plumbing/host.h"
#include "storage/settings.h"
#include "support/child_process.h"
#include "support/network_lab.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "udp/broadcast.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

constexpr int kStations = 3;
constexpr int kBox = 4;                 // the caller-ID box's host in the lab
constexpr int kPauseDivisor = 25;
constexpr Milliseconds kPingPause{25000 / kPauseDivisor};
constexpr Milliseconds kRestartPause{5000 / kPauseDivisor};
// Reading a console line may lag its writing a little; it cannot lead it.
constexpr Milliseconds kReadingLag{20};
constexpr char kDayLog[] = "/LOGS/TELEFONY/01-03-2024.LOG";

// Sends one datagram to the limited broadcast address.
bool SendBroadcast(int port, const std::string& bytes) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_BROADCAST);
    bool sent = sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
                static_cast<ssize_t>(bytes.size());
    close(fd);
    return sent;
}

class Stations : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lab.Make(kBox)) GTEST_SKIP() << "SKIPPED: network namespaces cannot be made here";
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        g_settings = {1, kOptionDayLog, 0, kDefaultPort, ""};
        port = test::FreeUdpPort();
        for (int i = 1; i <= kStations; ++i) StartStation(i);
        for (int i = 1; i <= kStations; ++i)
            ASSERT_TRUE(stations[i - 1]->WaitForLine(Listening())) << stations[i - 1]->output();
    }

    void TearDown() override {
        for (auto& station : stations) {
            station->Signal(SIGTERM);
            EXPECT_EQ(station->Wait(), 0) << station->output();
        }
    }

    void StartStation(int i) {
        std::string dir = StationDirectory(i);
        std::filesystem::create_directories(dir);
        test::SeedHostSettings(kOptionDayLog, port, dir);
        std::vector<std::string> command = lab.Inside(i);
        for (std::string argument : {CALLERID_REFHOST_PATH, "--headless", "--show-log", "--dir", dir.c_str(),
                                     "--clock", "2024-03-01 10:00:00", "--pause-divisor"})
            command.push_back(argument);
        command.push_back(std::to_string(kPauseDivisor));
        stations.push_back(std::make_unique<test::ChildProcess>(command));
    }

    std::string StationDirectory(int i) const { return scratch.path() + "/station" + std::to_string(i); }
    std::string Listening() const { return "UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(port); }
    test::DayLogLines StationLog(int i) const {
        return test::SplitDayLog(test::ReadFile(StationDirectory(i) + kDayLog));
    }

    // How long each station took from receiving `received` to listening
    // again, each timed on a thread of its own from its console.
    std::vector<Milliseconds> TimeThePauses(const std::string& received) {
        std::vector<Milliseconds> pauses(kStations, Milliseconds::max());
        std::vector<std::thread> watchers;
        for (int i = 0; i < kStations; ++i)
            watchers.emplace_back([&, i] {
                test::ChildProcess& station = *stations[i];
                if (!station.WaitForLine(received)) return;
                Clock::time_point heard = Clock::now();
                if (!station.WaitForLine(Listening())) return;
                pauses[i] = std::chrono::duration_cast<Milliseconds>(Clock::now() - heard);
            });
        for (std::thread& watcher : watchers) watcher.join();
        return pauses;
    }

    test::ScratchDirectory scratch;
    test::NetworkLab lab{"stn"};
    int port = 0;
    std::vector<std::unique_ptr<test::ChildProcess>> stations;
};

}  // namespace

TEST_F(Stations, PingAndRestartFromOneStationPauseEveryStationForItsTime) {
    // The day log has the command's carriage return as a blank; the
    // console shows the line as the plug-in handed it over.
    const std::string pingLine = "R[10.77.0.1]:ping\tping\tping ";
    const std::string restartLine = "R[10.77.0.1]:restart\trestart\trestart ";

    std::vector<Milliseconds> pingPauses;
    std::thread ping([&] { pingPauses = TimeThePauses("R[10.77.0.1]:ping\tping\tping"); });
    ASSERT_TRUE(lab.RunInside(1, [&] { UDPBroadcast(kPingCommand, port); }));
    ping.join();

    std::vector<Milliseconds> restartPauses;
    std::thread restart([&] { restartPauses = TimeThePauses("R[10.77.0.1]:restart\trestart\trestart"); });
    ASSERT_TRUE(lab.RunInside(1, [&] { UDPBroadcast(kRestartCommand, port); }));
    restart.join();

    for (int i = 1; i <= kStations; ++i) {
        SCOPED_TRACE("station " + std::to_string(i));
        Milliseconds pingPause = pingPauses[i - 1], restartPause = restartPauses[i - 1];
        ASSERT_NE(pingPause, Milliseconds::max()) << stations[i - 1]->output();
        ASSERT_NE(restartPause, Milliseconds::max()) << stations[i - 1]->output();
        EXPECT_GE(pingPause, kPingPause - kReadingLag);
        EXPECT_LT(pingPause, kPingPause + Milliseconds(2000));
        EXPECT_GE(restartPause, kRestartPause - kReadingLag);
        EXPECT_LT(restartPause, kPingPause - kReadingLag) << "a restart pauses as long as a ping";
        EXPECT_TRUE(test::InOrder(StationLog(i).events,
                                  {pingLine, "Bez zapisu", "UDPoling() - zakonczenie", "UDPOn()", "UDPOn() - OK",
                                   Listening(), restartLine, "Bez zapisu", "UDPoling() - zakonczenie", "UDPOn()",
                                   "UDPOn() - OK", Listening()}))
            << test::ReadFile(StationDirectory(i) + kDayLog);
    }
}

TEST_F(Stations, CallSentToTheBroadcastAddressIsFiledByEveryStation) {
    const std::string call = "600100200\t201\t\t\tFirma NIP:1234567890";
    ASSERT_TRUE(lab.RunInside(kBox, [&] { ASSERT_TRUE(SendBroadcast(port, call)); }));
    for (int i = 1; i <= kStations; ++i) {
        SCOPED_TRACE("station " + std::to_string(i));
        ASSERT_TRUE(stations[i - 1]->WaitForLine("log: 01.03.2024\t10:00:00\t600100200\t201\tFirma NIP:1234567890\t"))
            << stations[i - 1]->output();
        ASSERT_TRUE(stations[i - 1]->WaitForLine("Zapisano informacje do pliku"));
        EXPECT_EQ(test::CountEvent(StationLog(i), "R[10.77.0.4]:" + call), 1);
        std::string slots = test::ReadFile(StationDirectory(i) + "/LOGS/TELEFONY/CLIP.DAT");
        ASSERT_EQ(slots.size(), 5620u);
        EXPECT_STREQ(slots.data() + 500, "600100200");
        EXPECT_STREQ(slots.data() + 521, "201");
    }
}
