// Who is working: the station number (37970) and the current user's
// record (32500), both set from the command line (--station, --user).
#include <algorithm>
#include <cstring>
#include <string>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/services.h"
#include "text/mazovia_utf8.h"

using namespace refhost;

namespace {

// The user record as the plug-in reads it: the name, in Mazovia, at byte
// 54; the bytes before it are the host's own and stay zero here.
constexpr std::size_t kUserNameOffset = 54;
constexpr std::size_t kUserRecordSize = 128;

}  // namespace

extern "C" {

int HOSTAPI ordinal_37970() {
    HostLockScope held(37970);
    int station = HostOptions().station;
    Trace(37970, "-> %d", station);
    return station;
}

// Each thread gets its own record, so that a call on one thread never
// changes the text another thread is still reading.
const char* HOSTAPI ordinal_32500() {
    HostLockScope held(32500);
    thread_local char record[kUserRecordSize];
    std::string name = Utf8ToMazovia(HostOptions().user);
    std::size_t length = std::min(name.size(), kUserRecordSize - kUserNameOffset - 1);
    std::memset(record, 0, sizeof record);
    std::memcpy(record + kUserNameOffset, name.data(), length);
    Trace(32500, "-> user \"%s\"", record + kUserNameOffset);
    return record;
}

}  // extern "C"
