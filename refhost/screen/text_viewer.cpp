// The viewer keeps its place as a first line and a first column and keeps
// both within the text whatever the size of the screen.
#include "screen/text_viewer.h"

#include <algorithm>

#include "terminal/terminal_text.h"
#include "text/mazovia_utf8.h"

namespace refhost::screen {
namespace {

class ViewerLayer : public Layer {
public:
    ViewerLayer(std::string title, std::vector<std::string> lines)
        : title_(std::move(title)), lines_(std::move(lines)) {}

    void Paint(Canvas& canvas) override {
        Area box{0, 1, canvas.width(), canvas.height() - 1};  // under the menu bar, over all else
        pageRows_ = std::max(1, box.height - 2);
        Clamp();
        canvas.Box(box, Look::Dialog, Look::DialogFrame, title_);
        for (int row = 0; row < pageRows_; ++row) {
            std::size_t index = firstLine_ + static_cast<std::size_t>(row);
            if (index >= lines_.size()) break;
            std::vector<std::string> cells = Utf8Cells(lines_[index]);
            for (int column = 0; column < box.width - 3; ++column) {
                std::size_t cell = firstColumn_ + static_cast<std::size_t>(column);
                if (cell >= cells.size()) break;
                canvas.Text(box.x + 2 + column, box.y + 1 + row, cells[cell], Look::Dialog, 1);
            }
        }
    }

    std::string KeyHelp() const override {
        std::size_t last = std::min(lines_.size(), firstLine_ + static_cast<std::size_t>(pageRows_));
        return "↑↓ PgUp PgDn Home End ←→ przewijanie   ESC zamyka   wiersze " +
               std::to_string(lines_.empty() ? 0 : firstLine_ + 1) + "-" + std::to_string(last) + " z " +
               std::to_string(lines_.size());
    }

    void Scroll(long lines, long columns) {
        firstLine_ = static_cast<std::size_t>(std::max(0L, static_cast<long>(firstLine_) + lines));
        firstColumn_ = static_cast<std::size_t>(std::max(0L, static_cast<long>(firstColumn_) + columns));
        Clamp();
    }
    void ToEnd() { firstLine_ = lines_.size(); Clamp(); }
    int pageRows() const { return pageRows_; }

private:
    void Clamp() {
        std::size_t rows = static_cast<std::size_t>(pageRows_);
        std::size_t lastFirst = lines_.size() > rows ? lines_.size() - rows : 0;
        firstLine_ = std::min(firstLine_, lastFirst);
    }

    std::string title_;
    std::vector<std::string> lines_;
    std::size_t firstLine_ = 0;
    std::size_t firstColumn_ = 0;
    int pageRows_ = 1;
};

}  // namespace

std::vector<std::string> MazoviaLines(std::string_view mazovia) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < mazovia.size()) {
        std::size_t end = mazovia.find('\n', start);
        if (end == std::string_view::npos) end = mazovia.size();
        std::string_view line = mazovia.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string shown;
        for (char c : line) shown += c == '\t' ? ' ' : c;
        lines.push_back(MazoviaToUtf8(shown));
        start = end + 1;
    }
    return lines;
}

void ShowTextViewer(Screen& screen, std::string titleUtf8, std::vector<std::string> linesUtf8, ViewerStart start) {
    ViewerLayer layer(std::move(titleUtf8), std::move(linesUtf8));
    ScopedLayer shown(screen, layer);
    screen.Draw();  // the page size is known once the viewer is drawn
    if (start == ViewerStart::End) layer.ToEnd();
    while (true) {
        ScreenKey key = screen.WaitKey(1000);
        long page = layer.pageRows();
        if (key.Is(pc::kEscape) || key.Is(pc::kEnter) || key.Is(pc::FunctionKey(10))) return;
        if (key.Is(pc::kUp)) layer.Scroll(-1, 0);
        if (key.Is(pc::kDown)) layer.Scroll(1, 0);
        if (key.Is(pc::kPageUp)) layer.Scroll(-page, 0);
        if (key.Is(pc::kPageDown)) layer.Scroll(page, 0);
        if (key.Is(pc::kHome)) layer.Scroll(-1000000, -1000000);
        if (key.Is(pc::kEnd)) layer.ToEnd();
        if (key.Is(pc::kLeft)) layer.Scroll(0, -8);
        if (key.Is(pc::kRight)) layer.Scroll(0, 8);
    }
}

}  // namespace refhost::screen
