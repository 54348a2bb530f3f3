// Loading, starting and stopping the plug-in as the host does.
#include "services/session.h"

#include "plumbing/host.h"
#include "plumbing/system.h"
#include "services/services.h"

namespace refhost {

bool ApplyLoadFaults(std::string& error) {
    for (unsigned ordinal : HostOptions().lackOrdinals) {
        bool found = false;
        for (int i = 0; i < kExportedServiceCount; ++i) {
            if (kExportedServices[i].ordinal != ordinal) continue;
            found = true;
            if (!WithdrawExport(kExportedServices[i].address)) {
                error = "cannot withdraw export " + std::to_string(ordinal);
                return false;
            }
        }
        if (!found) {
            error = "the host has no service " + std::to_string(ordinal) + " to withdraw";
            return false;
        }
    }
    HostOptions().lackOrdinals.clear();  // withdrawn once, for good
    return true;
}

template <typename Function>
static bool Bind(void* library, unsigned ordinal, Function& function, std::string& error) {
    function = reinterpret_cast<Function>(PluginExport(library, ordinal));
    if (!function) error = "the plug-in has no export " + std::to_string(ordinal);
    return function != nullptr;
}

bool PluginSession::Load(const std::string& path, std::string& error) {
    library_ = LoadPluginLibrary(path, error);
    if (!library_) return false;
    return Bind(library_, 30001, start_, error) && Bind(library_, 30008, report_, error) &&
           Bind(library_, 30009, action30009_, error) && Bind(library_, 30010, action30010_, error);
}

int PluginSession::Start() {
    char name[256] = {};
    int result = start_(&ordinal_30006, name);
    name_ = name;
    return result;
}

int PluginSession::ReportFailure() { return report_(1); }
int PluginSession::ShowNotice() { return report_(0); }
int PluginSession::Stop() { return start_(nullptr, nullptr); }
int PluginSession::Action30009() { return action30009_(); }
int PluginSession::Action30010(int32_t argument) { return action30010_(argument); }

}  // namespace refhost
