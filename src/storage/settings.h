// The plug-in's settings: four numbers kept in the host's own settings and
// the slot file name kept in "Ornitel.ini".
#pragma once

#include <cstdint>

#include "udp/port_rule.h"

inline constexpr int kOptionSuggestNip = 1;
inline constexpr int kOptionClipboard = 2;
inline constexpr int kOptionDayLog = 4;
inline constexpr int kDefaultPort = kBoxPort;

struct Settings {
    int16_t noticeFlag;
    int16_t options;
    int16_t selectedSlot;
    int32_t port;
    char slotFileName[260];
};
extern Settings g_settings;

// Both hold the plug-in's lock, so that neither thread sees the record
// half-read or the slot file name half-copied. A load while the caller-ID
// window is open keeps the window's choices (see SetWindowChoices).
void LoadSettings();
void SaveSettings();
// The notice's flag set and saved in one bounded hold of the lock, so that
// a re-read cannot come between; false (nothing done) when it stayed busy.
bool SaveNoticeFlag(int16_t flag);

// Option bit 4. It is read without the lock, since every event line asks
// for it, on both threads; the option bits are therefore written only
// through SetOptionBits (or before the listener runs).
bool IsDayLogOn();
int OptionBits();
void SetOptionBits(int16_t options);
// A copy of the settings taken under the lock, for the user-interface
// thread: the listener re-reads them at every restart. False (and the
// copy untouched) when the lock was busy.
bool TakeSettingsSnapshot(Settings& copy);

// For a caller that holds the plug-in's lock: the settings copied whole,
// and whether name is the slot file name in force.
Settings CurrentSettings();
bool IsSlotFileNameInForce(const char* name);

// What the user set in the open caller-ID window: the options, slot, port
// and the slot file (chosen with "~W~ybierz", or the one it opened with).
// They are what the listener uses while the window is open, so a
// restart's re-read puts them back on top of what it reads. The caller
// holds the lock.
void SetWindowChoices(int16_t options, int16_t selectedSlot, int32_t port, const char* fileName);
// The window's close: its choices go into the settings and are saved in
// one hold of the lock, and the re-read keeps them no longer. The values
// saved come back. When the lock is busy they are saved all the same, and
// the next re-read takes what was saved instead of the choices.
Settings SaveWindowChoices(int16_t options, int16_t selectedSlot, int32_t port, const char* fileName);
// The window opening again before that re-read: the choices its last close
// saved without the lock go into the settings it opens on, so that this
// visit's close does not save the old ones back. User-interface thread.
void KeepChoicesSavedWithoutLock(Settings& settings);
