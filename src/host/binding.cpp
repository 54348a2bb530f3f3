// Binding of the host import table. Every entry is bound by ordinal while
// the library loads; a service the host lacks is counted and remembered for
// the failure report, and the entry is left null so that it is never called.
#include "host/binding.h"

#include <cstdio>

#include "plugin/frame.h"

MissingServices g_missingServices;

static constexpr unsigned kHostOrdinals[kHostImportCount] = {
#define HOST_IMPORT_ORDINAL(ordinal, name, result, convention, parameters) ordinal,
    HOST_IMPORTS(HOST_IMPORT_ORDINAL)
#undef HOST_IMPORT_ORDINAL
};

unsigned HostOrdinal(Host service) { return kHostOrdinals[static_cast<int>(service)]; }

bool IsHostServiceAvailable(Host service) {
    return g_hostImports[static_cast<int>(service)] != nullptr;
}

static bool IsOrdinalKey(const char* key) {
    return reinterpret_cast<uintptr_t>(key) < 0x10000;
}

static void NoteMissingOrdinal(unsigned ordinal) {
    if (g_missingServices.count < kStoredMissingOrdinals)
        g_missingServices.ordinals[g_missingServices.count] = static_cast<uint16_t>(ordinal);
    ++g_missingServices.count;
}

void* ResolveHostService(const char* key, void** entry) {
    ModuleHandle host = g_frame.hostModule;
    if (IsOrdinalKey(key)) {
        unsigned ordinal = static_cast<unsigned>(reinterpret_cast<uintptr_t>(key));
        *entry = FindModuleOrdinal(host, ordinal);
    } else {
        *entry = FindModuleSymbol(host, key);
    }
    if (*entry) return *entry;

    char line[1024];
    if (IsOrdinalKey(key)) {
        unsigned ordinal = static_cast<unsigned>(reinterpret_cast<uintptr_t>(key));
        NoteMissingOrdinal(ordinal);
        std::snprintf(line, sizeof line, "Brak funkcji o numerze %d\n", static_cast<int>(ordinal));
    } else {
        std::snprintf(line, sizeof line, "Brak funkcji o nazwie %s\n", key);
    }
    if (IsDebuggerAttached()) WriteDebuggerText(line);
    return *entry;
}

// Stand-ins for services the host lacks, reached only when a call went
// through a binding stub before its entry was bound. They give the neutral
// result and clean the stack as the real service would.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#define HOST_IMPORT_MISSING(ordinal, name, result, convention, parameters) \
    static result convention Missing##name parameters { return {}; }
HOST_IMPORTS(HOST_IMPORT_MISSING)
#undef HOST_IMPORT_MISSING
#pragma GCC diagnostic pop

static void* const kMissingStandIns[kHostImportCount] = {
#define HOST_IMPORT_STAND_IN(ordinal, name, result, convention, parameters) \
    reinterpret_cast<void*>(&Missing##name),
    HOST_IMPORTS(HOST_IMPORT_STAND_IN)
#undef HOST_IMPORT_STAND_IN
};

// Called by the binding stubs (assembly) with the index of their entry.
extern "C" void* HOSTVA ResolveHostEntryFromStub(int index) {
    void* function = ResolveHostService(OrdinalKey(kHostOrdinals[index]), &g_hostImports[index]);
    return function ? function : kMissingStandIns[index];
}

void BindHostServices() {
    for (int index = 0; index < kHostImportCount; ++index)
        ResolveHostService(OrdinalKey(kHostOrdinals[index]), &g_hostImports[index]);
}

// The binders run as a static initialiser, after the process-attach
// routine has found the host module.
[[gnu::constructor(102)]] static void BindAtLoad() { BindHostServices(); }
