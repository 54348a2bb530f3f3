// The window runner: a modal window built from any window description,
// without a screen. It keeps the controls' values and the display fields'
// texts, binds the data record, drives the window procedure with the
// opened, timer, command, collect and closing events, and takes what the
// user does from whoever works at the host (a script, a test), one action
// at a time. Windows nest: a procedure may open another window, which
// then runs on top until it closes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/imports.h"
#include "window/window_format.h"

namespace refhost {

// Window procedure events.
inline constexpr int kEventCommand = 0x0001;
inline constexpr int kEventCollect = 0x0002;
inline constexpr int kEventTimer = 0x000A;
inline constexpr int kEventOpened = 0xFFFE;
inline constexpr int kEventClosing = 0xFFFF;

// Four values as the rectangle services pass them: column, row, width, height.
struct Rectangle {
    int16_t x, y, width, height;
};

class RunningWindow {
public:
    // Texts of the description are Mazovia; so are all texts below.
    RunningWindow(WindowDescription description, void* data, WindowProcedure procedure);
    RunningWindow(const RunningWindow&) = delete;
    RunningWindow& operator=(const RunningWindow&) = delete;

    uint16_t id() const { return description_.window().id; }
    const WindowDescription& description() const { return description_; }
    WindowProcedure procedure() const { return procedure_; }
    // "[title]", the prefix of the window's console lines.
    std::string Label() const;

    // What the user does; every step is reported on the console.
    // Shows the data record in the controls and sends the opened event.
    void Open();
    // A key chooses the control it belongs to; ESC otherwise leaves the
    // window; any other key reaches the procedure as a command.
    void PressKey(uint16_t key);
    // Replaces the text of input `id` with as much of `text` as the input
    // takes. False, with the reason in note, when the input refuses it; a
    // note also tells what was cut.
    bool Type(uint16_t id, std::string_view text, std::string& note);
    // Lets time pass: the timer fires once for every full interval while
    // it is armed, and the host's clock moves along.
    void Pass(int milliseconds);
    // Sends the collect and closing events; the window is then closed with id.
    void Close(uint16_t id);
    bool closed() const { return closed_; }
    uint16_t closedBy() const { return closedBy_; }

    // What the host services do to the window.
    void ShowRecord(const void* record);
    void CollectRecord(void* record) const;
    // Display field `id`, or the window's extra text line for id 0. False
    // when the window has no such field.
    bool ShowText(uint16_t id, std::string_view text);
    // An interval in milliseconds arms the timer; -1 (or anything below 1)
    // stops it.
    void SetTimer(int interval);
    Rectangle WindowRectangle() const;
    void SetWindowRectangle(const Rectangle& rectangle);
    std::optional<Rectangle> ControlRectangle(uint16_t id) const;
    bool SetControlRectangle(uint16_t id, const Rectangle& rectangle);

    // What the user sees, for scripts and tests. Inputs give their text
    // (numbers in decimal), display fields their text, a radio group (named
    // by its opener or any of its buttons) the index of its chosen button,
    // a check box (named by its id or a key its hotkey catches) its state.
    std::optional<std::string> InputText(uint16_t id) const;
    std::optional<std::string> FieldText(uint16_t id) const;
    std::optional<uint16_t> RadioChoice(uint16_t id) const;
    std::optional<bool> CheckBoxState(uint16_t idOrKey) const;
    bool timerArmed() const { return timerInterval_ > 0; }
    int timerInterval() const { return timerInterval_; }

    // What a screen draws, by record index (0 is the window itself, whose
    // rectangle the plug-in may have changed): an input's or display
    // field's text (numbers in decimal), whether a check box is checked or
    // a radio button chosen, and the control's rectangle now.
    struct ControlView {
        std::string text;
        bool on = false;
        Rectangle rectangle{};
    };
    ControlView ViewOf(std::size_t index) const;
    // The user chooses the control at this record index (Enter or Space on
    // it) as its key would choose it.
    void ChooseControl(std::size_t index);

private:
    struct ControlState {
        std::string text;      // inputs and display fields
        int16_t number = 0;    // numeric inputs
        uint16_t choice = 0;   // a radio group's opener: the chosen index
        bool checked = false;  // check boxes
        Rectangle rectangle{};
    };

