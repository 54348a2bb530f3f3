// The host services, exported by ordinal: ordinal_N on Linux, ordinal N
// without a name in MERLOX.dll. Their types are those the plug-in binds.
#pragma once

#include "host/imports.h"

#if defined(_WIN32)
#define MERLOX_EXPORT
#else
#define MERLOX_EXPORT __attribute__((visibility("default")))
#endif

#define REFHOST_SERVICE_DECLARATION(ordinal, name, result, convention, parameters) \
    extern "C" MERLOX_EXPORT result convention ordinal_##ordinal parameters;
HOST_IMPORTS(REFHOST_SERVICE_DECLARATION)
#undef REFHOST_SERVICE_DECLARATION

// The host control entry.
extern "C" MERLOX_EXPORT int HOSTVA ordinal_30006(int what, int value);

namespace refhost {

// Every exported service with its ordinal, for the fault switch that makes
// the host lack some of them.
struct ExportedService {
    unsigned ordinal;
    void* address;
};
extern const ExportedService kExportedServices[];
extern const int kExportedServiceCount;

}  // namespace refhost
