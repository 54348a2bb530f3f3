// The plug-in's exports, start and stop, as the host calls them.
#include <fcntl.h>

#include <filesystem>
#include <vector>

#include "plugin_fixture.h"

using Lifecycle = PluginTest;

static constexpr char kDisplayName[] =
    "Caller ID Tabele/Kontrahenci/Ctrl-F/Ctrl-G(szukanie w rubryce NIP)";

TEST_F(Lifecycle, StartGivesTheDisplayNameAndStopUndoesTheStart) {
    host().trace = true;
    Load();
    ASSERT_EQ(session.Start(), 0);
    EXPECT_EQ(session.name(), kDisplayName);
    EXPECT_EQ(session.name().size(), 66u);
    std::string started = test::TakeConsole();
    EXPECT_NE(started.find("trace: 52020 0x73"), std::string::npos);

    EXPECT_EQ(session.Stop(), 0);
    std::string stopped = test::TakeConsole();
    EXPECT_NE(stopped.find("Wyłączanie obsługi UDP dla Clip Varnobox"), std::string::npos);
    std::size_t thread = stopped.find("trace: 33155");
    std::size_t stopCall = stopped.find("trace: 52064");
    std::size_t unhook = stopped.find("trace: 52021 0x73");
    ASSERT_NE(thread, std::string::npos);
    ASSERT_NE(stopCall, std::string::npos);
    ASSERT_NE(unhook, std::string::npos);
    EXPECT_LT(thread, stopCall);
    EXPECT_LT(stopCall, unhook);
}

static std::vector<int> OpenDescriptors() {
    std::vector<int> listed, open;
    for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        listed.push_back(std::stoi(entry.path().filename().string()));
    for (int fd : listed)   // the listing's own descriptor is closed by now
        if (fcntl(fd, F_GETFD) != -1) open.push_back(fd);
    return open;
}

TEST_F(Lifecycle, StopWithoutStartShowsTheNoticeButWithdrawsNothing) {
    host().trace = true;
    Load();
    // The host's standard input is descriptor 0, as a socket field left at
    // zero would name it.
    if (fcntl(0, F_GETFD) == -1) {
        ASSERT_EQ(open("/dev/null", O_RDONLY), 0);
    }
    std::vector<int> before = OpenDescriptors();
    EXPECT_EQ(session.Stop(), 0);
    for (int fd : before) EXPECT_NE(fcntl(fd, F_GETFD), -1) << "descriptor " << fd << " was closed";
    std::string console = test::TakeConsole();
    EXPECT_NE(console.find("Wyłączanie obsługi UDP"), std::string::npos);
    EXPECT_NE(console.find("trace: 33155"), std::string::npos);
    EXPECT_NE(console.find("trace: 52064"), std::string::npos);
    EXPECT_EQ(console.find("trace: 52021"), std::string::npos);
}

TEST_F(Lifecycle, ActionsBeforeAndAfterStart) {
    // The action opens the caller-ID window, whose closing broadcasts.
    if (!test::NetworkIsolated()) GTEST_SKIP() << "no network of this test's own";
    Load();
    EXPECT_EQ(session.Action30009(), 0);
    EXPECT_EQ(static_cast<uint32_t>(session.Action30010(5)), 0xB669FD2Eu);
    ASSERT_EQ(session.Start(), 0);
    EXPECT_EQ(session.Action30010(5), 0);
    EXPECT_EQ(session.Action30009(), 0);
    session.Stop();
    EXPECT_EQ(session.Action30010(5), 0);  // the handler stays set after a stop
}

TEST_F(Lifecycle, RefusedStartHasAlreadyWrittenTheName) {
    host().interfaceLevel = 113;
    Load();
    EXPECT_EQ(session.Start(), -1);
    EXPECT_EQ(session.name(), kDisplayName);
}

TEST_F(Lifecycle, NoticeIsShownOnce) {
    host().trace = true;
    Load();
    ASSERT_EQ(session.Start(), 0);
    session.ShowNotice();
    EXPECT_NE(test::TakeConsole().find("trace: 52023 1194, flag 0"), std::string::npos);
    session.ShowNotice();
    EXPECT_EQ(test::TakeConsole().find("52023"), std::string::npos);
    session.Stop();
}
