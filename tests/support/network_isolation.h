// A network of the test's own: the test process moves into a network
// namespace where only the loopback interface is up and the broadcast
// address 255.255.255.255 is routed to it. The plug-in's ping and restart
// broadcasts then reach this process's listener and nothing beyond the
// machine, and its port cannot clash with another test's. It must be done
// before the process starts a thread: threads started earlier stay behind.
#pragma once

#include <fcntl.h>
#include <net/if.h>
#include <net/route.h>
#include <netinet/in.h>
#include <sched.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace test {

namespace detail {

inline bool WriteProcFile(const char* path, const std::string& text) {
    int fd = open(path, O_WRONLY);
    if (fd < 0) return false;
    bool written = write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    close(fd);
    return written;
}

// Without the right to make a network namespace, a user namespace of our
// own (with this user as its root) gives it.
inline bool EnterNetworkNamespace(std::string& why) {
    if (unshare(CLONE_NEWNET) == 0) return true;
    uid_t uid = getuid();
    gid_t gid = getgid();
    if (unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
        why = std::string("no network namespace can be made here: ") + std::strerror(errno);
        return false;
    }
    WriteProcFile("/proc/self/setgroups", "deny");
    if (!WriteProcFile("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
        !WriteProcFile("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1")) {
        why = "the user namespace's identity maps cannot be written";
        return false;
    }
    return true;
}

inline bool LoopbackWithBroadcastRoute(std::string& why) {
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) {
        why = "no socket for the interface settings";
        return false;
    }
    ifreq loopback{};
    std::strncpy(loopback.ifr_name, "lo", IFNAMSIZ - 1);
    bool up = ioctl(fd, SIOCGIFFLAGS, &loopback) == 0;
    loopback.ifr_flags = static_cast<short>(loopback.ifr_flags | IFF_UP);
    up = up && ioctl(fd, SIOCSIFFLAGS, &loopback) == 0;

    rtentry route{};
    auto* destination = reinterpret_cast<sockaddr_in*>(&route.rt_dst);
    destination->sin_family = AF_INET;
    destination->sin_addr.s_addr = INADDR_BROADCAST;
    auto* mask = reinterpret_cast<sockaddr_in*>(&route.rt_genmask);
    mask->sin_family = AF_INET;
    mask->sin_addr.s_addr = INADDR_BROADCAST;
    reinterpret_cast<sockaddr_in*>(&route.rt_gateway)->sin_family = AF_INET;
    route.rt_flags = RTF_UP | RTF_HOST;
    char device[] = "lo";
    route.rt_dev = device;
    bool routed = up && ioctl(fd, SIOCADDRT, &route) == 0;
    close(fd);
    if (!routed) why = std::string("loopback cannot carry broadcasts: ") + std::strerror(errno);
    return routed;
}

}  // namespace detail

inline bool IsolateNetwork(std::string& why) {
    return detail::EnterNetworkNamespace(why) && detail::LoopbackWithBroadcastRoute(why);
}

}  // namespace test
