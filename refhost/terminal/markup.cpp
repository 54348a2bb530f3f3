// Reading the markup one byte at a time. A line is gathered as fields
// separated by tabs first, because a right-aligned tab stop needs the
// width of the field that follows it before the field can be placed.
#include "terminal/markup.h"

#include <cctype>
#include <string>

namespace refhost::screen {
namespace {

constexpr char kDirective = '\x01';
constexpr char kHighlight = '\x02';
constexpr char kKeyLabel = '\x05';
constexpr int kDefaultTabWidth = 8;

struct TabStop {
    bool rightAligned;
    int column;
};

// "tl18l33" or "tp25p40": a letter and a column for every stop.
std::vector<TabStop> ParseTabStops(std::string_view directive) {
    std::vector<TabStop> stops;
    std::size_t i = 1;
    while (i < directive.size()) {
        char kind = directive[i++];
        int column = 0;
        bool digits = false;
        while (i < directive.size() && std::isdigit(static_cast<unsigned char>(directive[i]))) {
            if (column < 10000) column = column * 10 + (directive[i] - '0');
            ++i;
            digits = true;
        }
        if (digits && (kind == 'l' || kind == 'p')) stops.push_back({kind == 'p', column});
    }
    return stops;
}

class LineBuilder {
public:
    void Put(char byte, CellStyle style) { fields_.back().push_back({byte, style}); }
    void Tab() { fields_.emplace_back(); }
    void Directive(std::string_view text) {
        if (text == "c") centred_ = true;
        if (!text.empty() && text[0] == 't') stops_ = ParseTabStops(text);
    }

    StyledLine Finish() {
        StyledLine line;
        line.centred = centred_;
        for (std::size_t i = 0; i < fields_.size(); ++i) {
            if (i > 0) PadForField(line.cells, i - 1, fields_[i].size());
            line.cells.insert(line.cells.end(), fields_[i].begin(), fields_[i].end());
        }
        return line;
    }

private:
    void PadForField(std::vector<Cell>& cells, std::size_t stopIndex, std::size_t fieldWidth) const {
        std::size_t target;
        if (stopIndex < stops_.size()) {
            const TabStop& stop = stops_[stopIndex];
            std::size_t column = static_cast<std::size_t>(stop.column);
            target = stop.rightAligned ? (column > fieldWidth ? column - fieldWidth : 0) : column;
        } else {
            target = (cells.size() / kDefaultTabWidth + 1) * kDefaultTabWidth;
        }
        // A field that would overlap the one before it keeps one space apart.
        if (target <= cells.size()) target = cells.size() + (cells.empty() ? 0 : 1);
        cells.resize(target, Cell{' ', CellStyle::Normal});
    }

    std::vector<std::vector<Cell>> fields_{1};
    std::vector<TabStop> stops_;
    bool centred_ = false;
};

}  // namespace

std::vector<StyledLine> RenderMarkup(std::string_view mazovia, Tildes tildes) {
    std::vector<StyledLine> lines;
    LineBuilder line;
    std::string directive;
    bool inDirective = false;
    bool highlighted = false;
    bool inKeyLabel = false;
    bool inAccelerator = false;
    for (char byte : mazovia) {
        if (byte == kDirective) {
            if (highlighted || inKeyLabel) {
                highlighted = inKeyLabel = false;
            } else if (inDirective) {
                line.Directive(directive);
                inDirective = false;
            } else {
                directive.clear();
                inDirective = true;
            }
            continue;
        }
        if (inDirective) {
            directive += byte;
            continue;
        }
        if (byte == '\n') {
            lines.push_back(line.Finish());
            line = LineBuilder();
            highlighted = inKeyLabel = inAccelerator = false;
            continue;
        }
        if (byte == kHighlight) {
            highlighted = true;
            continue;
        }
        if (byte == kKeyLabel) {
            inKeyLabel = true;
            continue;
        }
        if (byte == '~' && tildes == Tildes::Accelerators) {
            inAccelerator = !inAccelerator;
            continue;
        }
        if (byte == '\t') {
            line.Tab();
            continue;
        }
        if (static_cast<unsigned char>(byte) < 0x20) continue;
        CellStyle style = inAccelerator ? CellStyle::Accelerator
                          : inKeyLabel  ? CellStyle::KeyLabel
                          : highlighted ? CellStyle::Highlight
                                        : CellStyle::Normal;
        line.Put(byte, style);
    }
    lines.push_back(line.Finish());
    return lines;
}

StyledLine RenderLabel(std::string_view mazovia) {
    return RenderMarkup(mazovia, Tildes::Accelerators).front();
}

std::string PlainBytes(const StyledLine& line) {
    std::string bytes;
    bytes.reserve(line.cells.size());
    for (const Cell& cell : line.cells) bytes += cell.byte;
    return bytes;
}

}  // namespace refhost::screen
