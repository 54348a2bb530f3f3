// The allowed senders' list read and matched, the rules' verdict on a
// datagram per sender (plain functions, tried on their edges), and the
// day log's bound on the senders it names.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "net/sender_list.h"
#include "storage/day_log.h"
#include "storage_fixture.h"
#include "support/udp_helpers.h"
#include "udp/call_rules.h"
#include "udp/sender_book.h"
#include "udp/senders.h"
#include "platform/platform.h"

namespace {

uint32_t Address(const char* text) {
    uint32_t address = 0;
    EXPECT_TRUE(ParseIPv4(text, std::strlen(text), &address)) << text;
    return address;
}

std::string Shown(const AddressRange& range) {
    char text[40];
    FormatSenderRange(range, text, sizeof text);
    return text;
}

CallRecord Record(const char* phone, const char* target, const char* time) {
    CallRecord record{};
    std::strcpy(record.phone, phone);
    std::strcpy(record.target, target);
    std::strcpy(record.time, time);
    std::strcpy(record.date, "20240301");
    return record;
}

}  // namespace

TEST(SenderList, AddressesRangesSubnetsAndAnywhere) {
    SenderList list;
    std::size_t offset = 0, length = 0;
    ASSERT_EQ(ParseSenderList("192.168.1.20, 10.0.0.5-10.0.0.9;172.16.4.77/22  *", &list, &offset, &length), 0);
    EXPECT_TRUE(list.anywhere);
    ASSERT_EQ(list.count, 3);
    EXPECT_EQ(Shown(list.ranges[0]), "192.168.1.20");
    EXPECT_EQ(Shown(list.ranges[1]), "10.0.0.5-10.0.0.9");
    EXPECT_EQ(Shown(list.ranges[2]), "172.16.4.0/22");   // a member names its subnet
    list.anywhere = false;
    EXPECT_TRUE(SenderListAllows(list, Address("10.0.0.9")));
    EXPECT_FALSE(SenderListAllows(list, Address("10.0.0.10")));
    EXPECT_TRUE(SenderListAllows(list, Address("172.16.7.255")));
    EXPECT_FALSE(SenderListAllows(list, Address("172.16.8.0")));
    EXPECT_FALSE(SenderListAllows(list, Address("192.168.1.21")));
    ASSERT_EQ(ParseSenderList("0.0.0.0/0", &list, &offset, &length), 0);
    EXPECT_TRUE(SenderListAllows(list, Address("255.255.255.255")));
    ASSERT_EQ(ParseSenderList("", &list, &offset, &length), 0);
    EXPECT_FALSE(list.anywhere || list.count > 0);
}

TEST(SenderList, BadEntriesAreCountedAndTheFirstPointedTo) {
    SenderList list;
    std::size_t offset = 0, length = 0;
    const char* text = "1.2.3.4 1.2.3 256.1.1.1 1.2.3.4/33 9.9.9.9-1.1.1.1 01.2.3.4.5 1.2.3.4- a.b.c.d 0012.1.1.1";
    EXPECT_EQ(ParseSenderList(text, &list, &offset, &length), 8);
    EXPECT_EQ(std::string(text + offset, length), "1.2.3");
    EXPECT_EQ(list.count, 1);
    std::string many;
    for (int i = 0; i < kMostSenderRanges + 2; ++i) many += "10.0.0." + std::to_string(i) + ",";
    EXPECT_EQ(ParseSenderList(many.c_str(), &list, &offset, &length), 2);
    EXPECT_EQ(list.count, kMostSenderRanges);
}

TEST(DatagramVerdict, EachSenderIsJudgedAgainstItsOwnRecall) {
    SenderRecall box{}, other{};
    CallRecord forged = Record("600100200", "201", "10:00:00");
    ASSERT_EQ(JudgeDatagram(forged, SenderPermit::Calls, other), DatagramVerdict::Call);
    RememberDatagram(other, forged, DatagramVerdict::Call);
    // The same phone from the box is its call, not the other's repeat.
    CallRecord real = Record("600100200", "201", "10:00:05");
    ASSERT_EQ(JudgeDatagram(real, SenderPermit::Calls, box), DatagramVerdict::Call);
    RememberDatagram(box, real, DatagramVerdict::Call);
    CallRecord again = Record("600100200", "201", "10:00:19");
    EXPECT_EQ(JudgeDatagram(again, SenderPermit::Calls, box), DatagramVerdict::Repeat);
    // A datagram of another sender in between lets no repeat through.
    CallRecord between = Record("777", "203", "10:00:20");
    RememberDatagram(other, between, JudgeDatagram(between, SenderPermit::Calls, other));
    EXPECT_EQ(JudgeDatagram(again, SenderPermit::Calls, box), DatagramVerdict::Repeat);
}

