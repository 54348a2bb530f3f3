// One plug-in loaded into the reference host: load, start, notice, stop,
// and its exports by ordinal. Used by the refhost program and by tests.
#pragma once

#include <cstdint>
#include <string>

#include "host/imports.h"

namespace refhost {

// Applies the fault switches that must be in place before a plug-in loads
// (the services the host lacks).
bool ApplyLoadFaults(std::string& error);

class PluginSession {
public:
    bool Load(const std::string& path, std::string& error);
    // Export 30001 with the host's control entry; the display name lands
    // in name(). Returns the plug-in's result (0 or -1).
    int Start();
    int ReportFailure();      // export 30008 with 1
    int ShowNotice();         // export 30008 with 0
    int Stop();               // export 30001 with null
    int Action30009();
    int Action30010(int32_t argument);
    const std::string& name() const { return name_; }
    void* library() const { return library_; }

private:
    void* library_ = nullptr;
    int32_t(HOSTAPI* start_)(HostControlEntry, char*) = nullptr;
    int32_t(HOSTAPI* report_)(int32_t) = nullptr;
    int32_t(HOSTAPI* action30009_)() = nullptr;
    int32_t(HOSTAPI* action30010_)(int32_t) = nullptr;
    std::string name_;
};

}  // namespace refhost
