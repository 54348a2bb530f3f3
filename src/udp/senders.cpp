// The allowed senders: the setting "Nadawcy" parsed into ranges, the local
// subnets from the system's interface list, and the permit of a sender.
#include "udp/senders.h"

#include <cstdio>
#include <cstring>

#include "net/sender_list.h"
#include "platform/platform.h"
#include "storage/day_log.h"
#include "text/mazovia.h"
#include "udp/listener_pauses.h"

struct SenderRules {
    SenderList list;
    int bad;               // entries that could not be read
    char firstBad[40];
};

// Written by LoadSettings under the plug-in's lock.
static SenderRules g_loaded;
// The listener thread's own copies.
static SenderRules g_inForce;
static SenderList g_localSubnets;
static int64_t g_localReadAt = 0;
static bool g_localRead = false;

static constexpr int kMinuteMilliseconds = 60000;
static constexpr int kMostInterfaces = 16;
static constexpr auto kBadEntries = MZ(u8"Nadawcy: pominięto błędne wpisy (%d), pierwszy: \"%s\"");

void SetSendersSetting(const char* text) {
    std::size_t offset = 0, length = 0;
    g_loaded.bad = ParseSenderList(text, &g_loaded.list, &offset, &length);
    g_loaded.firstBad[0] = '\0';
    if (g_loaded.bad > 0) {
        if (length >= sizeof g_loaded.firstBad) length = sizeof g_loaded.firstBad - 1;
        std::memcpy(g_loaded.firstBad, text + offset, length);
        g_loaded.firstBad[length] = '\0';
    }
}

static void ReadLocalSubnets() {
    InterfaceAddress interfaces[kMostInterfaces];
    int count = ListInterfaceAddresses(interfaces, kMostInterfaces);
    g_localSubnets = SenderList{};
    AddSenderRange(&g_localSubnets, kLoopbackRange);
    // A station's own broadcast leaves an interface without an address of
    // its own (a network without a route) as 0.0.0.0.
    AddSenderRange(&g_localSubnets, {0, 0});
    for (int i = 0; i < count; ++i) AddSenderRange(&g_localSubnets, SubnetOf(interfaces[i].address, interfaces[i].mask));
    g_localReadAt = MonotonicNanoseconds();
    g_localRead = true;
}

void TakeSenderRules() {
    {
        SharedStateLock lock;
        g_inForce = g_loaded;
    }
    ReadLocalSubnets();
    if (g_inForce.bad > 0) WriteEventLogF(kBadEntries, g_inForce.bad, g_inForce.firstBad);
}

// A sender outside the local subnets as last read makes them be read
// again, at most once a minute.
SenderPermit SenderPermitOf(uint32_t address) {
    if (!g_localRead) ReadLocalSubnets();
    SenderPermit permit = PermitOf(g_inForce.list, g_localSubnets, address);
    if (permit == SenderPermit::Calls || SenderListAllows(g_localSubnets, address)) return permit;
    int64_t minute = static_cast<int64_t>(ListenerMilliseconds(kMinuteMilliseconds)) * 1000000;
    if (MonotonicNanoseconds() - g_localReadAt < minute) return permit;
    ReadLocalSubnets();
    return PermitOf(g_inForce.list, g_localSubnets, address);
}
