// A drop-down menu under the menu bar: a list of entries to choose from
// with the arrows and Enter, or by an entry's number.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "screen/screen.h"

namespace refhost::screen {

struct MenuEntry {
    std::string label;  // UTF-8
    std::string key;    // the key that does the same outside the menu, for the right-hand column
};

// The chosen entry's index, or nothing when the user leaves with ESC.
std::optional<std::size_t> ShowMenu(Screen& screen, const std::vector<MenuEntry>& entries, int x, int y);

}  // namespace refhost::screen
