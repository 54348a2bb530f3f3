// The plug-in's settings: four numbers kept in the host's own settings and
// the slot file name kept in "Ornitel.ini".
#pragma once

#include <cstdint>

inline constexpr int kOptionSuggestNip = 1;
inline constexpr int kOptionClipboard = 2;
inline constexpr int kOptionDayLog = 4;
inline constexpr int kDefaultPort = 1338;

struct Settings {
    int16_t noticeFlag;
    int16_t options;
    int16_t selectedSlot;
    int32_t port;
    char slotFileName[260];
};
extern Settings g_settings;

// Both hold the plug-in's lock, so that neither thread sees the record
// half-read or the slot file name half-copied.
void LoadSettings();
void SaveSettings();

// The slot file name as the caller-ID window changes it: copied whole under
// the lock, cut to the field's size.
void SetSlotFileName(const char* name);
// Option bit 4, read under the lock.
bool IsDayLogOn();
// A copy of the settings taken under the lock, for the user-interface
// thread: the listener re-reads them at every restart.
Settings SettingsSnapshot();
