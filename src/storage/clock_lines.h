// The day log's lines on this station's clock against the server's. The
// callerid tool's doctor finds them by their opening words, so they are
// written here once for both.
#pragma once

#include "text/mazovia.h"

// Opening words of the two lines, in the day log's code page.
inline constexpr auto kClockDiffersWords = MZ(u8"Zegar stanowiska różni się od zegara serwera");
inline constexpr auto kClockAgreesWords = MZ(u8"Zegar stanowiska zgodny z zegarem serwera");
// The whole line: the difference in seconds (+ ahead, - behind), the
// station's time and the server's.
inline constexpr auto kClockDiffersLine =
    MZ(u8"Zegar stanowiska różni się od zegara serwera o %+d s (stanowisko %s, serwer %02d:%02d:%02d) - "
       u8"czasy połączeń w slotach i w logu są czasami tego stanowiska");
