// Drawing the layers and the status lines, and reading keys. ESC followed
// at once by a character is that character typed with Alt, as terminals
// send it.
#include "screen/screen.h"

#include <curses.h>

#include <algorithm>
#include <chrono>

#include "services/host_screen.h"
#include "text/mazovia_utf8.h"

namespace refhost::screen {
namespace {

constexpr int kStatusRows = 3;
constexpr int kSmallestWidth = 20;
constexpr int kSmallestHeight = 6;
constexpr int kPollMilliseconds = 100;
constexpr int kAltFollowMilliseconds = 30;

// Below this height the status lines give their room to the layers,
// except the key line.
constexpr int kHeightForStatus = 12;

int StatusRowsFor(int height) { return height >= kHeightForStatus ? kStatusRows : 1; }

}  // namespace

Screen::Screen(const CursesSession& terminal, EventFeed& events, std::function<bool()> stopRequested)
    : terminal_(terminal), events_(events), stopRequested_(std::move(stopRequested)) {}

void Screen::Push(Layer& layer) { layers_.push_back(&layer); }

void Screen::Remove(Layer& layer) { layers_.erase(std::remove(layers_.begin(), layers_.end(), &layer), layers_.end()); }

void Screen::Beep() { beep(); }

void Screen::Draw() {
    erase();
    int width = COLS;
    int height = LINES;
    if (width < kSmallestWidth || height < kSmallestHeight) {
        Canvas canvas(width, height, utf8(), terminal_.colours());
        canvas.Text(0, 0, "Za mały terminal", Look::Plain, width);
        curs_set(0);
        refresh();
        return;
    }
    int statusRows = StatusRowsFor(height);
    Canvas area(width, height - statusRows, utf8(), terminal_.colours());
    std::optional<Canvas::Point> cursor;
    for (Layer* layer : layers_) {
        area.ShowCursor(-1, -1);
        layer->Paint(area);
        cursor = area.cursor();
    }
    Canvas whole(width, height, utf8(), terminal_.colours());
    PaintStatus(whole, height - statusRows);
    bool cursorShown = cursor && cursor->x >= 0 && cursor->y >= 0 && cursor->x < width && cursor->y < area.height();
    curs_set(cursorShown ? 1 : 0);
    if (cursorShown) move(cursor->y, cursor->x);
    refresh();
}

void Screen::PaintStatus(Canvas& canvas, int firstRow) {
    int width = canvas.width();
    int keyRow = canvas.height() - 1;
    if (keyRow > firstRow) {
        std::string clipboard = MazoviaToUtf8(ClipboardText());
        canvas.Text(1, firstRow, "Schowek: " + (clipboard.empty() ? std::string("(pusty)") : clipboard), Look::Plain,
                    width - 2);
        std::string event = events_.LatestEvent();
        if (!event.empty()) canvas.Text(1, firstRow + 1, "» " + event, Look::Plain, width - 2);
    }
    canvas.Fill({0, keyRow, width, 1}, Look::Bar);
    std::string help = layers_.empty() ? std::string() : layers_.back()->KeyHelp();
    canvas.Text(1, keyRow, help, Look::Bar, width - 2);
}

ScreenKey Screen::ReadKey(int milliseconds) {
    timeout(milliseconds);
    wint_t value = 0;
    int kind = get_wch(&value);
    if (kind == ERR) return {};
    if (kind == KEY_CODE_YES) return TranslateKey(true, static_cast<uint32_t>(value), false);
    if (value != 27) return TranslateKey(false, static_cast<uint32_t>(value), false);
    timeout(kAltFollowMilliseconds);
    wint_t next = 0;
    int nextKind = get_wch(&next);
    if (nextKind == OK && next != 27) return TranslateKey(false, static_cast<uint32_t>(next), true);
    if (nextKind == KEY_CODE_YES) return TranslateKey(true, static_cast<uint32_t>(next), false);
    return TranslateKey(false, 27, false);
}

ScreenKey Screen::WaitKey(int milliseconds) {
    using Clock = std::chrono::steady_clock;
    Draw();
    auto deadline = Clock::now() + std::chrono::milliseconds(std::max(0, milliseconds));
    uint64_t seen = events_.generation();
    while (true) {
        if (stopRequested_()) return TranslateKey(false, 27, false);
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        int slice = static_cast<int>(std::clamp<long long>(left, 0, kPollMilliseconds));
        ScreenKey key = ReadKey(slice);
        if (key.kind == ScreenKey::Kind::Resize) Draw();
        if (key.kind != ScreenKey::Kind::None) return key;
        if (events_.generation() != seen) {
            seen = events_.generation();
            Draw();
        }
        if (Clock::now() >= deadline) return {};
    }
}

}  // namespace refhost::screen
