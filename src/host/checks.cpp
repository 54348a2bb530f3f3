// The start checks, in the order they run: host features, host date,
// interface level, record sizes. The first that fails refuses the start;
// the failure report (report.cpp) explains it to the user.
#include "host/checks.h"

#include <cstring>

#include "host/binding.h"
#include "plugin/frame.h"

static RecordSizeMismatch* g_mismatches = nullptr;
static RecordSizeMismatch g_tableCheckEntry;
static int g_cachedTableResult = -1;

void ListRecordSizeMismatch(RecordSizeMismatch* entry) {
    RecordSizeMismatch** link = &g_mismatches;
    for (; *link; link = &(*link)->next)
        if (*link == entry) return;
    entry->next = nullptr;
    *link = entry;
}

RecordSizeMismatch* FirstRecordSizeMismatch() { return g_mismatches; }

int HostRecordSize(const void* descriptor) {
    if (!descriptor) return 0;
    int16_t size;
    std::memcpy(&size, static_cast<const char*>(descriptor) + 6, sizeof size);
    return size;
}

int CheckTableSizes() {
    if (g_cachedTableResult != -1) return g_cachedTableResult;
    int hostSize = HostRecordSize(CallHost<Host::TableDescriptor>(kContractorTable));
    g_tableCheckEntry.expectedSize = kContractorRecordSize;
    g_tableCheckEntry.hostSize = hostSize;
    g_tableCheckEntry.tableName = kContractorTableName;
    if (hostSize != kContractorRecordSize) ListRecordSizeMismatch(&g_tableCheckEntry);
    int count = 0;
    for (RecordSizeMismatch* entry = g_mismatches; entry; entry = entry->next) ++count;
    g_cachedTableResult = count;
    return count;
}

// A host that gives the plug-in no control entry offers none of the
// features: it is not called, and every feature counts as missing.
static uint32_t MissingFeatures() {
    if (!g_frame.hostControl) return kAllFeaturesMissing & ~1u;
    return static_cast<uint32_t>(g_frame.hostControl(1, 1)) & ~1u;
}

static bool IsHostDateAccepted() {
    uint32_t minimum = static_cast<uint32_t>(CallHost<Host::DateValue>(kMinimumHostDate));
    uint32_t host = static_cast<uint32_t>(CallHost<Host::DateValue>(nullptr));
    return minimum != 0x7FFFFFFFu && host >= minimum;
}

int RunStartChecks() {
    g_frame.missingFeatureBits = MissingFeatures();
    if (g_frame.missingFeatureBits != 0) return -1;
    // A service the host lacks must never be called: such a host is refused
    // before anything calls one, and the report names the missing services.
    if (g_missingServices.count != 0) return -1;
    if (!IsHostDateAccepted()) return -1;
    if (CallHost<Host::InterfaceLevel>() != kInterfaceLevel) return -1;
    if (CheckTableSizes() != 0) return -1;
    return 0;
}
