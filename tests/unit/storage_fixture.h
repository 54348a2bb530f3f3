// What the storage tests share: a scratch working directory, the host's
// clock standing at 2026-12-08 10:00:00, the log option on, and readers
// for the day log and the slot file.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "plumbing/host.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "ui/slot_messages.h"
#include "support/call_records.h"
#include "support/slot_operations.h"
#include "support/test_support.h"

class StorageTest : public ::testing::Test {
public:
    static constexpr char kDayLog[] = "LOGS/TELEFONY/08-12-2026.LOG";
    static constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";

protected:
    void SetUp() override {
        refhost::FixClock({2026, 12, 8, 10, 0, 0});
        g_settings = {1, kOptionDayLog, 0, kDefaultPort, ""};
        std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
        test::TakeConsole();
        CheckLockOrder(true);
    }

public:
    // A record as the datagram handling builds it: zero-filled, then the texts.
    static CallRecord Record(const char* phone, const char* target, const char* text = "",
                             const char* time = "10:00:00") {
        return test::MakeCallRecord(phone, target, text, time);
    }

    static std::string SlotBytes(const CallRecord* slots, int count = kSlotCount) {
        return std::string(reinterpret_cast<const char*>(slots), sizeof(CallRecord) * count);
    }

    static void WriteSlotFile(const CallRecord* slots, int count = kSlotCount) {
        test::WriteFile(kSlotFile, SlotBytes(slots, count));
    }

    // The messages of today's event lines, without their date, time,
    // computer, station and user.
    static std::vector<std::string> EventMessages() {
        std::vector<std::string> messages;
        std::istringstream lines(test::ReadFile(kDayLog));
        for (std::string line; std::getline(lines, line);) {
            std::size_t user = line.find(":u=");
            std::size_t blank = user == std::string::npos ? user : line.find(' ', user);
            messages.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
        }
        return messages;
    }

protected:
    test::ScratchDirectory scratch;
};
