// Drawing on the terminal, clipped to the part of it the screens use: texts
// and styled cells in one of the host's looks, filled areas and boxes, and
// where the terminal's cursor shows. Coordinates may lie anywhere; what
// falls outside is simply not drawn.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "terminal/markup.h"

namespace refhost::screen {

enum class Look : uint8_t {
    Plain,
    Bar,            // the menu bar, the table's header, the key line
    Window,         // a window's body
    Frame,          // a window's border and title
    Input,
    InputFocused,
    Button,
    Focused,        // the focused button, radio button or check box
    Dialog,         // message boxes, the viewer, the file chooser, menus
    DialogFrame,
    TableCursor,    // the table's row under the cursor
    TableCell,      // the cell under the cursor
};

struct Area {
    int x, y, width, height;
};

class Canvas {
public:
    Canvas(int width, int height, bool utf8, bool colours);

    int width() const { return width_; }
    int height() const { return height_; }
    bool utf8() const { return utf8_; }

    void Fill(const Area& area, Look look);
    // A UTF-8 text from column x, at most maxCells cells (all when negative).
    // Returns the cells it took, drawn or clipped.
    int Text(int x, int y, std::string_view utf8, Look look, int maxCells = -1);
    // Styled Mazovia cells, from the cell `first` on.
    int Styled(int x, int y, const StyledLine& line, Look look, int maxCells = -1, std::size_t first = 0);
    // A filled box with a border and, when given, a title in its top line.
    void Box(const Area& area, Look body, Look frame, std::string_view titleUtf8 = {});
    void ShowCursor(int x, int y) { cursor_ = {x, y}; }

    struct Point {
        int x, y;
    };
    std::optional<Point> cursor() const { return cursor_; }

private:
    void Put(int x, int y, std::string_view cell, Look look, CellStyle style = CellStyle::Normal);

    int width_;
    int height_;
    bool utf8_;
    bool colours_;
    std::optional<Point> cursor_;
};

}  // namespace refhost::screen
