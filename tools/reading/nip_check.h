// The NIP as the toolkit shows it: the digits the plug-in takes after
// "NIP:", grouped ddd-dd-dd-ddd when there are ten, and marked when their
// check digit is wrong. The plug-in itself shows every NIP unmarked.
#pragma once

#include <string>
#include <string_view>

// Follows a NIP whose check digit is wrong.
inline constexpr char kWrongNipMark[] = "!";

// The digits right after the first "NIP:" of text, as the plug-in takes them.
std::string NipDigitsOf(std::string_view text);

// Ten digits whose weighted sum (6 5 7 2 3 4 5 6 7 over the first nine)
// leaves the tenth as its remainder mod 11; a remainder of 10 never fits,
// and ten zeros, which the sum would pass, are no one's NIP.
bool NipCheckDigitIsRight(std::string_view digits);

// Whether the toolkit marks these digits: any that are not a right NIP,
// fewer or more than ten included. No digits at all is no NIP, unmarked.
bool NipIsMarked(std::string_view digits);

// The verdict for scripts: "true", "false" (marked), or "null" (no NIP).
const char* NipValidJson(std::string_view digits);

// Grouped when there are ten digits, followed by the mark when wrong.
std::string NipShown(std::string_view digits);

// The same without the mark, for scripts (they get the verdict apart).
std::string NipGrouped(std::string_view digits);
