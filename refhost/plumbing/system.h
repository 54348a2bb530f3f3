// What the reference host needs of the operating system, one file per OS
// (system_posix.cpp, system_win32.cpp).
#pragma once

#include <atomic>
#include <ctime>
#include <string>
#include <string_view>

#include "text/line_end.h"

namespace refhost {

void* LoadPluginLibrary(const std::string& path, std::string& error);
void* PluginExport(void* library, unsigned ordinal);
// Makes this module stop offering one of its exports, as a host that
// lacks the service would.
bool WithdrawExport(void* address);
// Ctrl-C and termination requests set the flag.
void InstallStopHandlers(std::atomic<bool>* stopRequested);
std::string ExecutableDirectory();
std::string DefaultPluginName();
bool ChangeDirectory(const std::string& dir);
void NameThisThread(const char* name);
void SleepMilliseconds(int milliseconds);
// Sends one datagram from a socket of the host's own to an IPv4 address
// and port; 255.255.255.255 broadcasts. False with the reason on failure.
bool SendDatagram(const std::string& address, int port, std::string_view bytes, std::string& error);
// The local civil time of a moment, converted safely from any thread.
bool LocalTimeOf(std::time_t moment, std::tm& local);

}  // namespace refhost
