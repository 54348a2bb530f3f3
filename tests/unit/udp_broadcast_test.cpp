// The broadcast commands on a network of their own: network namespaces made
// by the test, joined by a bridge, each station running the plug-in in the
// reference host. Nothing leaves this machine's namespaces, and the tests
// are skipped where namespaces cannot be made.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "plumbing/host.h"
#include "storage/settings.h"
#include "support/child_process.h"
#include "support/network_lab.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "udp/broadcast.h"

namespace {

constexpr int kStations = 3;
constexpr char kStationDayLog[] = "/LOGS/TELEFONY/01-03-2024.LOG";

// Runs work on a thread inside host i of the lab; the test fails when the
// namespace cannot be joined.
template <typename Work>
void InStation(const test::NetworkLab& lab, int i, Work work) {
    ASSERT_TRUE(lab.RunInside(i, work)) << "cannot join station " << i;
}

// A UDP socket bound to the port on every address, or -1.
int BoundSocket(int port) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
    close(fd);
    return -1;
}

class Broadcast : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lab.Make(kStations)) GTEST_SKIP() << "network namespaces cannot be made here";
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        g_settings = {1, kOptionDayLog, 0, kDefaultPort, ""};
        port = test::FreeUdpPort();
        for (int i = 1; i <= kStations; ++i) StartStation(i);
    }

    void TearDown() override {
        for (auto& station : stations) {
            station->Signal(SIGTERM);
            station->Wait();
        }
    }

    void StartStation(int i) {
        std::string dir = scratch.path() + "/station" + std::to_string(i);
        std::filesystem::create_directories(dir);
        test::SeedHostSettings(4, port, dir);
        std::vector<std::string> command = lab.Inside(i);
        command.insert(command.end(), {CALLERID_REFHOST_PATH, "--headless", "--dir", dir, "--clock",
                                       "2024-03-01 10:00:00", "--pause-divisor", "100"});
        stations.push_back(std::make_unique<test::ChildProcess>(command));
        ASSERT_TRUE(WaitForStation(i, Listening(), 1)) << stations.back()->output();
    }

    std::string Listening() const {
        return "UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(port);
    }

    test::DayLogLines StationLog(int i) const {
        return test::SplitDayLog(test::ReadFile(scratch.path() + "/station" + std::to_string(i) + kStationDayLog));
    }

    bool WaitForStation(int i, const std::string& message, int count) {
        return test::WaitUntil([&] { return test::CountEvent(StationLog(i), message) >= count; });
    }

    test::ScratchDirectory scratch;
    test::NetworkLab lab{"cid"};
    int port = 0;
    std::vector<std::unique_ptr<test::ChildProcess>> stations;
};

}  // namespace

TEST_F(Broadcast, EveryStationOnTheSegmentRestartsOnARestartSentByOneOfThem) {
    InStation(lab, 1, [&] { UDPBroadcast(kRestartCommand, port); });

    for (int i = 1; i <= kStations; ++i) {
        EXPECT_TRUE(WaitForStation(i, Listening(), 2)) << "station " << i;
        EXPECT_TRUE(test::InOrder(StationLog(i).events,
                                  {"R[10.77.0.1]:restart\trestart\trestart ", "UDPoling() - zakonczenie",
                                   "UDPOn()", Listening()}))
            << "station " << i;
    }
    test::DayLogLines sender = test::SplitDayLog(test::ReadFile("LOGS/TELEFONY/01-03-2024.LOG"));
    EXPECT_EQ(sender.events, std::vector<std::string>{"S[255.255.255.255:" + std::to_string(port) +
                                                      "]=restart\trestart\trestart "});
}

TEST_F(Broadcast, PingIsExactlyItsFifteenBytesOnTheLowSixteenBitsOfThePort) {
    int listenPort = test::FreeUdpPort();
    long long widePort = 65536LL * 2 + listenPort;
    int fd = -1;
    InStation(lab, 2, [&] { fd = BoundSocket(listenPort); });
    ASSERT_GE(fd, 0);
    InStation(lab, 3, [&] { UDPBroadcast(kPingCommand, static_cast<int32_t>(widePort)); });
    char buffer[64];
    timeval limit{10, 0};
    setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ssize_t length = recv(fd, buffer, sizeof buffer, 0);
    close(fd);
    ASSERT_EQ(length, 15);
    EXPECT_EQ(std::string(buffer, 15), "ping\tping\tping\r");

    test::DayLogLines sender = test::SplitDayLog(test::ReadFile("LOGS/TELEFONY/01-03-2024.LOG"));
    EXPECT_EQ(sender.events, std::vector<std::string>{"S[255.255.255.255:" + std::to_string(widePort) +
                                                      "]=ping\tping\tping "});

    g_settings.options = 0;   // without the log option the sender leaves no trace
    InStation(lab, 3, [&] { UDPBroadcast(kPingCommand, static_cast<int32_t>(widePort)); });
    EXPECT_EQ(test::SplitDayLog(test::ReadFile("LOGS/TELEFONY/01-03-2024.LOG")).events.size(), 1u);
}
