// NIP extraction. The slot text comes from a datagram, so it is read only
// within its field, terminated or not, and the NIP is cut to what the
// window's field holds.
#include "ui/nip.h"

#include <cstring>

static const char* FindMarker(const char* text, std::size_t length) {
    static constexpr char kMarker[] = "NIP:";
    constexpr std::size_t kMarkerLength = sizeof kMarker - 1;
    for (std::size_t at = 0; at + kMarkerLength <= length; ++at)
        if (std::memcmp(text + at, kMarker, kMarkerLength) == 0) return text + at + kMarkerLength;
    return nullptr;
}

void ExtractNip(const char* text, std::size_t textSize, char* nip) {
    std::size_t length = strnlen(text, textSize);
    int count = 0;
    if (const char* digits = FindMarker(text, length)) {
        const char* end = text + length;
        while (digits < end && count < kMaxNipDigits && *digits >= '0' && *digits <= '9')
            nip[count++] = *digits++;
    }
    nip[count] = '\0';
}
