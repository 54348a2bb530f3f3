// One step of the user per call of Act: a key, or a moment of real time.
// Windows nest, so the open windows are kept as a stack that follows the
// runner's: a window on top again means those opened over it have closed.
#include "screen/window_screen.h"

#include <algorithm>
#include <utility>

#include "plumbing/host.h"
#include "screen/file_chooser.h"
#include "screen/message_box.h"
#include "screen/text_viewer.h"
#include "services/host_screen.h"

namespace refhost::screen {
namespace {

// How long one step waits for a key before the window's time moves on.
constexpr int kStepMilliseconds = 100;
// The longest path the chooser gives; the service refuses one its caller's
// field cannot hold.
constexpr std::size_t kLongestPath = 259;

}  // namespace

WindowScreen::WindowScreen(Screen& screen, std::function<bool()> stopRequested)
    : screen_(screen),
      stopRequested_(std::move(stopRequested)),
      screenThread_(std::this_thread::get_id()),
      installed_(this) {
    SetWindowTimeMovesClock(false);
}

WindowScreen::~WindowScreen() {
    while (!open_.empty()) CloseEntry();
    SetWindowTimeMovesClock(true);
}

bool WindowScreen::OnScreenThread() const { return std::this_thread::get_id() == screenThread_; }

WindowScreen::OpenWindow& WindowScreen::EntryFor(RunningWindow& window) {
    for (std::size_t i = 0; i < open_.size(); ++i) {
        if (open_[i].window != &window) continue;
        while (open_.size() > i + 1) CloseEntry();
        return open_.back();
    }
    open_.push_back({&window, std::make_unique<WindowLayer>(window), nullptr, Clock::now()});
    open_.back().shown = std::make_unique<ScopedLayer>(screen_, *open_.back().layer);
    return open_.back();
}

void WindowScreen::CloseEntry() { open_.pop_back(); }

void WindowScreen::PassTime(OpenWindow& entry) {
    Clock::time_point now = Clock::now();
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(now - entry.lastPass).count();
    entry.lastPass = now;
    RunningWindow& window = *entry.window;
    // Time spent in a window opened over this one, or in a box, fires the
    // timer once, not once for every interval missed.
    if (window.timerArmed()) elapsed = std::min<long long>(elapsed, window.timerInterval());
    if (elapsed > 0) window.Pass(static_cast<int>(elapsed));
}

void WindowScreen::TakeSuggestion(OpenWindow& entry) {
    std::string suggestion = SuggestionText();
    if (suggestion.empty()) return;
    std::vector<uint16_t> keys = PushedKeys();
    SetSuggestion("");
    SetPushedKeys({});
    entry.layer->Suggest(suggestion, keys);
}

bool WindowScreen::Act(RunningWindow& window) {
    std::size_t index = static_cast<std::size_t>(&EntryFor(window) - open_.data());
    if (stopRequested_()) {
        CloseEntry();
        return false;
    }
    TakeSuggestion(open_[index]);
    ScreenKey key = screen_.WaitKey(kStepMilliseconds);
    PassTime(open_[index]);
    bool pressed = key.kind != ScreenKey::Kind::None && key.kind != ScreenKey::Kind::Resize;
    // The key may open windows over this one; they are gone again when it
    // returns, but the stack may have moved in memory meanwhile.
    if (pressed && !window.closed() && !open_[index].layer->Handle(key)) screen_.Beep();
    if (window.closed()) {
        ClosedWindow closed{window.id(), window.closedBy(), {}};
        for (const WindowRecord& control : window.description().controls())
            if (control.kind == RecordKind::InputLine) closed.inputs[control.id] = window.InputText(control.id).value_or("");
        lastClosed_ = std::move(closed);
        while (open_.size() > index) CloseEntry();
        return true;
    }
    open_[index].layer->Sync();
    return true;
}

std::optional<WindowScreen::ClosedWindow> WindowScreen::TakeLastClosed() { return std::exchange(lastClosed_, {}); }

std::optional<std::string> WindowScreen::ChooseFile(std::string_view mask) { return ChooseFileStartingAt(mask, ""); }

std::optional<std::string> WindowScreen::ChooseFileStartingAt(std::string_view mask, std::string_view current) {
    if (!OnScreenThread()) return std::nullopt;
    return ChooseFileOnScreen(screen_, mask, current, kLongestPath);
}

bool WindowScreen::ShowMessage(std::string_view title, std::string_view text, bool question, bool& yes) {
    // A box waits for a key: never on another thread, nor while the host
    // is being stopped by a signal, when nobody may be there to answer.
    if (!OnScreenThread() || stopRequested_()) return false;
    yes = ShowMessageBox(screen_, title, text, question);
    return true;
}

void WindowScreen::ShowViewer(std::string_view title, std::optional<std::string_view> content) {
    if (!OnScreenThread() || stopRequested_()) return;
    std::string heading = "Podgląd";
    std::string readableTitle = Readable(title);
    if (!readableTitle.empty()) heading += ": " + readableTitle;
    std::vector<std::string> lines;
    if (!content)
        lines.push_back("(plik nie istnieje)");
    else if ((lines = MazoviaLines(*content)).empty())
        lines.push_back("(plik jest pusty)");
    ShowTextViewer(screen_, heading, std::move(lines));
}

}  // namespace refhost::screen
