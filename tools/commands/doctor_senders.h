// doctor's checks of the office network's trust boundary: the senders in
// force, the senders refused today with the command that allows them, and
// the calls that found no free slot.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct DoctorFinding {
    enum class Level { Ok, Warn, Problem } level;
    std::string text;
};

// Nadawcy of DIR\Ornitel.ini, and what an empty list means.
std::vector<DoctorFinding> CheckSenders(const std::filesystem::path& directory);
// From a day log: every sender a station refused (a problem: it may be
// the box) and the calls that found no free slot (a problem).
std::vector<DoctorFinding> CheckRefusedAndSlotless(const std::filesystem::path& dayLog);
