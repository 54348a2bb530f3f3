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

void LoadSettings();
void SaveSettings();
