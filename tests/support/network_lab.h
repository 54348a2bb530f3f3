// An office network of the test's own: network namespaces joined by a
// bridge (itself in a namespace), host i at 10.77.0.i/24 with its default
// route on the bridge, so that the limited broadcast 255.255.255.255 of one
// reaches all the others and nothing leaves the machine. Made with the ip
// command as root; Make() is false where that cannot be done, and the
// namespaces are deleted again when the lab goes.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace test {

class NetworkLab {
public:
    explicit NetworkLab(std::string tag) : prefix_(std::move(tag) + std::to_string(getpid())) {}
    ~NetworkLab() {
        for (auto name = made_.rbegin(); name != made_.rend(); ++name) Run(ip_ + " netns del " + *name);
    }
    NetworkLab(const NetworkLab&) = delete;
    NetworkLab& operator=(const NetworkLab&) = delete;

    // Hosts numbered 1 to count (addresses 10.77.0.1 ...).
    bool Make(int count) {
        for (const char* path : {"/usr/sbin/ip", "/sbin/ip", "/usr/bin/ip", "/bin/ip"})
            if (access(path, X_OK) == 0) ip_ = path;
        if (getuid() != 0 || ip_.empty() || !Add(Bridge())) return false;
        std::string bridge = ip_ + " -n " + Bridge();
        if (!Run(bridge + " link add br0 type bridge") || !Run(bridge + " link set br0 up")) return false;
        for (int i = 1; i <= count; ++i) {
            std::string in = ip_ + " -n " + Host(i), port = "p" + std::to_string(i);
            if (!Add(Host(i)) ||
                !Run(bridge + " link add " + port + " type veth peer name eth0 netns " + Host(i)) ||
                !Run(bridge + " link set " + port + " master br0 up") ||
                !Run(in + " addr add " + Address(i) + "/24 dev eth0") || !Run(in + " link set eth0 up") ||
                !Run(in + " link set lo up") || !Run(in + " route add default dev eth0"))
                return false;
        }
        return true;
    }

    std::string Host(int i) const { return prefix_ + "h" + std::to_string(i); }
    static std::string Address(int i) { return "10.77.0." + std::to_string(i); }
    // The command line prefix that runs a program inside host i.
    std::vector<std::string> Inside(int i) const { return {ip_, "netns", "exec", Host(i)}; }

    // Runs work on a thread that has joined host i's namespace: sockets
    // made there belong to it. False when the namespace cannot be joined.
    template <typename Work>
    bool RunInside(int i, Work work) const {
        bool joined = false;
        std::thread thread([&] {
            int fd = open(("/var/run/netns/" + Host(i)).c_str(), O_RDONLY | O_CLOEXEC);
            joined = fd >= 0 && setns(fd, CLONE_NEWNET) == 0;
            if (fd >= 0) close(fd);
            if (joined) work();
        });
        thread.join();
        return joined;
    }

private:
    static bool Run(const std::string& command) {
        return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
    }
    std::string Bridge() const { return prefix_ + "br"; }
    bool Add(const std::string& name) {
        if (!Run(ip_ + " netns add " + name)) return false;
        made_.push_back(name);
        return true;
    }

    std::string prefix_;
    std::string ip_;
    std::vector<std::string> made_;
};

}  // namespace test
