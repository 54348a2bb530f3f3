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

// A station whose clock differs from the server's by more than a minute
// (the day log's modification time): the difference in seconds (+ ahead,
// - behind), the station's time and the server's. Once in each day's log;
// the second line when it agrees again.
inline constexpr char8_t kClockDiffersEvent[] =
    u8"Zegar stanowiska różni się od zegara serwera o %+d s (stanowisko %s, serwer %02d:%02d:%02d) - czasy "
    u8"połączeń w slotach i w logu są czasami tego stanowiska";
inline constexpr char8_t kClockAgreesEvent[] = u8"Zegar stanowiska zgodny z zegarem serwera";
// What the tool looks for: the start of the first line, and the text
// before the difference.
inline constexpr char8_t kClockDiffersEventStart[] = u8"Zegar stanowiska różni się od zegara serwera o ";

// The listener's lines that the tool counts: a bind that failed and a
// receive that failed, each with the system's code, and the start of
// listening with the port; then the start of each, as the tool matches it.
inline constexpr char8_t kBindErrorEvent[] = u8"bind() error: %d";
inline constexpr char8_t kReceiveErrorEvent[] = u8"recvfrom() error: %d";
inline constexpr char8_t kListeningEvent[] = u8"UDPoling() - rozpoczeto nasluch na UDP UDP %d";
inline constexpr char8_t kBindErrorEventStart[] = u8"bind() error";
inline constexpr char8_t kReceiveErrorEventStart[] = u8"recvfrom() error";
inline constexpr char8_t kListeningEventStart[] = u8"UDPoling() - rozpoczeto nasluch";

// An event text as the tool's plain strings take it.
inline const char* EventText(const char8_t* text) { return reinterpret_cast<const char*>(text); }
