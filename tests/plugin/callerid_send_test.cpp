// The callerid tool's datagram commands, received byte for byte on a
// loopback socket of the test's own.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/time.h>

#include <string>

#include "support/test_support.h"
#include "support/udp_helpers.h"

namespace {

class CalleridSend : public ::testing::Test {
protected:
    void SetUp() override {
        port = test::FreeUdpPort();
        receiver = std::make_unique<test::BoundPort>(port);
        ASSERT_TRUE(receiver->bound());
        timeval limit{5, 0};
        setsockopt(receiver->fd(), SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    }

    test::ProgramResult Tool(const std::string& arguments) {
        return test::RunProgram(std::string(CALLERID_TOOL_PATH) + " --lang en " + arguments);
    }

    // Runs the tool and returns the datagram that reached the port.
    std::string Sent(const std::string& arguments) {
        test::ProgramResult result = Tool(arguments + " --port " + std::to_string(port));
        EXPECT_EQ(result.exitCode, 0) << result.output;
        char buffer[2048];
        ssize_t length = recv(receiver->fd(), buffer, sizeof buffer, 0);
        return length < 0 ? "(nothing)" : std::string(buffer, static_cast<std::size_t>(length));
    }

    int port = 0;
    std::unique_ptr<test::BoundPort> receiver;
};

}  // namespace

TEST_F(CalleridSend, CallGoesOutAsTheBoxSendsIt) {
    EXPECT_EQ(Sent("send 600100200 201 'Firma NIP:1234567890'"), "600100200\t201\t\t\tFirma NIP:1234567890");
    EXPECT_EQ(Sent("send 600 202"), "600\t202\t\t\t");
    // Typed in UTF-8, sent in the host's code page: Ł 0x9C, ó 0xA2, ź 0xA6.
    EXPECT_EQ(Sent("send --to 127.0.0.1 600 201 'Łódź'"), "600\t201\t\t\t\x9C\xA2" "d\xA6");
}

TEST_F(CalleridSend, RawTextIsSentExactlyWithItsEscapesResolved) {
    EXPECT_EQ(Sent("send --raw 'a\\tb\\r\\n\\\\\\x41'"), "a\tb\r\n\\A");
    EXPECT_EQ(Sent("send --raw 'x\\0y'"), std::string("x\0y", 3));
}

TEST_F(CalleridSend, ControlWordsAreTheExactCommands) {
    EXPECT_EQ(Sent("ping"), "ping\tping\tping\r");
    EXPECT_EQ(Sent("restart 127.0.0.1"), "restart\trestart\trestart\r");
}

TEST_F(CalleridSend, BadCommandLinesAreRefusedWithoutSending) {
    const std::string to = " --port " + std::to_string(port) + " ";
    for (const std::string& arguments :
         {"send" + to + "600", "send" + to + "--raw", "send" + to + "--raw 'bad\\q'",
          "send" + to + "--raw '\\x4'", "send" + to + "--raw x 600", std::string("send --port 70000 1 2"),
          "ping" + to + "127.0.0.1 127.0.0.2", "send" + to + "--to not-an-address 1 2"}) {
        test::ProgramResult result = Tool(arguments);
        EXPECT_NE(result.exitCode, 0) << arguments;
        EXPECT_NE(result.output.find("callerid"), std::string::npos) << arguments;
    }
    char buffer[64];
    EXPECT_LT(recv(receiver->fd(), buffer, sizeof buffer, MSG_DONTWAIT), 0);
}

TEST_F(CalleridSend, CharactersTheHostsCodePageLacksAreNamedAndNothingIsSent) {
    test::ProgramResult result = Tool("send --port " + std::to_string(port) + " 600 201 'Cena 5 € – „Żółw” €'");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(test::Unwrapped(result.output).find("has no \"€\", \"–\", \"„\", \"”\", which"), std::string::npos) << result.output;
    char buffer[64];
    EXPECT_LT(recv(receiver->fd(), buffer, sizeof buffer, MSG_DONTWAIT), 0);
    // The letters and signs it has go out as they are.
    EXPECT_EQ(Sent("send 600 201 'Żółw é ½'"), "600\t201\t\t\t\xA1\xA2\x92w \x82 \xAB");
}
