// The host's contractor table (table 35, "k4") as a user works in it: a key
// pressed in one of its columns goes to the table's handler, which is the
// plug-in's hook while the plug-in runs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace refhost {

inline constexpr int kContractorTableNumber = 35;
inline constexpr int kNipColumn = 7;

// The handler's result; nothing, with the reason in error, when the host
// has no table 35.
std::optional<int> PressTableKey(uint16_t key, int column, int row, std::string& error);

}  // namespace refhost
