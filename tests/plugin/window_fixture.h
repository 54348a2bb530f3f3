// The built plug-in started in the reference host on a network of the
// test's own, with its phone slots and settings laid down by the test and
// the host driven by scripts. The host's clock stands at 2024-03-01
// 12:00:00 and moves only with the script.
#pragma once

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "plugin_fixture.h"
#include "script/script_driver.h"
#include "storage/call_record.h"
#include "support/call_records.h"
#include "support/network_isolation.h"
#include "support/udp_helpers.h"

class PluginWindowTest : public PluginTest {
protected:
    static constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
    static constexpr char kDayLog[] = "LOGS/TELEFONY/01-03-2024.LOG";
    static constexpr int kSuggestOption = 1, kClipboardOption = 2, kLogOption = 4;
    using Slots = std::array<CallRecord, 10>;

    void SetUp() override {
        std::string why;
        if (!test::IsolateNetwork(why)) GTEST_SKIP() << why;
        refhost::FixClock({2024, 3, 1, 12, 0, 0});
        host().pauseDivisor = 100;
    }

    void TearDown() override {
        if (started) session.Stop();
    }

    // Starts the plug-in with these settings; the slot file is written first
    // when slots are given.
    void Start(int options, int selectedSlot, const Slots* slots = nullptr, int port = 1338) {
        if (slots) WriteSlots(*slots);
        test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1," + std::to_string(options) + "," +
                                          std::to_string(selectedSlot) + "," + std::to_string(port) + "\n");
        Load();
        ASSERT_EQ(session.Start(), 0);
        started = true;
        ASSERT_TRUE(WaitUntilListening(options, port));
        test::TakeConsole();
    }

    // The listener logs its start after binding: a test that goes on before
    // that line is written could find it written after its own step (a day
    // log made again after F4 removed it).
    static bool WaitUntilListening(int options, int port) {
        if (!(options & kLogOption)) return test::WaitUntil([&] { return test::UdpPortBound(port); });
        std::string line = "UDPoling() - rozpoczeto nasluch na UDP UDP " + std::to_string(port);
        return test::WaitUntil([&] { return test::ReadFile(kDayLog).find(line) != std::string::npos; });
    }

    static CallRecord Slot(const char* phone, const char* target, const char* text,
                           const char* time = "11:00:00", const char* date = "01.03.2024") {
        return test::MakeCallRecord(phone, target, text, time, date);
    }

    static void WriteSlots(const Slots& slots) {
        test::WriteFile(kSlotFile, std::string(reinterpret_cast<const char*>(slots.data()), sizeof slots));
    }

    static Slots ReadSlots() {
        Slots slots{};
        std::string bytes = test::ReadFile(kSlotFile);
        EXPECT_EQ(bytes.size(), sizeof slots);
        bytes.resize(sizeof slots);
        std::memcpy(slots.data(), bytes.data(), sizeof slots);
        return slots;
    }

    // Runs a script with the session's action behind "action".
    refhost::ScriptResult Script(const std::string& text) {
        refhost::ScriptContext context;
        context.action30010 = [this](int32_t argument) { return session.Action30010(argument); };
        context.action30009 = [this] { return session.Action30009(); };
        return refhost::RunScript(text, context, "test");
    }

    bool started = false;
};
