// Day log event texts that the plug-in writes and the callerid tool reads,
// in UTF-8 as written here; the plug-in stores them in Mazovia (MZ(...)),
// and the tool reads them back through the same conversion.
#pragma once

// A station that can have no lock between stations on the slot file (the
// lock file cannot be made or opened, or the file system refuses locks):
// it still files calls, and says so once per cause. The path and the
// system's code follow.
inline constexpr char8_t kNoStationLockEvent[] =
    u8"Brak blokady między stanowiskami dla pliku telefonów %s (kod błędu systemu: %d) - połączenia są "
    u8"wpisywane, ale stanowiska nie czekają na siebie";
// What the tool looks for: the start of the line, and the text before the
// system's code.
inline constexpr char8_t kNoStationLockEventStart[] = u8"Brak blokady między stanowiskami dla pliku telefonów ";
inline constexpr char8_t kNoStationLockEventCode[] = u8"(kod błędu systemu: ";
