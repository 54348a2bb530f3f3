// Process attach, start and stop. This file fixes the order in which the
// plug-in's parts are started and stopped.
#include <cstring>

#include "host/checks.h"
#include "plugin/frame.h"
#include "plugin/host_test_switches.h"
#include "storage/settings.h"
#include "text/mazovia.h"
#include "ui/caller_id_window.h"
#include "ui/search_hooks.h"
#include "udp/listener.h"

PluginFrame g_frame = {
    .instance = nullptr,
    .modulePath = {},
    .moduleFileName = nullptr,
    .hostModule = nullptr,
    .hostControl = nullptr,
    .missingFeatureBits = kAllFeaturesMissing,
    // No socket yet: a stop without a start must close nothing.
    .threadBlock = {.state = 0, .hostWords = {}, .socket = kNoSocket, .sender = {}},
    .handlerRecord = nullptr,
    .previousHandler = nullptr,
    .action30009 = nullptr,
    .action30010 = nullptr,
};

const char* ModuleFileNameOf(const char* path) {
    const char* name = path;
    if (const char* backslash = std::strrchr(name, '\\')) name = backslash + 1;
    if (const char* slash = std::strrchr(name, '/')) name = slash + 1;
    return name;
}

void AttachModule(ModuleHandle instance, bool processAttach) {
    if (!processAttach) return;
    g_frame.instance = instance;
    GetOwnModulePath(instance, g_frame.modulePath, sizeof g_frame.modulePath);
    g_frame.moduleFileName = ModuleFileNameOf(g_frame.modulePath);
    if (g_frame.hostModule) return;
    g_frame.hostModule = FindLoadedModule("MERLOX");
    if (g_frame.hostModule)
        g_frame.hostControl = reinterpret_cast<HostControlEntry>(
            FindModuleOrdinal(g_frame.hostModule, kHostControlOrdinal));
}

static int32_t HOSTAPI RunCallerIdWindow(int32_t) {
    UDPSetup();
    return 0;
}

int StartPlugin(HostControlEntry control, char* out) {
    g_frame.hostControl = control;
    if (out) std::memcpy(out, kDisplayName, sizeof kDisplayName);
    if (RunStartChecks() != 0) return -1;
    TakeHostTestSwitches();
    if (HookContractorTable(true) != 0) return -1;
    LoadSettings();
    if (UDPOn() == 0) {
        UDPMarkRunning(g_frame.threadBlock);
        CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);
    }
    g_frame.handlerRecord =
        static_cast<void**>(CallHost<Host::HookWindow>(0x73, &SearchWindowHook));
    g_frame.action30010 = &RunCallerIdWindow;
    g_frame.previousHandler =
        g_frame.handlerRecord ? reinterpret_cast<WindowProcedure>(g_frame.handlerRecord[0]) : nullptr;
    return 0;
}

int StopPlugin() {
    static constexpr auto kSwitchingOff = MZ(u8"Wyłączanie obsługi UDP dla Clip Varnobox");
    CallHost<Host::AskUser>("uwaga", kSwitchingOff.c_str(), 0x200);
    CallHost<Host::StopThread>(&g_frame.threadBlock, -1);
    UDPReleaseSockets();
    CallHost<Host::StopCall>();
    HookContractorTable(false);
    g_frame.previousHandler = nullptr;
    if (g_frame.handlerRecord) CallHost<Host::UnhookWindow>(0x73);
    return 0;
}

// The notice waits for the user while the listener may re-read the
// settings (a restart sent by another station). The host therefore changes
// a copy of the flag, which reaches the settings under the lock together
// with their save: a re-read in between can neither race with the host's
// write nor put the old flag back before the save. The user-interface
// thread waits for the lock only a bounded time.
void ShowNotice() {
    Settings settings;
    // With the lock busy the notice waits for the next start.
    if (!TakeSettingsSnapshot(settings) || settings.noticeFlag != 0) return;
    int16_t flag = settings.noticeFlag;
    char title[sizeof kDisplayName];
    std::memcpy(title, kDisplayName, sizeof kDisplayName);
    CallHost<Host::NoticeWindow>(1194, &flag, 0, title);
    SaveNoticeFlag(flag);
}
