// The host's contractor table as the interactive screen shows it: a few
// sample contractors, the columns of the table (the NIP in column 7, where
// the plug-in's search keys work), and the search by NIP.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace refhost::screen {

// Texts are UTF-8: the table is the host's own, not the plug-in's.
struct Contractor {
    const char* code;
    const char* name;
    const char* postalCode;
    const char* city;
    const char* street;
    const char* phone;
    const char* nip;  // ten digits
};

std::span<const Contractor> SampleContractors();

struct TableColumn {
    int number;  // as the table handler receives it
    const char* title;
    int width;
    std::string (*value)(const Contractor&);
};

inline constexpr int kNipColumnNumber = 7;
std::span<const TableColumn> ContractorColumns();

// A Polish NIP: ten digits whose last is the weighted sum of the first
// nine (weights 6, 5, 7, 2, 3, 4, 5, 6, 7) modulo 11, never 10.
bool IsValidNip(std::string_view digits);
// The digits of a text, in order: "779-00-04-561" gives "7790004561".
std::string DigitsOf(std::string_view text);
// Ten digits as the plug-in shows them, 779-00-04-561; other texts as they are.
std::string NipForDisplay(std::string_view digits);
// The contractor whose NIP has the digits typed (dashes and spaces do not
// count); nothing for a text without digits.
std::optional<std::size_t> FindByNip(std::span<const Contractor> contractors, std::string_view typed);

}  // namespace refhost::screen
