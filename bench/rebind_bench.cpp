// rebind_bench: how long the listener's port is without a socket when a
// restart hands it from the old socket to the new one. The plug-in's code
// runs in this process, bound to the reference host's services, so that the
// listener's own measurement of each hand-over (from the old socket's close
// to the new one's bind) can be read after every restart.
//
//   rebind_bench [--restarts N] [--root DIR]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "host/imports.h"
#include "merlox/host.h"
#include "plugin/frame.h"
#include "storage/settings.h"
#include "udp/listener.h"

namespace {

int FreeUdpPort() {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    socklen_t length = sizeof address;
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

void Send(int port, const std::string& bytes) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to);
    close(fd);
}

double Micro(int64_t nanoseconds) { return static_cast<double>(nanoseconds) / 1000.0; }

}  // namespace

int main(int argc, char** argv) {
    int restarts = 200;
    std::string root = "/tmp";
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--restarts") == 0) restarts = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--root") == 0) root = argv[i + 1];
    }
    std::string pattern = root + "/callerid-rebind-XXXXXX";
    std::string dir = mkdtemp(pattern.data());
    std::filesystem::current_path(dir);
    int port = FreeUdpPort();
    std::ofstream("MERLOX.INI") << "[Ornitel]\nPytaj=1,4,0," << port << "\n";
    refhost::HostOptions().pauseDivisor = 100;   // a restart pauses 50 ms
    LoadSettings();
    if (UDPOn() != 0) return 1;
    UDPMarkRunning(g_frame.threadBlock);
    CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);

    std::vector<int64_t> gaps;
    for (int i = 0; i < restarts; ++i) {
        Send(port, "restart\trestart\trestart\r");
        std::this_thread::sleep_for(std::chrono::milliseconds(90));
        Send(port, std::to_string(600000000 + i) + "\t201\t\t\tafter the restart");
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        int64_t gap = UDPLastRebindGap();
        if (gap >= 0) gaps.push_back(gap);
    }
    CallHost<Host::StopThread>(&g_frame.threadBlock, -1);
    UDPReleaseSockets();
    std::filesystem::current_path(root);
    std::filesystem::remove_all(dir);
    if (gaps.empty()) {
        std::fprintf(stderr, "no restart was measured\n");
        return 1;
    }
    std::sort(gaps.begin(), gaps.end());
    std::printf("| restarts | close to bind, min | p50 | p99 | max |\n|---|---|---|---|---|\n");
    std::printf("| %zu | %.1f us | %.1f us | %.1f us | %.1f us |\n", gaps.size(), Micro(gaps.front()),
                Micro(gaps[gaps.size() / 2]), Micro(gaps[gaps.size() * 99 / 100]), Micro(gaps.back()));
    return 0;
}
