// What the reference host needs of the operating system, one file per OS
// (system_posix.cpp, system_win32.cpp).
#pragma once

#include <atomic>
#include <string>

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

}  // namespace refhost
