// The settings: the four numbers under "Pytaj" in the host's own settings
// and the slot file name under "Filename" in "Ornitel.ini", both in the
// section "Ornitel", read and written through the host's INI services.
#include "storage/settings.h"

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "host/imports.h"
#include "ini/plugin_settings_keys.h"
#include "platform/platform.h"
#include "storage/storage_paths.h"
#include "udp/senders.h"

Settings g_settings = {0, 0, 0, kDefaultPort, ""};

static constexpr int kIniRead = 8;
static constexpr int kIniWrite = 9;
static constexpr const char* kSection = kPluginSettingsSection;
static constexpr const char* kNumbersKey = kPluginNumbersKey;
static constexpr char kNumbersFormat[] = "%d,%d,%d,%d";
static constexpr const char* kIniFileName = kPluginIniFileName;
static constexpr const char* kFileNameKey = kPluginFileNameKey;
// The plug-in only reads the allowed senders.
static constexpr const char* kSendersKey = kPluginSendersKey;
// The host copies at most this many characters of the stored file name.
static constexpr int kFileNameReadWidth = 257;
static_assert(sizeof g_settings.slotFileName > kFileNameReadWidth);

// The open window's choices, applied on top of every load until the
// window's close has saved them. Guarded by the plug-in's lock.
struct WindowChoices {
    bool open;
    int16_t options;
    int16_t selectedSlot;
    int32_t port;
    char fileName[sizeof g_settings.slotFileName];
};
static WindowChoices g_windowChoices;
// Set by a close that saved the choices without the lock: the next load
// reads what was saved and drops the choices.
static std::atomic<bool> g_choicesSavedWithoutLock{false};
// The notice flag as the window last found it, for a save without the
// lock; the user-interface thread alone uses it. The window opens long
// after the notice.
static int16_t g_windowNoticeFlag = 1;
// The choices that close saved without the lock, as saved; the
// user-interface thread alone uses them.
static WindowChoices g_choicesSaved;

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

void SetOptionBits(int16_t options) { std::atomic_ref<int16_t>(g_settings.options).store(options); }

int OptionBits() { return std::atomic_ref<int16_t>(g_settings.options).load(); }

bool IsDayLogOn() { return (OptionBits() & kOptionDayLog) != 0; }

static void CopyFileName(char* out, const char* name) {
    std::snprintf(out, sizeof g_settings.slotFileName, "%s", name);
}

// The host's services write into a copy: the option bits of the record are
// read by the other thread without the lock.
void LoadSettings() {
    SharedStateLock lock;
    Settings read = g_settings;
    AccessHostSettings(kIniRead, kSection, kNumbersKey, kNumbersFormat, &read.noticeFlag,
                       &read.options, &read.selectedSlot, &read.port);
    AccessIniFile(kIniFileName, kIniRead, kSection, kFileNameKey, "%*s", kFileNameReadWidth,
                  read.slotFileName);
    read.slotFileName[sizeof read.slotFileName - 1] = '\0';
    char senders[kSendersTextCapacity] = {};
    AccessIniFile(kIniFileName, kIniRead, kSection, kSendersKey, "%*s", kSendersReadWidth, senders);
    senders[sizeof senders - 1] = '\0';
    SetSendersSetting(senders);
    if (read.port == 0) read.port = kDefaultPort;
    if (read.slotFileName[0] == '\0') {
        CallHost<Host::MakeDirectories>(kLogDirectory);
        CopyFileName(read.slotFileName, kDefaultSlotFileName);
    }
    if (g_choicesSavedWithoutLock.exchange(false)) g_windowChoices = WindowChoices{};
    if (g_windowChoices.open) {
        read.options = g_windowChoices.options;
        read.selectedSlot = g_windowChoices.selectedSlot;
        read.port = g_windowChoices.port;
        CopyFileName(read.slotFileName, g_windowChoices.fileName);
    }
    g_settings.noticeFlag = read.noticeFlag;
    SetOptionBits(read.options);
    g_settings.selectedSlot = read.selectedSlot;
    g_settings.port = read.port;
    CopyFileName(g_settings.slotFileName, read.slotFileName);
}

// Nothing is corrected here: a port of 0 or an empty file name is stored
// as it stands and corrected at the next load.
static void SaveValues(const Settings& values) {
    AccessHostSettings(kIniWrite, kSection, kNumbersKey, kNumbersFormat,
                       static_cast<int32_t>(values.noticeFlag), static_cast<int32_t>(values.options),
                       static_cast<int32_t>(values.selectedSlot), values.port);
    AccessIniFile(kIniFileName, kIniWrite, kSection, kFileNameKey, "%s", values.slotFileName);
}

void SaveSettings() {
    SharedStateLock lock;
    SaveValues(g_settings);
}

bool SaveNoticeFlag(int16_t flag) {
    BoundedStateLock lock;
    if (!lock.held()) return false;
    g_settings.noticeFlag = flag;
    SaveValues(g_settings);
    return true;
}

Settings CurrentSettings() { return g_settings; }

bool IsSlotFileNameInForce(const char* name) {
    return std::strncmp(g_settings.slotFileName, name, sizeof g_settings.slotFileName) == 0;
}

bool TakeSettingsSnapshot(Settings& copy) {
    BoundedStateLock lock;
    if (!lock.held()) return false;
    copy = g_settings;
    return true;
}

void SetWindowChoices(int16_t options, int16_t selectedSlot, int32_t port, const char* fileName) {
    g_choicesSavedWithoutLock.store(false);
    g_windowChoices.open = true;
    g_windowNoticeFlag = g_settings.noticeFlag;
    g_windowChoices.options = options;
    g_windowChoices.selectedSlot = selectedSlot;
    g_windowChoices.port = port;
    CopyFileName(g_windowChoices.fileName, fileName);
    SetOptionBits(options);
    g_settings.selectedSlot = selectedSlot;
    g_settings.port = port;
    CopyFileName(g_settings.slotFileName, fileName);
}

Settings SaveWindowChoices(int16_t options, int16_t selectedSlot, int32_t port, const char* fileName) {
    BoundedStateLock lock;
    Settings values;
    if (lock.held()) {
        SetWindowChoices(options, selectedSlot, port, fileName);
        values = g_settings;
    } else {
        // The listener holds the lock: the record is not touched.
        values = {g_windowNoticeFlag, options, selectedSlot, port, ""};
        CopyFileName(values.slotFileName, fileName);
    }
    SaveValues(values);
    if (lock.held()) {
        g_windowChoices = WindowChoices{};
    } else {
        g_choicesSaved = {true, options, selectedSlot, port, ""};
        CopyFileName(g_choicesSaved.fileName, fileName);
        g_choicesSavedWithoutLock.store(true);
    }
    return values;
}

// Once the listener's re-read has taken what was saved (or the window's
// choices went in under the lock since), the settings hold it already.
void KeepChoicesSavedWithoutLock(Settings& settings) {
    if (!g_choicesSavedWithoutLock.load()) return;
    settings.options = g_choicesSaved.options;
    settings.selectedSlot = g_choicesSaved.selectedSlot;
    settings.port = g_choicesSaved.port;
    CopyFileName(settings.slotFileName, g_choicesSaved.fileName);
}
