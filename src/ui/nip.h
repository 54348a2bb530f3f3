// The NIP of a slot: the digits that directly follow "NIP:" in its text.
#pragma once

#include <cstddef>

inline constexpr int kMaxNipDigits = 16;

// Copies into nip (capacity at least kMaxNipDigits + 1) the digits that
// directly follow the first "NIP:" in the first textSize bytes of text,
// at most kMaxNipDigits of them; an empty text when there is none.
void ExtractNip(const char* text, std::size_t textSize, char* nip);
