// The window runner's events: opening, keys and what they choose, the
// timer, closing, and the modal loop that asks the user for each step.
// The controls' values live in window_controls.cpp.
#include "window/window_runner.h"

#include <atomic>
#include <cstdio>
#include <utility>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "window/window_keys.h"
#include "window/window_text.h"

namespace refhost {
namespace {

std::vector<RunningWindow*> g_windows;
WindowUser* g_user = nullptr;
std::optional<uint16_t> g_lastClosingId;
int g_clockMilliseconds = 0;

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string ResultName(int result) {
    if (result == -2) return "-2 (handled)";
    if (result == 0x1002) return "0x1002 (redraw)";
    return std::to_string(result);
}

// Keeps the window on the stack exactly while it runs.
class OnTop {
public:
    explicit OnTop(RunningWindow& window) { g_windows.push_back(&window); }
    ~OnTop() { g_windows.pop_back(); }
    OnTop(const OnTop&) = delete;
    OnTop& operator=(const OnTop&) = delete;
};

}  // namespace

RunningWindow::RunningWindow(WindowDescription description, void* data, WindowProcedure procedure)
    : description_(std::move(description)), data_(data), procedure_(procedure) {
    states_.resize(description_.records.size());
    for (std::size_t i = 0; i < description_.records.size(); ++i) {
        const WindowRecord& record = description_.records[i];
        states_[i].rectangle = {record.x, record.y, record.width, record.height};
    }
}

std::string RunningWindow::Label() const {
    std::string label(1, '[');
    label += ReadableControlText(description_.window().text);
    label += ']';
    return label;
}

void RunningWindow::Print(const std::string& text) const { PrintLine(Label() + " " + text); }

std::string RunningWindow::ControlLabel(const WindowRecord& control) const {
    std::string label = std::string(RecordKindName(control.kind)) + " " + Hex(control.id);
    std::string text = ReadableControlText(control.text);
    if (!text.empty()) label += " \"" + text + "\"";
    return label;
}

int RunningWindow::Send(int id, int event) {
    HostLockScope held;
    TraceCallIn("window %s procedure 0x%04X, 0x%04X", Hex(this->id()).c_str(), static_cast<unsigned>(id),
                static_cast<unsigned>(event));
    int result = procedure_ ? procedure_(id, event) : 0;
    TraceCallIn("window %s procedure -> %s", Hex(this->id()).c_str(), ResultName(result).c_str());
    return result;
}

void RunningWindow::Open() {
    if (data_) ShowRecord(data_);
    char summary[128];
    std::snprintf(summary, sizeof summary, " opened: %zu controls, data record %zu bytes",
                  description_.controls().size(), description_.dataSize);
    Print("window " + WindowIdText(id()) + summary);
    Send(id(), kEventOpened);
}

void RunningWindow::PressKey(uint16_t key) {
    std::string how = "key " + KeyName(key);
    if (const WindowRecord* control = FindChoosable(key)) {
        Choose(*control, how);
        return;
    }
    if (key == kKeyEscape) {
        Print(how + " leaves the window");
        Close(kEscapeCloseId);
        return;
    }
    Command(key, how + " chooses no control");
}

// A button, radio button or check box whose id is the key (buttons only)
// or whose hotkey catches it; ESC belongs to the window's ESC button.
const WindowRecord* RunningWindow::FindChoosable(uint16_t key) const {
    for (const WindowRecord& control : description_.controls()) {
        bool button = control.kind == RecordKind::Button;
        bool choice = control.kind == RecordKind::RadioButton || control.kind == RecordKind::CheckBox;
        if (button && (control.id == key || (key == kKeyEscape && control.id == kEscapeCloseId)))
            return &control;
        if ((button || choice) && HotkeyCatches(control.hotkey, key)) return &control;
    }
    return nullptr;
}

void RunningWindow::Choose(const WindowRecord& control, const std::string& how) {
    std::string chosen = how + " chooses " + ControlLabel(control);
    std::size_t index = IndexOf(control);
    if (control.kind == RecordKind::RadioButton && control.data) {
        states_[GroupOpener(index)].choice = control.data->value;
    } else if (control.kind == RecordKind::CheckBox) {
        states_[index].checked = !states_[index].checked;
        chosen += states_[index].checked ? ", now on" : ", now off";
    }
    if (control.HasFlag(kFlagReachesProcedure)) {
        Command(control.id, chosen);
    } else if (control.kind == RecordKind::Button) {
        Print(chosen + ": the window closes");
        Close(control.id);
    } else {
        Print(chosen);
    }
}

// The command is announced before it is sent, so that whatever the
// procedure does meanwhile (a question, a nested window) follows it.
void RunningWindow::Command(uint16_t id, const std::string& how) {
    Print(how);
    int result = Send(id, kEventCommand);
    Print("command " + Hex(id) + " -> " + ResultName(result));
}

void RunningWindow::Close(uint16_t id) {
    if (closed_) return;
    Send(id, kEventCollect);
    Send(id, kEventClosing);
    timerInterval_ = 0;
    closed_ = true;
    closedBy_ = id;
    Print("closed with " + Hex(id));
}

void RunningWindow::SetTimer(int interval) {
    int previous = timerInterval_;
    timerInterval_ = interval > 0 ? interval : 0;
    sinceTick_ = 0;
    if (previous == timerInterval_) return;
    if (timerInterval_ > 0)
        Print("timer armed: every " + std::to_string(timerInterval_) + " ms");
    else
        Print("timer stopped");
}

void RunningWindow::Pass(int milliseconds) {
    int remaining = milliseconds > 0 ? milliseconds : 0;
    while (timerArmed() && !closed_ && remaining >= timerInterval_ - sinceTick_) {
        int step = timerInterval_ - sinceTick_;
        AdvanceHostClockMilliseconds(step);
        remaining -= step;
        sinceTick_ = 0;
        Tick();
    }
    AdvanceHostClockMilliseconds(remaining);
    if (timerArmed()) sinceTick_ += remaining;
}

void RunningWindow::Tick() {
    int result = Send(0, kEventTimer);
    Print("timer -> " + ResultName(result));
}

ScopedWindowUser::ScopedWindowUser(WindowUser* user) : previous_(std::exchange(g_user, user)) {}
ScopedWindowUser::~ScopedWindowUser() { g_user = previous_; }
WindowUser* CurrentWindowUser() { return g_user; }

RunningWindow* CurrentWindow() { return g_windows.empty() ? nullptr : g_windows.back(); }
std::optional<uint16_t> LastClosingId() { return g_lastClosingId; }

// The host waits for the user's next step without its lock.
static bool ActReleasingHostLock(RunningWindow& window) {
    HostLockReleased whileTheUserActs;
    return g_user->Act(window);
}

int RunModalWindow(const void* header, void* data, WindowProcedure procedure) {
    std::string error = "window description: none was given";
    std::optional<WindowDescription> description;
    if (header) description = ParseWindowDescriptionAt(header, error);
    if (!description) {
        PrintLine("refhost: the window cannot be shown: " + error);
        return 0;
    }
    RunningWindow window(std::move(*description), data, procedure);
    OnTop onTop(window);
    window.Open();
    while (!window.closed()) {
        if (g_user && ActReleasingHostLock(window)) continue;
        if (window.closed()) break;
        PrintLine(window.Label() + " nobody works in the window: it is left with ESC");
        window.PressKey(kKeyEscape);
        if (!window.closed()) window.Close(kEscapeCloseId);
    }
    g_lastClosingId = window.closedBy();
    return window.closedBy();
}

static std::atomic<bool> g_windowTimeMovesClock{true};

void SetWindowTimeMovesClock(bool moves) { g_windowTimeMovesClock.store(moves); }

std::string WindowIdText(uint16_t id) { return std::to_string(id) + " (" + Hex(id) + ")"; }

void AdvanceHostClockMilliseconds(int milliseconds) {
    if (!g_windowTimeMovesClock.load()) return;
    g_clockMilliseconds += milliseconds;
    if (g_clockMilliseconds < 1000) return;
    AdvanceClock(g_clockMilliseconds / 1000);
    g_clockMilliseconds %= 1000;
}

}  // namespace refhost
