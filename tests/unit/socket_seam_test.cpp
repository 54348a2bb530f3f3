// The socket seam as the listener relies on it: Windows Sockets error
// numbers on this system too, oversize datagrams reported and dropped
// whole, and the readiness watch.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/platform.h"
#include "support/udp_helpers.h"

namespace {

class SocketSeam : public ::testing::Test {
protected:
    void SetUp() override {
        port = test::FreeUdpPort();
        ASSERT_EQ(OpenUdpSocket(&socket), 0);
    }
    void TearDown() override { CloseSocket(socket); }

    SocketHandle socket = kNoSocket;
    int port = 0;
};

}  // namespace

TEST_F(SocketSeam, BindErrorsComeAsWindowsSocketsNumbers) {
    test::BoundPort other(port);
    ASSERT_TRUE(other.bound());
    EXPECT_EQ(BindUdpSocket(socket, static_cast<uint16_t>(port)), kSocketAddressInUse);
    EXPECT_EQ(BindUdpSocket(kNoSocket, static_cast<uint16_t>(port)), 10038);   // not a socket
}

TEST_F(SocketSeam, WatchSignalsQueuedDatagramsAndReceiveDropsOversizeOnesWhole) {
    ASSERT_EQ(BindUdpSocket(socket, static_cast<uint16_t>(port)), 0);
    SocketWatch watch = kNoSocketWatch;
    ASSERT_EQ(CreateSocketWatch(&watch), 0);
    ASSERT_EQ(WatchForReadable(watch, socket), 0);
    EXPECT_EQ(WaitForSocketWatch(watch, 1), 0);

    char buffer[1024];
    uint8_t sender[16];
    int length = -1;
    EXPECT_EQ(ReceiveDatagram(socket, buffer, 1023, sender, &length), kSocketWouldBlock);

    ASSERT_TRUE(test::SendUdp(port, std::string(1024, 'x')));
    ASSERT_TRUE(test::SendUdp(port, std::string(1023, 'y')));
    EXPECT_EQ(WaitForSocketWatch(watch, 5000), 1);
    EXPECT_EQ(ReceiveDatagram(socket, buffer, 1023, sender, &length), kSocketMessageTooLong);
    EXPECT_EQ(length, 0);
    ResetSocketWatch(watch);
    EXPECT_EQ(WaitForSocketWatch(watch, 5000), 1);   // the second one still waits
    ASSERT_EQ(ReceiveDatagram(socket, buffer, 1023, sender, &length), 0);
    EXPECT_EQ(length, 1023);
    EXPECT_EQ(buffer[0], 'y');
    EXPECT_EQ(sender[0] | sender[1] << 8, 2);          // IPv4, in the host's byte order
    EXPECT_EQ((sender[2] << 8 | sender[3]) > 0, true);  // the sender's port
    EXPECT_EQ(std::memcmp(sender + 4, "\x7F\x00\x00\x01", 4), 0);
    EXPECT_EQ(std::memcmp(sender + 8, "\0\0\0\0\0\0\0\0", 8), 0);
    CloseSocketWatch(watch);
}

TEST_F(SocketSeam, ReceiveFaultSwitchFailsTheNextReceivesAndLeavesTheDatagram) {
    ASSERT_EQ(BindUdpSocket(socket, static_cast<uint16_t>(port)), 0);
    ASSERT_EQ(SetSocketNonBlocking(socket), 0);
    ASSERT_TRUE(test::SendUdp(port, "kept"));
    FailNextReceives(2, 10050);
    char buffer[16];
    uint8_t sender[16];
    int length = 0;
    EXPECT_EQ(ReceiveDatagram(socket, buffer, 15, sender, &length), 10050);
    EXPECT_EQ(ReceiveDatagram(socket, buffer, 15, sender, &length), 10050);
    ASSERT_TRUE(test::WaitUntil([&] { return ReceiveDatagram(socket, buffer, 15, sender, &length) == 0; }));
    EXPECT_EQ(std::string(buffer, static_cast<std::size_t>(length)), "kept");
}
