// The settings: the four numbers under "Pytaj" in the host's own settings
// and the slot file name under "Filename" in "Ornitel.ini", both in the
// section "Ornitel", read and written through the host's INI services.
#include "storage/settings.h"

#include <cstdarg>
#include <cstdio>

#include "host/imports.h"
#include "storage/storage_paths.h"

Settings g_settings = {0, 0, 0, kDefaultPort, ""};

static constexpr int kIniRead = 8;
static constexpr int kIniWrite = 9;
static constexpr char kSection[] = "Ornitel";
static constexpr char kNumbersKey[] = "Pytaj";
static constexpr char kNumbersFormat[] = "%d,%d,%d,%d";
static constexpr char kIniFileName[] = "Ornitel.ini";
static constexpr char kFileNameKey[] = "Filename";
// The host copies at most this many characters of the stored file name.
static constexpr int kFileNameReadWidth = 257;
static_assert(sizeof g_settings.slotFileName > kFileNameReadWidth);

// The host's INI services take a ready argument list; these pass their own
// variable arguments on as one.
static int AccessHostSettings(int mode, const char* section, const char* key, const char* format,
                              ...) {
    va_list arguments;
    va_start(arguments, format);
    int result = CallHost<Host::HostSettings>(mode, section, key, format, arguments);
    va_end(arguments);
    return result;
}

static int AccessIniFile(const char* file, int mode, const char* section, const char* key,
                         const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    int result = CallHost<Host::IniFile>(file, mode, section, key, format, arguments);
    va_end(arguments);
    return result;
}

void LoadSettings() {
    SharedStateLock lock;
    AccessHostSettings(kIniRead, kSection, kNumbersKey, kNumbersFormat, &g_settings.noticeFlag,
                       &g_settings.options, &g_settings.selectedSlot, &g_settings.port);
    AccessIniFile(kIniFileName, kIniRead, kSection, kFileNameKey, "%*s", kFileNameReadWidth,
                  g_settings.slotFileName);
    g_settings.slotFileName[sizeof g_settings.slotFileName - 1] = '\0';
    if (g_settings.port == 0) g_settings.port = kDefaultPort;
    if (g_settings.slotFileName[0] == '\0') {
        CallHost<Host::MakeDirectories>(kLogDirectory);
        std::snprintf(g_settings.slotFileName, sizeof g_settings.slotFileName, "%s",
                      kDefaultSlotFileName);
    }
}

// Nothing is corrected here: a port of 0 or an empty file name is stored
// as it stands and corrected at the next load.
void SaveSettings() {
    SharedStateLock lock;
    AccessHostSettings(kIniWrite, kSection, kNumbersKey, kNumbersFormat,
                       static_cast<int32_t>(g_settings.noticeFlag),
                       static_cast<int32_t>(g_settings.options),
                       static_cast<int32_t>(g_settings.selectedSlot), g_settings.port);
    AccessIniFile(kIniFileName, kIniWrite, kSection, kFileNameKey, "%s", g_settings.slotFileName);
}

void SetSlotFileName(const char* name) {
    SharedStateLock lock;
    std::snprintf(g_settings.slotFileName, sizeof g_settings.slotFileName, "%s", name);
}

bool IsDayLogOn() {
    SharedStateLock lock;
    return (g_settings.options & kOptionDayLog) != 0;
}

Settings SettingsSnapshot() {
    SharedStateLock lock;
    return g_settings;
}
