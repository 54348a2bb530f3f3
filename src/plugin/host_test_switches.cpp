// The reference host's test switches, each found by its export's name in
// the host module; absent exports leave everything as the host program
// has it.
#include "plugin/host_test_switches.h"

#include "platform/platform.h"
#include "plugin/frame.h"

static constexpr char kPauseDivisorExport[] = "RefhostPauseDivisor";
static constexpr char kLockOrderExport[] = "RefhostCheckLockOrder";
static constexpr char kSenderRateExport[] = "RefhostSenderRateOff";
static constexpr char kServerClockExport[] = "RefhostServerClockOffset";

using HostSwitch = int(HOSTVA*)();

static HostSwitch FindHostSwitch(const char* name) {
    return reinterpret_cast<HostSwitch>(FindModuleSymbol(g_frame.hostModule, name));
}

int HostPauseDivisor() {
    static const HostSwitch divisor = FindHostSwitch(kPauseDivisorExport);
    int value = divisor ? divisor() : 1;
    return value > 1 ? value : 1;
}

bool HostLiftsSenderRate() {
    static const HostSwitch lifted = FindHostSwitch(kSenderRateExport);
    return lifted && lifted() != 0;
}

bool HostServerClockOffset(long long* seconds) {
    using Offset = long long(HOSTVA*)();
    auto offset = reinterpret_cast<Offset>(FindModuleSymbol(g_frame.hostModule, kServerClockExport));
    if (!offset) return false;
    *seconds = offset();
    return true;
}

void TakeHostTestSwitches() {
    HostSwitch checkLockOrder = FindHostSwitch(kLockOrderExport);
    if (checkLockOrder && checkLockOrder() != 0) CheckLockOrder(true);
}
