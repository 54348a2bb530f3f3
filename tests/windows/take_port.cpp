// take_port PORT
// Tries to take a UDP port from the program that holds it, the ways a
// careless or hostile program does: asking to share it (SO_REUSEADDR) on
// every address, asking to share it on the loopback address alone, and
// binding the loopback address alone without asking. Prints one line per
// way with 0 when the bind succeeded or the Windows Sockets error. Exit
// code 0 when every way was refused, 1 when one took the port, 2 on a
// usage error or a socket that could not be made.
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>

struct Way {
    const char* name;
    bool shareAsked;
    u_long address;
};

static int TryWay(const Way& way, u_short port) {
    SOCKET s = socket(AF_INET, SOCK_DGRAM, 0);
    if (s == INVALID_SOCKET) return -1;
    BOOL on = TRUE;
    if (way.shareAsked) setsockopt(s, SOL_SOCKET, SO_REUSEADDR, reinterpret_cast<const char*>(&on), sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(way.address);
    int error = bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 ? 0 : WSAGetLastError();
    closesocket(s);
    return error;
}

int main(int argc, char** argv) {
    if (argc != 2 || std::atoi(argv[1]) <= 0) {
        std::fprintf(stderr, "usage: take_port PORT\n");
        return 2;
    }
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0) return 2;
    const u_short port = static_cast<u_short>(std::atoi(argv[1]));
    const Way ways[] = {{"shared-any", true, INADDR_ANY},
                        {"shared-loopback", true, INADDR_LOOPBACK},
                        {"loopback", false, INADDR_LOOPBACK}};
    int taken = 0;
    for (const Way& way : ways) {
        int error = TryWay(way, port);
        if (error < 0) return 2;
        std::printf("%s %d\n", way.name, error);
        if (error == 0) ++taken;
    }
    WSACleanup();
    return taken == 0 ? 0 : 1;
}
