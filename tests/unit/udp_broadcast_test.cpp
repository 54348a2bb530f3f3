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

#include "merlox/host.h"
#include "storage/settings.h"
#include "support/child_process.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "udp/broadcast.h"

namespace {

constexpr int kStations = 3;
constexpr char kStationDayLog[] = "/LOGS/TELEFONY/01-03-2024.LOG";

std::string IpCommand() {
    for (const char* path : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"})
        if (access(path, X_OK) == 0) return path;
    return "";
}

bool Run(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()) == 0; }

// Station namespaces on one bridge (in a namespace of its own), station i
// at 10.77.0.i/24 with its default route on the bridge.
class NetworkLab {
public:
    NetworkLab() : prefix_("cid" + std::to_string(getpid())) {}
    ~NetworkLab() {
        for (const std::string& name : made_) Run(ip_ + " netns del " + name);
    }

    bool Make() {
        ip_ = IpCommand();
        if (ip_.empty() || !Add(Bridge())) return false;
        if (!Run(ip_ + " -n " + Bridge() + " link add br0 type bridge") ||
            !Run(ip_ + " -n " + Bridge() + " link set br0 up"))
            return false;
        for (int i = 1; i <= kStations; ++i) {
            std::string station = Station(i), port = "p" + std::to_string(i);
            std::string in = ip_ + " -n " + station;
            if (!Add(station) ||
                !Run(ip_ + " -n " + Bridge() + " link add " + port + " type veth peer name eth0 netns " + station) ||
                !Run(ip_ + " -n " + Bridge() + " link set " + port + " master br0 up") ||
                !Run(in + " addr add 10.77.0." + std::to_string(i) + "/24 dev eth0") ||
                !Run(in + " link set eth0 up") || !Run(in + " link set lo up") ||
                !Run(in + " route add default dev eth0"))
                return false;
        }
        return true;
    }

    std::string Station(int i) const { return prefix_ + "s" + std::to_string(i); }
    const std::string& ip() const { return ip_; }

private:
    std::string Bridge() const { return prefix_ + "br"; }
    bool Add(const std::string& name) {
        if (!Run(ip_ + " netns add " + name)) return false;
        made_.push_back(name);
        return true;
    }

    std::string prefix_;
    std::string ip_;
    std::vector<std::string> made_;
};

// Runs work on a thread that has joined the station's network namespace;
// sockets made there belong to that namespace.
template <typename Work>
void InNamespace(const std::string& name, Work work) {
    std::thread thread([&] {
        int fd = open(("/var/run/netns/" + name).c_str(), O_RDONLY | O_CLOEXEC);
        ASSERT_GE(fd, 0);
        ASSERT_EQ(setns(fd, CLONE_NEWNET), 0);
        close(fd);
        work();
    });
    thread.join();
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
        if (getuid() != 0 || !lab.Make()) GTEST_SKIP() << "network namespaces cannot be made here";
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
        stations.push_back(std::make_unique<test::ChildProcess>(std::vector<std::string>{
            lab.ip(), "netns", "exec", lab.Station(i), CALLERID_REFHOST_PATH, "--headless", "--dir",
            dir, "--clock", "2024-03-01 10:00:00", "--pause-divisor", "100"}));
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
    NetworkLab lab;
    int port = 0;
    std::vector<std::unique_ptr<test::ChildProcess>> stations;
};

}  // namespace

TEST_F(Broadcast, EveryStationOnTheSegmentRestartsOnARestartSentByOneOfThem) {
    InNamespace(lab.Station(1), [&] { UDPBroadcast(kRestartCommand, port); });

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
    InNamespace(lab.Station(2), [&] { fd = BoundSocket(listenPort); });
    ASSERT_GE(fd, 0);
    InNamespace(lab.Station(3), [&] { UDPBroadcast(kPingCommand, static_cast<int32_t>(widePort)); });
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
    InNamespace(lab.Station(3), [&] { UDPBroadcast(kPingCommand, static_cast<int32_t>(widePort)); });
    EXPECT_EQ(test::SplitDayLog(test::ReadFile("LOGS/TELEFONY/01-03-2024.LOG")).events.size(), 1u);
}
