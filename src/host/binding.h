// Binding of the host services by ordinal, and the list of those the host
// lacks.
#pragma once

#include <cstdint>

#include "host/imports.h"

// A key below 0x10000 is an ordinal, otherwise the address of a name.
void* ResolveHostService(const char* key, void** entry);

inline const char* OrdinalKey(unsigned ordinal) {
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(ordinal));
}

// The services the host lacks: how many, and the first eight ordinals in
// the order they failed.
inline constexpr int kStoredMissingOrdinals = 8;
struct MissingServices {
    int32_t count;
    uint16_t ordinals[kStoredMissingOrdinals];
};
extern MissingServices g_missingServices;

// Binds every entry of the import table, in table order.
void BindHostServices();

// The addresses the entries held before binding.
extern "C" void* const g_hostBindingStubs[kHostImportCount];
unsigned HostOrdinal(Host service);
