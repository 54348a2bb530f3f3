// Ports that the system refuses to bind, as Windows refuses a port in a
// range it reserves (10013): a port below the network's first unprivileged
// port, in a process without the right to bind such ports. The right is
// dropped for the calling thread and the threads it starts afterwards; the
// refusal is lifted by lowering the first unprivileged port, which belongs
// to the test's own network namespace (never done outside one).
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <string>

#include "support/test_support.h"

namespace test {

inline constexpr int kRefusedPort = 1000;

inline bool DropBindCapability() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    data[0].effective &= ~(1u << CAP_NET_BIND_SERVICE);
    data[0].permitted &= ~(1u << CAP_NET_BIND_SERVICE);
    return syscall(SYS_capset, &header, data) == 0;
}

inline bool AllowPrivilegedPorts() {
    if (!NetworkIsolated()) return false;
    WriteFile("/proc/sys/net/ipv4/ip_unprivileged_port_start", std::to_string(kRefusedPort));
    return ReadFile("/proc/sys/net/ipv4/ip_unprivileged_port_start") == std::to_string(kRefusedPort) + "\n";
}

}  // namespace test
