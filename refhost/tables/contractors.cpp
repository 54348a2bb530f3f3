// The sample contractors and the table's columns, written as the table
// reads on the screen.
#include "tables/contractors.h"

#include <cctype>

namespace refhost::screen {
namespace {

constexpr Contractor kContractors[] = {
    // code     name                                  postal    city         street                    phone            NIP
    {"ABAKUS", "Biuro Rachunkowe Abakus Sp. z o.o.", "00-950", "Warszawa", "ul. Marszałkowska 10", "22 600 10 20", "5260001246"},
    {"DREWM", "Drewmax Tartak Jan Nowak", "61-001", "Poznań", "ul. Leśna 4", "61 850 22 33", "7790004561"},
    {"ŻURAW", "Żuraw Usługi Portowe s.c.", "81-001", "Gdynia", "ul. Portowa 7", "58 620 11 44", "5860002596"},
    {"WAWEL", "Wawel-Handel Łukasz Ścibor", "31-001", "Kraków", "ul. Grodzka 15", "12 421 30 30", "6760003214"},
    {"WŁÓKN", "Włókniarz Zakłady Tekstylne S.A.", "90-001", "Łódź", "ul. Piotrkowska 120", "42 630 40 50", "7250009879"},
    {"POMOR", "Pomorska Hurtownia Ryb Sp. j.", "70-001", "Szczecin", "ul. Wały Chrobrego 2", "91 480 12 12", "8510007896"},
    {"ŚLĄSK", "Śląska Stal S.A.", "40-001", "Katowice", "ul. Mariacka 3", "32 250 77 88", "6340001119"},
    {"ŹRÓDŁ", "Źródło Wody Mineralne Sp. z o.o.", "33-350", "Piwniczna", "ul. Zdrojowa 1", "18 446 50 60", "7340001798"},
};

std::string Text(const char* text) { return text; }

constexpr TableColumn kColumns[] = {
    // number  title        width  value
    {1, "Skrót", 6, [](const Contractor& c) { return Text(c.code); }},
    {2, "Nazwa", 34, [](const Contractor& c) { return Text(c.name); }},
    {3, "Kod", 6, [](const Contractor& c) { return Text(c.postalCode); }},
    {4, "Miasto", 10, [](const Contractor& c) { return Text(c.city); }},
    {5, "Ulica", 21, [](const Contractor& c) { return Text(c.street); }},
    {6, "Telefon", 12, [](const Contractor& c) { return Text(c.phone); }},
    {kNipColumnNumber, "NIP", 13, [](const Contractor& c) { return NipForDisplay(c.nip); }},
};

constexpr int kNipWeights[] = {6, 5, 7, 2, 3, 4, 5, 6, 7};

}  // namespace

std::span<const Contractor> SampleContractors() { return kContractors; }
std::span<const TableColumn> ContractorColumns() { return kColumns; }

bool IsValidNip(std::string_view digits) {
    if (digits.size() != 10 || DigitsOf(digits) != digits) return false;
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += (digits[static_cast<std::size_t>(i)] - '0') * kNipWeights[i];
    int check = sum % 11;
    return check != 10 && check == digits[9] - '0';
}

std::string DigitsOf(std::string_view text) {
    std::string digits;
    for (char c : text)
        if (std::isdigit(static_cast<unsigned char>(c))) digits += c;
    return digits;
}

std::string NipForDisplay(std::string_view digits) {
    if (digits.size() != 10 || DigitsOf(digits) != digits) return std::string(digits);
    std::string text;
    text.append(digits.substr(0, 3)).append("-").append(digits.substr(3, 2)).append("-");
    text.append(digits.substr(5, 2)).append("-").append(digits.substr(7));
    return text;
}

std::optional<std::size_t> FindByNip(std::span<const Contractor> contractors, std::string_view typed) {
    std::string wanted = DigitsOf(typed);
    if (wanted.empty()) return std::nullopt;
    for (std::size_t i = 0; i < contractors.size(); ++i)
        if (wanted == contractors[i].nip) return i;
    return std::nullopt;
}

}  // namespace refhost::screen
