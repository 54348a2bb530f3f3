// The host's text markup turned into cells a screen can draw: one cell per
// Mazovia byte, each with the style the markup gives it. Control labels
// mark their accelerator between tildes and their key name between 0x05
// and 0x01; message texts carry directives between two 0x01 bytes (tab
// stops, centring) and highlighted text from 0x02 to the next 0x01.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace refhost::screen {

enum class CellStyle : uint8_t { Normal, Highlight, KeyLabel, Accelerator };

struct Cell {
    char byte;  // Mazovia
    CellStyle style;
};

struct StyledLine {
    std::vector<Cell> cells;
    bool centred = false;
};

// Control labels read "~X~" as an accelerator; message texts show tildes.
enum class Tildes { Accelerators, Literal };

// One styled line per line of the text. Tabs move to the line's tab stops
// (every eighth column without any): an "l" stop starts the next field at
// its column, a "p" stop ends it there.
std::vector<StyledLine> RenderMarkup(std::string_view mazovia, Tildes tildes);

// A control's label: its first line.
StyledLine RenderLabel(std::string_view mazovia);

// The cells' bytes without their styles.
std::string PlainBytes(const StyledLine& line);

}  // namespace refhost::screen
