// The chooser lists the directory of whatever path the input holds, so the
// list follows the typing; choosing a directory in the list puts it into
// the input, choosing a file chooses it.
#include "screen/file_chooser.h"

#include <algorithm>

#include "screen/file_listing.h"
#include "terminal/input_editor.h"
#include "text/mazovia_utf8.h"

namespace refhost::screen {
namespace {

constexpr int kLongestBox = 76;
constexpr int kTallestBox = 20;

class ChooserLayer : public Layer {
public:
    ChooserLayer(std::string mask, std::string start, std::size_t maxLength)
        : mask_(std::move(mask)), editor_(std::move(start), maxLength, false) {}

    void Paint(Canvas& canvas) override {
        Relist();
        int width = std::min(canvas.width() - 2, kLongestBox);
        int height = std::min(canvas.height() - 2, kTallestBox);
        Area box{(canvas.width() - width) / 2, (canvas.height() - height) / 2, width, height};
        canvas.Box(box, Look::Dialog, Look::DialogFrame, "Wybierz plik (" + MazoviaToUtf8(mask_) + ")");
        int fieldX = box.x + 8;
        int fieldWidth = std::max(1, box.width - 10);
        canvas.Text(box.x + 2, box.y + 2, "Plik:", Look::Dialog);
        canvas.Fill({fieldX, box.y + 2, fieldWidth, 1}, inList_ ? Look::Input : Look::InputFocused);
        std::size_t first = editor_.FirstShown(static_cast<std::size_t>(fieldWidth));
        StyledLine text;
        for (char c : editor_.text()) text.cells.push_back({c, CellStyle::Normal});
        canvas.Styled(fieldX, box.y + 2, text, inList_ ? Look::Input : Look::InputFocused, fieldWidth, first);
        if (!inList_) canvas.ShowCursor(fieldX + static_cast<int>(editor_.cursor() - first), box.y + 2);
        canvas.Text(box.x + 2, box.y + 4, "Katalog: " + (listed_.empty() ? std::string(".") : MazoviaToUtf8(listed_)),
                    Look::Dialog, box.width - 4);
        PaintList(canvas, {box.x + 2, box.y + 5, box.width - 4, box.height - 6});
    }

    std::string KeyHelp() const override {
        return inList_ ? "↑↓ wybór   Enter otwiera katalog / wybiera plik   Tab ścieżka   ESC rezygnuje"
                       : "Enter wybiera wpisaną ścieżkę   Tab/↓ lista   ESC rezygnuje";
    }

    // Nothing yet: the user goes on. A value: the user has chosen (an
    // empty optional inside means cancelled).
    std::optional<std::optional<std::string>> Handle(const ScreenKey& key) {
        if (key.Is(pc::kEscape)) return std::optional<std::string>{};
        if (key.Is(pc::kTab) || key.Is(pc::kBackTab)) {
            inList_ = !inList_;
            return std::nullopt;
        }
        if (!inList_) return HandleInInput(key);
        return HandleInList(key);
    }

    bool refused = false;

private:
    std::optional<std::optional<std::string>> HandleInInput(const ScreenKey& key) {
        if (key.Is(pc::kEnter)) {
            if (!editor_.text().empty()) return std::optional<std::string>(editor_.text());
            refused = true;
            return std::nullopt;
        }
        if (key.Is(pc::kDown)) {
            inList_ = true;
            return std::nullopt;
        }
        refused = editor_.Handle(key) == InputEditor::Result::Refused;
        return std::nullopt;
    }

    std::optional<std::optional<std::string>> HandleInList(const ScreenKey& key) {
        if (entries_.empty()) return std::nullopt;
        if (key.Is(pc::kUp) && selected_ > 0) --selected_;
        if (key.Is(pc::kDown) && selected_ + 1 < entries_.size()) ++selected_;
        if (key.Is(pc::kHome)) selected_ = 0;
        if (key.Is(pc::kEnd)) selected_ = entries_.size() - 1;
        if (!key.Is(pc::kEnter)) return std::nullopt;
        const ListedEntry& entry = entries_[selected_];
        if (entry.directory) {
            editor_.SetText(EnterDirectory(listed_, entry.name));
            return std::nullopt;
        }
        std::string path = listed_ + entry.name;
        editor_.SetText(path);
        if (editor_.text() != path) {  // too long for the field it goes to
            refused = true;
            return std::nullopt;
        }
        return std::optional<std::string>(path);
    }

    void Relist() {
        std::string directory = DirectoryPart(editor_.text());
        if (directory == listed_ && listedOnce_) return;
        listed_ = directory;
        listedOnce_ = true;
        entries_ = ListDirectory(listed_, mask_);
        selected_ = 0;
        firstShown_ = 0;
    }

    void PaintList(Canvas& canvas, const Area& area) {
        if (area.height <= 0) return;
        std::size_t rows = static_cast<std::size_t>(area.height);
        if (selected_ < firstShown_) firstShown_ = selected_;
        if (selected_ >= firstShown_ + rows) firstShown_ = selected_ - rows + 1;
        for (std::size_t row = 0; row < rows && firstShown_ + row < entries_.size(); ++row) {
            const ListedEntry& entry = entries_[firstShown_ + row];
            bool current = inList_ && firstShown_ + row == selected_;
            Look look = current ? Look::Focused : Look::Dialog;
            std::string name = MazoviaToUtf8(entry.name) + (entry.directory ? "\\" : "");
            int y = area.y + static_cast<int>(row);
            canvas.Fill({area.x, y, area.width, 1}, look);
            canvas.Text(area.x + 1, y, name, look, area.width - 2);
        }
    }

    std::string mask_;
    InputEditor editor_;
    bool inList_ = false;
    std::string listed_;
    bool listedOnce_ = false;
    std::vector<ListedEntry> entries_;
    std::size_t selected_ = 0;
    std::size_t firstShown_ = 0;
};

}  // namespace

std::optional<std::string> ChooseFileOnScreen(Screen& screen, std::string_view mask, std::string_view startMazovia,
                                              std::size_t maxLength) {
    ChooserLayer layer(std::string(mask), std::string(startMazovia), maxLength);
    ScopedLayer shown(screen, layer);
    while (true) {
        ScreenKey key = screen.WaitKey(1000);
        if (key.kind == ScreenKey::Kind::None || key.kind == ScreenKey::Kind::Resize) continue;
        if (auto chosen = layer.Handle(key)) return *chosen;
        if (layer.refused || key.kind == ScreenKey::Kind::Unsupported) screen.Beep();
        layer.refused = false;
    }
}

}  // namespace refhost::screen
