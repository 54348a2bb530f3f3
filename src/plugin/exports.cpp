// The plug-in's four exports. On Windows they are exported by ordinal only
// (callerid.def); on Linux their symbols are ordinal_N.
#include "host/report.h"
#include "plugin/frame.h"

PLUGIN_EXPORT int32_t HOSTAPI ordinal_30001(HostControlEntry control, char* out) {
    if (!control) return StopPlugin();
    return StartPlugin(control, out);
}

PLUGIN_EXPORT int32_t HOSTAPI ordinal_30008(int32_t flag) {
    if (flag != 0)
        ReportLoadFailure();
    else
        ShowNotice();
    return 0;
}

PLUGIN_EXPORT int32_t HOSTAPI ordinal_30009() {
    return g_frame.action30009 ? g_frame.action30009() : 0;
}

PLUGIN_EXPORT int32_t HOSTAPI ordinal_30010(int32_t argument) {
    if (!g_frame.action30010) return static_cast<int32_t>(0xB669FD2Eu);
    return g_frame.action30010(argument);
}
