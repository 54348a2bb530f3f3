// The host's message boxes and questions on the screen: the title and text
// as the plug-in wrote them (Mazovia with message markup), and OK, or Tak
// and Nie for a question.
#pragma once

#include <string_view>

#include "screen/screen.h"

namespace refhost::screen {

// Waits for the user. True when a question is answered yes; a message
// gives true once it is dismissed.
bool ShowMessageBox(Screen& screen, std::string_view titleMazovia, std::string_view textMazovia, bool question);

// The same for the host's own texts, which are UTF-8.
bool ShowHostMessage(Screen& screen, std::string_view titleUtf8, std::string_view textUtf8, bool question = false);

}  // namespace refhost::screen
