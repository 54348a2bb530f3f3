// The console, Ctrl-C and the computer name on POSIX systems: the terminal
// takes UTF-8 as it is.
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "net/sender_list.h"
#include "output/language.h"
#include "system/station.h"

static std::atomic<bool> g_interrupted{false};

static void NoteInterrupt(int) { g_interrupted.store(true); }

void CatchInterrupt() {
    struct sigaction action = {};
    action.sa_handler = NoteInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return g_interrupted.load(); }

// stderr is flushed at once: what the tool says there (a wait, an error)
// reaches a file or a pipe even when the run is stopped.
void WriteText(std::FILE* stream, const std::string& utf8) {
    std::fputs(utf8.c_str(), stream);
    if (stream == stderr) std::fflush(stream);
}

std::string StationComputerName() {
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0) return {};
    return std::string(name).substr(0, 14);
}

std::string ExecutableDirectory() {
    std::error_code error;
    std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(".") : self.parent_path().string();
}

const char* PluginFileName() { return "libcallerid.so"; }
const char* PortHolderCommand() { return "ss -ulpn"; }
const char* ProgramListCommand() { return "ps -e"; }
const char* HostModuleFileName() { return "libMERLOX.so"; }

Language SystemLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value && *value) return std::string(value).rfind("pl", 0) == 0 ? Language::Polish : Language::English;
    }
    return Language::English;
}

bool StandardOutputIsTerminal() { return isatty(STDOUT_FILENO) == 1; }

void ListLocalSubnets(SenderList& subnets) {
    subnets = SenderList{};
    AddSenderRange(&subnets, kLoopbackRange);
    AddSenderRange(&subnets, {0, 0});
    struct ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) return;
    for (struct ifaddrs* item = list; item; item = item->ifa_next) {
        if (!item->ifa_addr || !item->ifa_netmask || item->ifa_addr->sa_family != AF_INET) continue;
        if ((item->ifa_flags & IFF_UP) == 0) continue;
        AddSenderRange(&subnets, SubnetOf(ntohl(reinterpret_cast<sockaddr_in*>(item->ifa_addr)->sin_addr.s_addr),
                                          ntohl(reinterpret_cast<sockaddr_in*>(item->ifa_netmask)->sin_addr.s_addr)));
    }
    freeifaddrs(list);
}
