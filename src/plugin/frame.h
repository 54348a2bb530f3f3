// The plug-in frame: who and where the plug-in is, the host it runs in,
// and the start and stop sequences.
#pragma once

#include <cstdint>

#include "host/imports.h"
#include "udp/listener.h"

// The plug-in's title towards the host: 66 characters and its NUL.
inline constexpr char kDisplayName[] =
    "Caller ID Tabele/Kontrahenci/Ctrl-F/Ctrl-G(szukanie w rubryce NIP)";
static_assert(sizeof kDisplayName == 67);

inline constexpr unsigned kAllFeaturesMissing = 0xFFFFFFFFu;

struct PluginFrame {
    ModuleHandle instance;
    char modulePath[300];
    const char* moduleFileName;     // points into modulePath
    ModuleHandle hostModule;
    HostControlEntry hostControl;   // host export 30006, or the start's control
    uint32_t missingFeatureBits;
    UDPControl threadBlock;
    void** handlerRecord;           // from the hook of host window 0x73
    WindowProcedure previousHandler;
    int32_t(HOSTAPI* action30009)();
    int32_t(HOSTAPI* action30010)(int32_t argument);
};
extern PluginFrame g_frame;

// The text after the last '\\' of a path, and then after the last '/'.
const char* ModuleFileNameOf(const char* path);

int StartPlugin(HostControlEntry control, char* out);
int StopPlugin();
void ShowNotice();

// The host's export 30006 by ordinal.
inline constexpr unsigned kHostControlOrdinal = 30006;
