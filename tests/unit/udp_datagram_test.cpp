// The caller-ID datagram: building the call record from the datagram text,
// the time difference of the repeat filter, and which calls are recorded.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plumbing/host.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "udp/call_rules.h"
#include "udp/datagram.h"

namespace {

constexpr char kDayLog[] = "LOGS/TELEFONY/01-03-2024.LOG";
constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";

class Datagram : public ::testing::Test {
protected:
    void SetUp() override {
        At(10, 0, 0);
        g_settings = {1, kOptionDayLog, 0, kDefaultPort, ""};
    }

    static void At(int hour, int minute, int second, int day = 1) {
        refhost::FixClock({2024, 3, day, hour, minute, second});
    }

    // The record as the listener builds it, in a buffer of the listener's size.
    static CallRecord Build(std::string_view datagram) {
        char buffer[kDatagramCapacity] = {};
        std::memcpy(buffer, datagram.data(), std::min(datagram.size(), sizeof buffer - 1));
        CallRecord record;
        std::memset(&record, 0xAA, sizeof record);
        UDPBuildRecord(buffer, record);
        return record;
    }

    static void Arrive(std::string_view datagram) {
        CallRecord record = Build(datagram);
        UDPRecordCall(record);
    }

    static std::vector<std::string> CallLines() {
        return test::SplitDayLog(test::ReadFile(kDayLog)).calls;
    }

    test::ScratchDirectory scratch;
};

// Every byte after a field's NUL must be 0: the listener and the slot
// update compare whole records.
void ExpectZeroAfterText(const char* field, std::size_t size) {
    std::size_t length = strnlen(field, size);
    ASSERT_LT(length, size);
    for (std::size_t i = length; i < size; ++i) EXPECT_EQ(field[i], '\0') << "byte " << i;
}

}  // namespace

TEST_F(Datagram, FieldsZeroOneAndFourFillTheRecordStampedWithTheHostClock) {
    At(9, 5, 7);
    CallRecord record = Build("600100200\t201\tignored\talso ignored\tJan Nowak NIP:1234567890\textra");
    EXPECT_STREQ(record.phone, "600100200");
    EXPECT_STREQ(record.target, "201");
    EXPECT_STREQ(record.text, "Jan Nowak NIP:1234567890");
    EXPECT_STREQ(record.time, "09:05:07");
    EXPECT_STREQ(record.date, "20240301");
    ExpectZeroAfterText(record.text, sizeof record.text);
    ExpectZeroAfterText(record.phone, sizeof record.phone);
    ExpectZeroAfterText(record.target, sizeof record.target);
    ExpectZeroAfterText(record.date, sizeof record.date);
    ExpectZeroAfterText(record.time, sizeof record.time);
}

TEST_F(Datagram, LongFieldsAreCutAndMissingOnesLeftEmpty) {
    CallRecord twoFields = Build("123456789012345678901234567890\t201");
    EXPECT_STREQ(twoFields.phone, "12345678901234567890");
    EXPECT_STREQ(twoFields.target, "201");
    EXPECT_STREQ(twoFields.text, "");

    std::string longText(600, 'x');
    CallRecord longOne = Build("1\t2\t\t\t" + longText);
    EXPECT_EQ(std::string(longOne.text), std::string(499, 'x'));

    CallRecord control = Build("ping\tping\tping\r");
    EXPECT_STREQ(control.phone, "ping");
    EXPECT_STREQ(control.target, "ping");
    EXPECT_STREQ(control.text, "");
}

TEST_F(Datagram, NulInsideTheDatagramEndsItsText) {
    CallRecord record = Build(std::string_view("600\t20\0" "1\t\t\tNIP:1", 15));
    EXPECT_STREQ(record.phone, "600");
    EXPECT_STREQ(record.target, "20");
    EXPECT_STREQ(record.text, "");
}

