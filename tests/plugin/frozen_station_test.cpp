// Three stations on one slot file in network namespaces of one bridge, as
// an office keeps it on a server share; one of them is frozen (stopped by
// a signal) for three seconds while the box sends calls that the other two
// file. When it goes on it reads the calls late, knows it (its wait of at
// most 100 ms took seconds) and files them as late: the slot file keeps
// what the others wrote, byte for byte, and it writes nothing. The clocks
// run, so its stamps would be seconds later than theirs. Skipped where
// namespaces cannot be made.
#include <signal.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "support/child_process.h"
#include "support/free_udp_port.h"
#include "support/network_lab.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"

namespace {

constexpr auto kFrozenFor = std::chrono::seconds(3);

class FrozenStation : public ::testing::Test {
protected:
    void SetUp() override {
        if (!lab.Make(3)) GTEST_SKIP() << "SKIPPED: network namespaces cannot be made here";
        std::filesystem::create_directories(office + "/LOGS/TELEFONY");
        port = test::FreeUdpPort();
        test::WriteFile(office + "/MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(port) + "\n");
    }

    std::unique_ptr<test::ChildProcess> Station(int i, const std::vector<std::string>& more) {
        std::vector<std::string> command = lab.Inside(i);
        for (const std::string& argument : std::vector<std::string>{
                 CALLERID_REFHOST_PATH, "--headless", "--show-log", "--dir", office, "--station", std::to_string(i)})
            command.push_back(argument);
        command.insert(command.end(), more.begin(), more.end());
        return std::make_unique<test::ChildProcess>(command);
    }

    // The day log's lines of one station that end with the message.
    int CountStationLines(int station, const std::string& message) {
        int count = 0;
        for (const auto& entry : std::filesystem::directory_iterator(office + "/LOGS/TELEFONY")) {
            if (entry.path().extension() != ".LOG") continue;
            std::istringstream lines(test::ReadFile(entry.path().string()));
            for (std::string line; std::getline(lines, line);)
                if (line.find(":s=" + std::to_string(station) + ":") != std::string::npos && line.size() >= message.size() &&
                    line.compare(line.size() - message.size(), message.size(), message) == 0)
                    ++count;
        }
        return count;
    }

    test::ScratchDirectory scratch;
    test::NetworkLab lab{"frz"};
    std::string office = scratch.path() + "/office";
    int port = 0;
};

}  // namespace

TEST_F(FrozenStation, CallsItReadsLateLeaveTheOtherStationsSlotsAsTheyFiledThem) {
    std::unique_ptr<test::ChildProcess> frozen = Station(1, {});
    std::unique_ptr<test::ChildProcess> other = Station(3, {});
    ASSERT_TRUE(frozen->WaitForLine("rozpoczeto nasluch")) << frozen->output();
    ASSERT_TRUE(other->WaitForLine("rozpoczeto nasluch")) << other->output();

    frozen->Signal(SIGSTOP);
    auto stopped = std::chrono::steady_clock::now();
    std::string script = "call ready\n";
    for (int slot = 0; slot < 4; ++slot)
        script += "call \"50" + std::to_string(slot) + "\" \"20" + std::to_string(slot) + "\" \"late NIP:123456789" +
                  std::to_string(slot) + "\" to 255.255.255.255 stations 2\n";
    test::WriteFile(scratch.path() + "/box.script", script);
    std::unique_ptr<test::ChildProcess> box = Station(2, {"--script", scratch.path() + "/box.script"});
    ASSERT_EQ(box->Wait(30000), 0) << box->output();
    const std::string filed = test::ReadFile(office + "/LOGS/TELEFONY/CLIP.DAT");
    ASSERT_EQ(filed.size(), 5620u);
    // The freeze is what is staged: it lasts its length whatever the others did.
    std::this_thread::sleep_until(stopped + kFrozenFor);
    frozen->Signal(SIGCONT);

    ASSERT_TRUE(frozen->WaitForLine("wstrzymany przez")) << frozen->output();
    ASSERT_TRUE(test::WaitUntil([&] { return CountStationLines(1, " Zapis") == 4; })) << frozen->output();
    for (auto* station : {frozen.get(), other.get()}) {
        station->Signal(SIGTERM);
        EXPECT_EQ(station->Wait(), 0) << station->output();
    }
    EXPECT_EQ(test::ReadFile(office + "/LOGS/TELEFONY/CLIP.DAT"), filed);
    EXPECT_EQ(CountStationLines(1, "Zapisano informacje do pliku LOGS\\TELEFONY\\CLIP.DAT"), 0) << frozen->output();
}
