// The person at the host's screen, as the window runner sees them: in the
// window on top it waits for their keys and lets real time pass (so the
// window's timer fires as a clock says), and it shows the message boxes,
// questions, the log viewer and the file chooser the host opens meanwhile.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "screen/screen.h"
#include "screen/window_layer.h"
#include "window/window_runner.h"

namespace refhost::screen {

class WindowScreen : public WindowUser {
public:
    WindowScreen(Screen& screen, std::function<bool()> stopRequested);
    ~WindowScreen() override;

    bool Act(RunningWindow& window) override;
    std::optional<std::string> ChooseFile(std::string_view mask) override;
    std::optional<std::string> ChooseFileStartingAt(std::string_view mask, std::string_view current) override;
    bool ShowMessage(std::string_view title, std::string_view text, bool question, bool& yes) override;
    void ShowViewer(std::string_view title, std::optional<std::string_view> content) override;

    // What the inputs of the last window to close held, so that the host
    // can act on what was typed (the NIP of the search window).
    struct ClosedWindow {
        uint16_t id;
        uint16_t closedBy;
        std::map<uint16_t, std::string> inputs;  // Mazovia
    };
    std::optional<ClosedWindow> TakeLastClosed();

private:
    using Clock = std::chrono::steady_clock;
    struct OpenWindow {
        RunningWindow* window;
        std::unique_ptr<WindowLayer> layer;
        std::unique_ptr<ScopedLayer> shown;
        Clock::time_point lastPass;
    };

    OpenWindow& EntryFor(RunningWindow& window);
    void CloseEntry();
    void PassTime(OpenWindow& entry);
    void TakeSuggestion(OpenWindow& entry);
    bool OnScreenThread() const;

    Screen& screen_;
    std::function<bool()> stopRequested_;
    std::vector<OpenWindow> open_;
    std::optional<ClosedWindow> lastClosed_;
    std::thread::id screenThread_;
    ScopedWindowUser installed_;
};

}  // namespace refhost::screen
