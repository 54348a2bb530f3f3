// The looks as terminal attributes: colour pairs where the terminal has
// colours, plain attributes where it has not, so that focus and fields stay
// visible on a monochrome terminal too.
#include "terminal/canvas.h"

#include <curses.h>

#include <map>
#include <utility>

#include "terminal/terminal_text.h"

namespace refhost::screen {
namespace {

struct LookAttributes {
    short foreground, background;
    attr_t colourAttributes;
    attr_t monoAttributes;
};

// Indexed by Look.
constexpr LookAttributes kLooks[] = {
    // foreground     background    with colours  without colours
    {-1, -1, A_NORMAL, A_NORMAL},                            // Plain
    {COLOR_BLACK, COLOR_CYAN, A_NORMAL, A_REVERSE},          // Bar
    {COLOR_WHITE, COLOR_BLUE, A_NORMAL, A_NORMAL},           // Window
    {COLOR_WHITE, COLOR_BLUE, A_BOLD, A_BOLD},               // Frame
    {COLOR_BLACK, COLOR_CYAN, A_NORMAL, A_UNDERLINE},        // Input
    {COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_REVERSE},         // InputFocused
    {COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_NORMAL},          // Button
    {COLOR_WHITE, COLOR_BLACK, A_BOLD, A_REVERSE},           // Focused
    {COLOR_BLACK, COLOR_WHITE, A_NORMAL, A_NORMAL},          // Dialog
    {COLOR_BLACK, COLOR_WHITE, A_BOLD, A_BOLD},              // DialogFrame
    {COLOR_BLACK, COLOR_CYAN, A_NORMAL, A_REVERSE},          // TableCursor
    {COLOR_BLACK, COLOR_YELLOW, A_NORMAL, A_REVERSE | A_BOLD},  // TableCell
};

short PairFor(short foreground, short background) {
    static std::map<std::pair<short, short>, short> pairs;
    auto found = pairs.find({foreground, background});
    if (found != pairs.end()) return found->second;
    short next = static_cast<short>(pairs.size() + 1);
    if (next >= COLOR_PAIRS) return 0;
    init_pair(next, foreground, background);
    pairs[{foreground, background}] = next;
    return next;
}

// Key names, accelerators and highlights stand out in a colour that reads
// on the look's background.
short EmphasisColour(short background) {
    bool light = background == COLOR_WHITE || background == COLOR_CYAN || background == COLOR_YELLOW;
    return light ? COLOR_RED : COLOR_YELLOW;
}

attr_t AttributesOf(Look look, CellStyle style, bool colours) {
    const LookAttributes& base = kLooks[static_cast<int>(look)];
    attr_t extra = style == CellStyle::Accelerator ? A_UNDERLINE : A_NORMAL;
    if (!colours) return base.monoAttributes | extra | (style == CellStyle::Normal ? A_NORMAL : A_BOLD);
    if (style == CellStyle::Normal) return base.colourAttributes | COLOR_PAIR(PairFor(base.foreground, base.background));
    return A_BOLD | extra | COLOR_PAIR(PairFor(EmphasisColour(base.background), base.background));
}

}  // namespace

Canvas::Canvas(int width, int height, bool utf8, bool colours)
    : width_(width), height_(height), utf8_(utf8), colours_(colours) {}

void Canvas::Put(int x, int y, std::string_view cell, Look look, CellStyle style) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    attrset(AttributesOf(look, style, colours_));
    // Texts from the network or from files may hold control characters,
    // which would move the terminal's cursor or change its state.
    std::string shown = IsControlCell(cell) ? "?" : utf8_ ? std::string(cell) : AsciiCell(cell);
    mvaddstr(y, x, shown.c_str());
}

void Canvas::Fill(const Area& area, Look look) {
    for (int row = area.y; row < area.y + area.height; ++row)
        for (int column = area.x; column < area.x + area.width; ++column) Put(column, row, " ", look);
}

int Canvas::Text(int x, int y, std::string_view utf8, Look look, int maxCells) {
    int taken = 0;
    for (const std::string& cell : Utf8Cells(utf8)) {
        if (maxCells >= 0 && taken >= maxCells) break;
        Put(x + taken++, y, cell, look);
    }
    return taken;
}

int Canvas::Styled(int x, int y, const StyledLine& line, Look look, int maxCells, std::size_t first) {
    int taken = 0;
    for (std::size_t i = first; i < line.cells.size(); ++i) {
        if (maxCells >= 0 && taken >= maxCells) break;
        const Cell& cell = line.cells[i];
        Put(x + taken++, y, MazoviaCell(cell.byte), look, cell.style);
    }
    return taken;
}

void Canvas::Box(const Area& area, Look body, Look frame, std::string_view titleUtf8) {
    if (area.width < 2 || area.height < 2) return;
    Fill(area, body);
    const char* horizontal = utf8_ ? "─" : "-";
    const char* vertical = utf8_ ? "│" : "|";
    int right = area.x + area.width - 1;
    int bottom = area.y + area.height - 1;
    for (int column = area.x + 1; column < right; ++column) {
        Put(column, area.y, horizontal, frame);
        Put(column, bottom, horizontal, frame);
    }
    for (int row = area.y + 1; row < bottom; ++row) {
        Put(area.x, row, vertical, frame);
        Put(right, row, vertical, frame);
    }
    Put(area.x, area.y, utf8_ ? "┌" : "+", frame);
    Put(right, area.y, utf8_ ? "┐" : "+", frame);
    Put(area.x, bottom, utf8_ ? "└" : "+", frame);
    Put(right, bottom, utf8_ ? "┘" : "+", frame);
    if (titleUtf8.empty()) return;
    int titleCells = static_cast<int>(Utf8Cells(titleUtf8).size()) + 2;
    int room = area.width - 4;
    if (room <= 2) return;
    if (titleCells > room) titleCells = room;
    int start = area.x + (area.width - titleCells) / 2;
    Put(start, area.y, " ", frame);
    Text(start + 1, area.y, titleUtf8, frame, titleCells - 2);
    Put(start + titleCells - 1, area.y, " ", frame);
}

}  // namespace refhost::screen
