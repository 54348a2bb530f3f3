// The contractor table hook and the search window hook. The table hook is
// installed and removed here; what it does for the keys comes with the
// window work, until then it only passes every call on.
#include "ui/search_hooks.h"

#include <cstring>

#include "host/checks.h"
#include "host/imports.h"
#include "plugin/frame.h"

inline constexpr int kTableHandlerOffset = 104;

static char* g_tableDescriptor = nullptr;
static TableHandler g_previousTableHandler = nullptr;
static RecordSizeMismatch g_hookMismatch;

static TableHandler TableHandlerOf(const char* descriptor) {
    TableHandler handler;
    std::memcpy(&handler, descriptor + kTableHandlerOffset, sizeof handler);
    return handler;
}

static void SetTableHandler(char* descriptor, TableHandler handler) {
    std::memcpy(descriptor + kTableHandlerOffset, &handler, sizeof handler);
}

static int HOSTAPI ContractorTableCallback(int key, int a2, int a3, int a4, int a5, int a6,
                                          int a7, int a8, int a9, int column, int a11) {
    if (!g_previousTableHandler) return 0;
    return g_previousTableHandler(key, a2, a3, a4, a5, a6, a7, a8, a9, column, a11);
}

int HookContractorTable(bool install) {
    if (!install) {
        if (g_tableDescriptor) {
            SetTableHandler(g_tableDescriptor, g_previousTableHandler);
            g_tableDescriptor = nullptr;
        }
        return 0;
    }
    if (g_tableDescriptor) return 0;
    char* descriptor = static_cast<char*>(CallHost<Host::TableDescriptor>(kContractorTable));
    int hostSize = HostRecordSize(descriptor);
    if (descriptor && hostSize == kContractorRecordSize) {
        g_tableDescriptor = descriptor;
        g_previousTableHandler = TableHandlerOf(descriptor);
        SetTableHandler(descriptor, &ContractorTableCallback);
        return 0;
    }
    g_hookMismatch.expectedSize = kContractorRecordSize;
    g_hookMismatch.hostSize = hostSize;
    g_hookMismatch.tableName = kContractorTableName;
    ListRecordSizeMismatch(&g_hookMismatch);
    return -1;
}

int HOSTAPI SearchWindowHook(int id, int event) {
    WindowProcedure previous = g_frame.previousHandler;
    if (!previous && g_frame.handlerRecord)
        previous = reinterpret_cast<WindowProcedure>(g_frame.handlerRecord[0]);
    return previous ? previous(id, event) : 0;
}
