// The host's file chooser on the screen: a path to type, and below it the
// directory the path names, to walk through and pick from.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "screen/screen.h"

namespace refhost::screen {

// The chosen path (Mazovia, the host's form), or nothing when the user
// cancels. The path never exceeds maxLength characters.
std::optional<std::string> ChooseFileOnScreen(Screen& screen, std::string_view mask, std::string_view startMazovia,
                                              std::size_t maxLength);

}  // namespace refhost::screen
