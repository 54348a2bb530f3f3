// A text in a box over the screen that the user scrolls through and leaves
// with ESC: the log viewer, and the list of the host's events.
#pragma once

#include <string>
#include <vector>

#include "screen/screen.h"

namespace refhost::screen {

enum class ViewerStart { Top, End };

// Lines are UTF-8, one cell per character.
void ShowTextViewer(Screen& screen, std::string titleUtf8, std::vector<std::string> linesUtf8,
                    ViewerStart start = ViewerStart::Top);

// A text of the plug-in's (Mazovia) cut into lines for the viewer.
std::vector<std::string> MazoviaLines(std::string_view mazovia);

}  // namespace refhost::screen
