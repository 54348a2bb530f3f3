// The menu sizes itself to its longest entry and stays inside the screen.
#include "screen/menu.h"

#include <algorithm>

#include "terminal/terminal_text.h"

namespace refhost::screen {
namespace {

class MenuLayer : public Layer {
public:
    MenuLayer(const std::vector<MenuEntry>& entries, int x, int y) : entries_(entries), x_(x), y_(y) {}

    void Paint(Canvas& canvas) override {
        int labelWidth = 0;
        int keyWidth = 0;
        for (const MenuEntry& entry : entries_) {
            labelWidth = std::max(labelWidth, static_cast<int>(Utf8Cells(entry.label).size()) + 4);
            keyWidth = std::max(keyWidth, static_cast<int>(Utf8Cells(entry.key).size()));
        }
        int width = std::min(canvas.width(), labelWidth + keyWidth + 4);
        int height = static_cast<int>(entries_.size()) + 2;
        int x = std::max(0, std::min(x_, canvas.width() - width));
        canvas.Box({x, y_, width, height}, Look::Dialog, Look::DialogFrame);
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            int row = y_ + 1 + static_cast<int>(i);
            Look look = i == selected ? Look::Focused : Look::Dialog;
            canvas.Fill({x + 1, row, width - 2, 1}, look);
            std::string label = std::to_string(i + 1) + ". " + entries_[i].label;
            canvas.Text(x + 2, row, label, look, labelWidth);
            canvas.Text(x + width - 2 - keyWidth, row, entries_[i].key, look, keyWidth);
        }
    }

    std::string KeyHelp() const override { return "↑↓ wybór   Enter lub numer wykonuje   ESC zamyka menu"; }

    std::size_t selected = 0;

private:
    const std::vector<MenuEntry>& entries_;
    int x_, y_;
};

}  // namespace

std::optional<std::size_t> ShowMenu(Screen& screen, const std::vector<MenuEntry>& entries, int x, int y) {
    if (entries.empty()) return std::nullopt;
    MenuLayer layer(entries, x, y);
    ScopedLayer shown(screen, layer);
    while (true) {
        ScreenKey key = screen.WaitKey(1000);
        if (key.Is(pc::kEscape) || key.Is(pc::FunctionKey(9))) return std::nullopt;
        if (key.Is(pc::kEnter)) return layer.selected;
        if (key.Is(pc::kUp)) layer.selected = (layer.selected + entries.size() - 1) % entries.size();
        if (key.Is(pc::kDown)) layer.selected = (layer.selected + 1) % entries.size();
        if (key.IsText() && key.Byte() >= '1' && key.Byte() <= '9') {
            std::size_t chosen = static_cast<std::size_t>(key.Byte() - '1');
            if (chosen < entries.size()) return chosen;
        }
    }
}

}  // namespace refhost::screen