TEST(DatagramVerdict, ControlWordsAreNoCallsAndLeaveNoRecall) {
    SenderRecall recall{};
    CallRecord call = Record("600", "201", "10:00:00");
    RememberDatagram(recall, call, DatagramVerdict::Call);
    for (const char* word : {"ping", "PING", "restart"}) {
        CallRecord control = Record(word, word, "10:00:01");
        EXPECT_EQ(JudgeDatagram(control, SenderPermit::Calls, recall), DatagramVerdict::ControlWord);
        EXPECT_EQ(JudgeDatagram(control, SenderPermit::ControlWords, recall), DatagramVerdict::ControlWord);
        EXPECT_EQ(JudgeDatagram(control, SenderPermit::Refused, recall), DatagramVerdict::Refused);
        RememberDatagram(recall, control, DatagramVerdict::ControlWord);
    }
    // The control words did not break the phone's chain.
    EXPECT_EQ(JudgeDatagram(Record("600", "201", "10:00:10"), SenderPermit::Calls, recall), DatagramVerdict::Repeat);
    EXPECT_EQ(JudgeDatagram(Record("Ping", "201", "10:00:10"), SenderPermit::ControlWords, recall),
              DatagramVerdict::Refused);
}

TEST(DatagramVerdict, AnUnfiledRecordAgainIsSameAgainARingIsNeverACall) {
    SenderRecall recall{};
    CallRecord ring = Record("Ring", "201", "10:00:00");
    ASSERT_EQ(JudgeDatagram(ring, SenderPermit::Calls, recall), DatagramVerdict::Ring);
    RememberDatagram(recall, ring, DatagramVerdict::Ring);
    EXPECT_EQ(JudgeDatagram(ring, SenderPermit::Calls, recall), DatagramVerdict::SameAgain);
    recall.anyBuilt = false;   // listening began again
    EXPECT_EQ(JudgeDatagram(ring, SenderPermit::Calls, recall), DatagramVerdict::Ring);
}

// A flood from forged addresses, each new: the day log names at most 32
// senders a minute and sums the rest in one line.
using SenderBookTest = StorageTest;

TEST_F(SenderBookTest, AFloodOfNewSendersIsNamedAtMostThirtyTwoTimesAMinute) {
    for (uint32_t i = 0; i < 300; ++i) CountRefused(SenderEntryOf(0x0A000000u + i));
    WriteDueSums();
    std::string log = test::ReadFile(kDayLog);
    EXPECT_EQ(test::CountOf(log, "Odrzucono datagramy od 10.0."), 32) << log;
    WriteAllSums();
    log = test::ReadFile(kDayLog);
    // The book keeps the last 32 senders, named when the listener ends; the
    // 236 unnamed ones it let go are summed in one line.
    EXPECT_EQ(test::CountOf(log, "Inni nadawcy (adres\xA2w: 236): odrzucone datagramy: 236,"), 1) << log;
    EXPECT_EQ(test::CountOf(log, "Odrzucono datagramy od 10.0."), 64) << log;
    EXPECT_LT(log.size(), 64u * 160);
}

TEST(SenderPermit, TheListTheLocalSubnetsAndControlWordsAlone) {
    SenderList local{}, none{}, box{}, anywhere{};
    AddSenderRange(&local, kLoopbackRange);
    AddSenderRange(&local, SubnetOf(Address("192.168.1.7"), 0xFFFFFF00u));
    AddSenderRange(&box, {Address("192.168.1.20"), Address("192.168.1.20")});
    anywhere.anywhere = true;
    EXPECT_EQ(PermitOf(none, local, Address("192.168.1.99")), SenderPermit::Calls);
    EXPECT_EQ(PermitOf(none, local, Address("127.0.0.9")), SenderPermit::Calls);
    EXPECT_EQ(PermitOf(none, local, Address("192.168.2.1")), SenderPermit::Refused);
    EXPECT_EQ(PermitOf(box, local, Address("192.168.1.20")), SenderPermit::Calls);
    EXPECT_EQ(PermitOf(box, local, Address("192.168.1.99")), SenderPermit::ControlWords);
    EXPECT_EQ(PermitOf(box, local, Address("10.0.0.1")), SenderPermit::Refused);
    EXPECT_EQ(PermitOf(anywhere, local, Address("10.0.0.1")), SenderPermit::Calls);
}

// The station's interfaces as the seam's test switch stages them: with no
// list, its subnet and loopback are taken, another subnet refused.
TEST_F(SenderBookTest, WithoutAListTheStationsOwnSubnetsAreTaken) {
    InterfaceAddress station[] = {{Address("10.77.0.1"), 0xFFFFFF00u}};
    StageInterfaceAddresses(station, 1);
    SetSendersSetting("");
    TakeSenderRules();
    EXPECT_EQ(SenderPermitOf(Address("10.77.0.2")), SenderPermit::Calls);
    EXPECT_EQ(SenderPermitOf(Address("127.0.0.5")), SenderPermit::Calls);
    EXPECT_EQ(SenderPermitOf(Address("10.78.0.5")), SenderPermit::Refused);
    SetSendersSetting("10.78.0.5");
    TakeSenderRules();
    EXPECT_EQ(SenderPermitOf(Address("10.78.0.5")), SenderPermit::Calls);
    EXPECT_EQ(SenderPermitOf(Address("10.77.0.2")), SenderPermit::ControlWords);
    StageInterfaceAddresses(nullptr, -1);
}
