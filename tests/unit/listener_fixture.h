// The listener inside a test program, started as the start sequence starts
// it (a socket, then the host's thread), on a free port with the day log
// on and the host's clock standing still; its pauses are shortened.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "host/imports.h"
#include "plugin/frame.h"
#include "plumbing/host.h"
#include "storage/settings.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "udp/listener.h"

class ListenerTest : public ::testing::Test {
protected:
    static constexpr char kDayLog[] = "LOGS/TELEFONY/01-03-2024.LOG";

    void SetUp() override {
        refhost::FixClock({2024, 3, 1, 10, 0, 0});
        refhost::HostOptions().pauseDivisor = 100;
        port = test::FreeUdpPort();
        test::SeedHostSettings(4, port);
        LoadSettings();
        CheckLockOrder(true);
    }

    void TearDown() override {
        if (running) Stop();
        UDPReleaseSockets();
    }

    // False when the socket could not be made: no thread is started then.
    bool StartListener() {
        if (UDPOn() != 0) return false;
        UDPMarkRunning(g_frame.threadBlock);
        CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);
        running = true;
        return true;
    }

    // Returns only when the thread has ended.
    void Stop() {
        CallHost<Host::StopThread>(&g_frame.threadBlock, -1);
        UDPReleaseSockets();
        running = false;
    }

    bool WaitForListening(int times) {
        std::string listening = "UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(port);
        return test::WaitUntil([&] { return test::CountEvent(Log(), listening) >= times; });
    }

    static test::DayLogLines Log() { return test::SplitDayLog(test::ReadFile(kDayLog)); }

    test::ScratchDirectory scratch;
    int port = 0;
    bool running = false;
};
