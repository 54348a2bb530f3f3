// A running window on the screen: its controls drawn from the description
// at their rectangles now, the focus, the input being edited, and what the
// user's keys do in it. The window itself (values, events, the procedure)
// is the window runner's; this layer only shows it and acts in it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "screen/focus.h"
#include "screen/screen.h"
#include "terminal/input_editor.h"
#include "window/window_runner.h"

namespace refhost::screen {

class WindowLayer : public Layer {
public:
    explicit WindowLayer(RunningWindow& window) : window_(window) {}

    void Paint(Canvas& canvas) override;
    std::string KeyHelp() const override;

    // One key from the user. False when the window did not take it.
    bool Handle(const ScreenKey& key);
    // What the window shows may have changed (a refresh, a command): the
    // input being edited follows it unless the user has changed its text.
    void Sync();
    // The host fills the input being edited with the plug-in's suggestion,
    // then processes the keys the plug-in handed over with it. False when
    // the focus is not in an input.
    bool Suggest(std::string_view text, const std::vector<uint16_t>& keys);

private:
    std::vector<FocusStop> Stops() const;
    void EnsureFocus();
    const WindowRecord* FocusedRecord() const;
    bool FocusInInput() const;
    void FocusOn(std::size_t record);
    void MoveFocus(const ScreenKey& key);
    void Commit();
    void ChooseFocused();
    bool Paste();
    void EnterInInput();
    void PaintControl(Canvas& canvas, std::size_t index, int originX, int originY, int rightEdge);
    void PaintInput(Canvas& canvas, std::size_t index, int x, int y, int width);

    RunningWindow& window_;
    std::optional<std::size_t> focus_;   // the focused control's record index
    std::optional<InputEditor> editor_;  // while the focus is in an input
    bool edited_ = false;                // the editor's text is not yet the window's
};

}  // namespace refhost::screen
