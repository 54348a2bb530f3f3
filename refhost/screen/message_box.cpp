// A message box sizes itself to its text, within the screen; lines longer
// than the screen allows are wrapped at a space where there is one.
#include "screen/message_box.h"

#include <algorithm>
#include <string>
#include <vector>

#include "terminal/terminal_text.h"
#include "text/mazovia_utf8.h"

namespace refhost::screen {
namespace {

constexpr int kMargin = 2;  // cells between the border and the text

std::vector<StyledLine> Wrap(const std::vector<StyledLine>& lines, std::size_t width) {
    std::vector<StyledLine> wrapped;
    for (const StyledLine& line : lines) {
        if (line.cells.size() <= width) {
            wrapped.push_back(line);
            continue;
        }
        std::size_t start = 0;
        while (start < line.cells.size()) {
            std::size_t end = std::min(start + width, line.cells.size());
            if (end < line.cells.size()) {
                std::size_t space = end;
                while (space > start && line.cells[space].byte != ' ') --space;
                if (space > start) end = space;
            }
            StyledLine piece;
            piece.centred = line.centred;
            piece.cells.assign(line.cells.begin() + static_cast<long>(start), line.cells.begin() + static_cast<long>(end));
            wrapped.push_back(std::move(piece));
            start = end;
            while (start < line.cells.size() && line.cells[start].byte == ' ') ++start;
        }
    }
    return wrapped;
}

class MessageBoxLayer : public Layer {
public:
    MessageBoxLayer(std::string title, std::vector<StyledLine> lines, bool question)
        : title_(std::move(title)), lines_(std::move(lines)), question_(question) {}

    void Paint(Canvas& canvas) override {
        int room = std::max(10, canvas.width() - 4 - 2 * kMargin);
        std::vector<StyledLine> lines = Wrap(lines_, static_cast<std::size_t>(room));
        int textWidth = static_cast<int>(Utf8Cells(title_).size()) + 4;
        for (const StyledLine& line : lines) textWidth = std::max(textWidth, static_cast<int>(line.cells.size()));
        textWidth = std::max(textWidth, question_ ? 18 : 6);
        int width = std::min(canvas.width(), textWidth + 2 + 2 * kMargin);
        int height = std::min(canvas.height(), static_cast<int>(lines.size()) + 5);
        int x = (canvas.width() - width) / 2;
        int y = (canvas.height() - height) / 2;
        canvas.Box({x, y, width, height}, Look::Dialog, Look::DialogFrame, title_);
        int inner = width - 2 - 2 * kMargin;
        for (std::size_t i = 0; i < lines.size() && static_cast<int>(i) < height - 5; ++i) {
            const StyledLine& line = lines[i];
            int indent = line.centred ? std::max(0, (inner - static_cast<int>(line.cells.size())) / 2) : 0;
            canvas.Styled(x + 1 + kMargin + indent, y + 2 + static_cast<int>(i), line, Look::Dialog, inner - indent);
        }
        PaintButtons(canvas, x, y + height - 2, width);
    }

    std::string KeyHelp() const override {
        return question_ ? "T/Enter tak   N/ESC nie   ←→ wybór" : "Enter/ESC zamyka";
    }

    bool yes = true;

private:
    void PaintButtons(Canvas& canvas, int x, int row, int width) {
        if (!question_) {
            canvas.Text(x + (width - 6) / 2, row, "[ OK ]", Look::Focused);
            return;
        }
        int start = x + (width - 18) / 2;
        canvas.Text(start, row, "[ Tak ]", yes ? Look::Focused : Look::Button);
        canvas.Text(start + 11, row, "[ Nie ]", yes ? Look::Button : Look::Focused);
    }

    std::string title_;
    std::vector<StyledLine> lines_;
    bool question_;
};

bool Run(Screen& screen, MessageBoxLayer& layer, bool question) {
    ScopedLayer shown(screen, layer);
    while (true) {
        ScreenKey key = screen.WaitKey(1000);
        if (key.Is(pc::kEnter)) return !question || layer.yes;
        if (key.Is(pc::kEscape)) return !question;
        if (!question) continue;
        if (key.Is(pc::kLeft) || key.Is(pc::kRight) || key.Is(pc::kTab) || key.Is(pc::kBackTab)) layer.yes = !layer.yes;
        if (key.IsText()) {
            char c = key.Byte();
            if (c == 't' || c == 'T' || c == 'y' || c == 'Y') return true;
            if (c == 'n' || c == 'N') return false;
        }
    }
}

}  // namespace

bool ShowMessageBox(Screen& screen, std::string_view titleMazovia, std::string_view textMazovia, bool question) {
    MessageBoxLayer layer(MazoviaToUtf8(PlainBytes(RenderMarkup(titleMazovia, Tildes::Literal).front())),
                          RenderMarkup(textMazovia, Tildes::Literal), question);
    return Run(screen, layer, question);
}

bool ShowHostMessage(Screen& screen, std::string_view titleUtf8, std::string_view textUtf8, bool question) {
    return ShowMessageBox(screen, Utf8ToMazovia(titleUtf8), Utf8ToMazovia(textUtf8), question);
}

}  // namespace refhost::screen