TEST(TimeDiffSeconds, CountsFromTheSecondTextToTheFirstWithoutMidnightWrap) {
    EXPECT_EQ(TimeDiffSeconds("10:00:20", "10:00:00"), 20);
    EXPECT_EQ(TimeDiffSeconds("10:00:00", "10:00:19"), -19);
    EXPECT_EQ(TimeDiffSeconds("11:01:01", "10:00:00"), 3661);
    EXPECT_EQ(TimeDiffSeconds("00:00:05", "23:59:55"), -86390);
}

TEST(TimeDiffSeconds, ReadsEachPartUpToItsFirstNonDigit) {
    EXPECT_EQ(TimeDiffSeconds("", "00:00:00"), 0);
    EXPECT_EQ(TimeDiffSeconds("1", ""), 3600);            // minutes and seconds lie beyond the end
    EXPECT_EQ(TimeDiffSeconds("1x:2y:3z", ""), 3600 + 120 + 3);
    EXPECT_EQ(TimeDiffSeconds("::::::", "ab:cd:ef"), 0);
}

TEST_F(Datagram, RecordedCallGoesToTheDayLogAndItsSlotWithTheDisplayDate) {
    Arrive("600100200\t201\t\t\tNIP:1234567890");
    EXPECT_EQ(CallLines(), std::vector<std::string>{"01.03.2024\t10:00:00\t600100200\t201\tNIP:1234567890\t"});
    std::string slots = test::ReadFile(kSlotFile);
    ASSERT_EQ(slots.size(), 5620u);
    const auto* slot = reinterpret_cast<const CallRecord*>(slots.data());
    EXPECT_STREQ(slot->date, "01.03.2024");
    EXPECT_STREQ(slot->target, "201");
    ExpectZeroAfterText(slot->date, sizeof slot->date);
}

TEST_F(Datagram, ArrivalsOfOnePhoneWithin19SecondsOfTheLastAreOneCall) {
    Arrive("600\t201\t\t\t");
    At(10, 0, 15);
    Arrive("600\t201\t\t\t");
    At(10, 0, 30);
    Arrive("600\t201\t\t\t");   // 30 s after the first, 15 after the last
    EXPECT_EQ(CallLines().size(), 1u);

    At(10, 0, 50);
    Arrive("600\t201\t\t\t");   // 20 s after the last
    EXPECT_EQ(CallLines().size(), 2u);
}

TEST_F(Datagram, RepeatFilterLooksAtTimesOfDayOnly) {
    At(23, 59, 55);
    Arrive("600\t201\t\t\t");
    At(0, 0, 5, 2);
    Arrive("600\t201\t\t\t");   // -86390 s: a new call
    EXPECT_EQ(test::SplitDayLog(test::ReadFile(kDayLog)).calls.size(), 1u);
    EXPECT_EQ(test::SplitDayLog(test::ReadFile("LOGS/TELEFONY/02-03-2024.LOG")).calls.size(), 1u);

    At(0, 0, 5, 3);             // the same time of day on the next day
    Arrive("600\t201\t\t\t");
    EXPECT_TRUE(test::SplitDayLog(test::ReadFile("LOGS/TELEFONY/03-03-2024.LOG")).calls.empty());
}

TEST_F(Datagram, WithoutTheLogOptionCallsStillReachTheSlots) {
    g_settings.options = 0;
    Arrive("600\t201\t\t\tNIP:1");
    EXPECT_FALSE(test::FileExists(kDayLog));
    std::string slots = test::ReadFile(kSlotFile);
    ASSERT_EQ(slots.size(), 5620u);
    EXPECT_STREQ(reinterpret_cast<const CallRecord*>(slots.data())->phone, "600");
}

TEST_F(Datagram, DateOfAnyOtherLengthThanEightStaysAsItIs) {
    CallRecord record = Build("600\t201\t\t\t");
    std::strcpy(record.date, "1.3.24");
    UDPRecordCall(record);
    EXPECT_STREQ(record.date, "1.3.24");
    EXPECT_EQ(CallLines(), std::vector<std::string>{"1.3.24\t10:00:00\t600\t201\t\t"});
}