    const WindowRecord* FindChoosable(uint16_t key) const;
    const WindowRecord* FindInput(uint16_t id) const;
    std::size_t IndexOf(const WindowRecord& record) const;
    std::size_t GroupOpener(std::size_t radioIndex) const;
    void Choose(const WindowRecord& control, const std::string& how);
    int Send(int id, int event);
    void Command(uint16_t id, const std::string& how);
    void Tick();
    std::string ControlLabel(const WindowRecord& control) const;
    void Print(const std::string& text) const;

    WindowDescription description_;
    void* data_;
    WindowProcedure procedure_;
    std::vector<ControlState> states_;   // by record index; 0 is the window
    std::string extraLine_;
    int timerInterval_ = 0;
    int sinceTick_ = 0;                  // milliseconds since the last tick or arming
    bool closed_ = false;
    uint16_t closedBy_ = 0;
};

// Whoever works at the host's screen. The runner asks it for the user's
// next step in the window on top, and the file chooser for its choice.
class WindowUser {
public:
    virtual ~WindowUser() = default;
    // Does one thing in the window (a key, a text typed, time passing).
    // False when the user has nothing more to do: the runner then leaves
    // the window with ESC.
    virtual bool Act(RunningWindow& window) = 0;
    // The chosen path (Mazovia, the host's form of a path), or nothing
    // when the user cancels.
    virtual std::optional<std::string> ChooseFile(std::string_view mask) = 0;
    // The same, for a chooser that opens on the path the field holds now.
    virtual std::optional<std::string> ChooseFileStartingAt(std::string_view mask, std::string_view) {
        return ChooseFile(mask);
    }
    // A message box, question or notice (Mazovia title and text, message
    // markup included) for a user who shows it. True when it was shown;
    // for a question, yes then holds the answer. A user who shows nothing
    // leaves the console and the --answer option to serve.
    virtual bool ShowMessage(std::string_view, std::string_view, bool /*question*/, bool& /*yes*/) { return false; }
    // The log viewer for a user who shows it: its title, and the content
    // of the file it shows (nothing when the file does not exist).
    virtual void ShowViewer(std::string_view /*title*/, std::optional<std::string_view> /*content*/) {}
};

// Installs the user for as long as this object lives; the one before it
// comes back afterwards.
class ScopedWindowUser {
public:
    explicit ScopedWindowUser(WindowUser* user);
    ~ScopedWindowUser();
    ScopedWindowUser(const ScopedWindowUser&) = delete;
    ScopedWindowUser& operator=(const ScopedWindowUser&) = delete;

private:
    WindowUser* previous_;
};
WindowUser* CurrentWindowUser();

// Runs a window modally until it closes and returns the closing control's
// id; 0 when the description is refused (the reason is printed).
int RunModalWindow(const void* description, void* data, WindowProcedure procedure);
// The window on top, or null when none is open.
RunningWindow* CurrentWindow();
// The id the last window closed with, if any has closed.
std::optional<uint16_t> LastClosingId();

// A window's id as messages name it, in both the forms scripts use:
// "1001 (0x03E9)", "115 (0x0073)".
std::string WindowIdText(uint16_t id);

// The host's clock moves with the windows' time: milliseconds are summed
// and the clock advances by every whole second they make up.
void AdvanceHostClockMilliseconds(int milliseconds);
// Where the windows' time is real time (a person at a terminal) the clock
// runs by itself, and the windows' time must not move it a second time.
void SetWindowTimeMovesClock(bool moves);

}  // namespace refhost
