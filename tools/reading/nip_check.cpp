// NIP digits, their grouping and their check digit.
#include "reading/nip_check.h"

#include "ui/nip.h"

std::string NipDigitsOf(std::string_view text) {
    char nip[kMaxNipDigits + 1];
    ExtractNip(text.data(), text.size(), nip);
    return nip;
}

bool NipCheckDigitIsRight(std::string_view digits) {
    static constexpr int kWeights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
    if (digits.size() != 10) return false;
    for (char c : digits)
        if (c < '0' || c > '9') return false;
    if (digits == "0000000000") return false;
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += kWeights[i] * (digits[i] - '0');
    return sum % 11 == digits[9] - '0';
}

bool NipIsMarked(std::string_view digits) { return !digits.empty() && !NipCheckDigitIsRight(digits); }

const char* NipValidJson(std::string_view digits) {
    if (digits.empty()) return "null";
    return NipIsMarked(digits) ? "false" : "true";
}

std::string NipGrouped(std::string_view digits) {
    std::string shown(digits);
    if (digits.size() != 10) return shown;
    return shown.substr(0, 3) + "-" + shown.substr(3, 2) + "-" + shown.substr(5, 2) + "-" + shown.substr(7);
}

std::string NipShown(std::string_view digits) {
    return NipGrouped(digits) + (NipIsMarked(digits) ? kWrongNipMark : "");
}
