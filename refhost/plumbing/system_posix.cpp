// The reference host on Linux: the plug-in is a shared object, exports are
// ordinal_N symbols.
#include <arpa/inet.h>
#include <dlfcn.h>
#include <elf.h>
#include <link.h>
#include <netinet/in.h>
#include <pthread.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdint>
#include <string>
#include <thread>

#include "plumbing/host.h"
#include "plumbing/system.h"

namespace refhost {

void* LoadPluginLibrary(const std::string& path, std::string& error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) error = dlerror();
    return library;
}

void* PluginExport(void* library, unsigned ordinal) {
    std::string symbol = "ordinal_" + std::to_string(ordinal);
    return dlsym(library, symbol.c_str());
}

// The dynamic symbol of the export is given no value, which the dynamic
// linker's lookup takes for "not defined here".
bool WithdrawExport(void* address) {
    Dl_info info{};
    void* entry = nullptr;
    if (!dladdr1(address, &info, &entry, RTLD_DL_SYMENT) || !entry) return false;
    auto* symbol = static_cast<ElfW(Sym)*>(entry);
    long page = sysconf(_SC_PAGESIZE);
    auto first = reinterpret_cast<uintptr_t>(symbol) & ~static_cast<uintptr_t>(page - 1);
    auto last = (reinterpret_cast<uintptr_t>(symbol + 1) - 1) & ~static_cast<uintptr_t>(page - 1);
    std::size_t length = last - first + static_cast<std::size_t>(page);
    if (mprotect(reinterpret_cast<void*>(first), length, PROT_READ | PROT_WRITE) != 0) return false;
    symbol->st_value = 0;
    symbol->st_shndx = SHN_UNDEF;
    mprotect(reinterpret_cast<void*>(first), length, PROT_READ);
    return true;
}

static std::atomic<bool>* g_stopRequested = nullptr;

static void OnStopSignal(int) {
    if (g_stopRequested) g_stopRequested->store(true);
}

void InstallStopHandlers(std::atomic<bool>* stopRequested) {
    g_stopRequested = stopRequested;
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

std::string ExecutableDirectory() {
    char path[PATH_MAX];
    ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0) return ".";
    std::string full(path, static_cast<std::size_t>(length));
    return full.substr(0, full.find_last_of('/'));
}

std::string DefaultPluginName() { return "libcallerid.so"; }

bool ChangeDirectory(const std::string& dir) { return chdir(dir.c_str()) == 0; }

std::string HostPath(std::string_view path) {
    std::string mapped(path);
    for (char& c : mapped)
        if (c == '\\') c = '/';
    return mapped;
}

void NameThisThread(const char* name) {
    char shortName[16] = {};
    for (int i = 0; i < 15 && name[i]; ++i) shortName[i] = name[i];
    pthread_setname_np(pthread_self(), shortName);
}

void SleepMilliseconds(int milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool SendDatagram(const std::string& address, int port, std::string_view bytes, std::string& error) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &to.sin_addr) != 1) {
        error = address + " is no IPv4 address";
        return false;
    }
    int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    int on = 1;
    bool sent = fd >= 0 && setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0 &&
                sendto(fd, bytes.data(), bytes.size(), 0, reinterpret_cast<sockaddr*>(&to), sizeof to) ==
                    static_cast<ssize_t>(bytes.size());
    if (!sent) error = std::string("sendto: ") + std::strerror(errno);
    if (fd >= 0) close(fd);
    return sent;
}

bool LocalTimeOf(std::time_t moment, std::tm& local) { return localtime_r(&moment, &local) != nullptr; }

}  // namespace refhost
