// Running a script: the driver is the user at the host. Lines for the main
// screen run when no window is open; a window opened by one of them (the
// plug-in's action, Ctrl-G in the contractor table, the search window)
// takes the lines that follow for itself until it closes, and so does a
// file chooser opened in a window. The first failure stops the script;
// the windows still open are then left with ESC.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <thread>

#include "script/script.h"
#include "window/window_runner.h"

namespace refhost {

// What the script reaches in the plug-in; a run without a plug-in leaves
// them empty, and an action line then fails.
struct ScriptContext {
    std::function<int(int32_t argument)> action30010;
    std::function<int()> action30009;
};

struct ScriptResult {
    bool ok = false;
    std::string error;  // "name:line: what went wrong"
};

class ScriptDriver : public WindowUser {
public:
    // Becomes the window user for as long as it lives, so that a window a
    // test opens itself also takes its steps from the script.
    ScriptDriver(Script script, ScriptContext context);

    // Runs the lines not yet taken, from the main screen, to the end or to
    // the first failure.
    ScriptResult Run();

    bool Act(RunningWindow& window) override;
    std::optional<std::string> ChooseFile(std::string_view mask) override;
    // A box shown on the script's thread stays open for the box lines that
    // follow it (box wait, call, expect box, ...) until box close or box
    // answer; with no box line next it is passed by as before.
    bool ShowMessage(std::string_view title, std::string_view text, bool question, bool& yes) override;

    bool failed() const { return !error_.empty(); }
    const std::string& error() const { return error_; }

private:
    const ScriptLine* Next();
    void Fail(const ScriptLine& line, const std::string& problem);
    void FailAtEnd(const std::string& problem);
    void RunAnywhere(const ScriptLine& line);
    void RunOnMainScreen(const ScriptLine& line);
    void RunInWindow(const ScriptLine& line, RunningWindow& window);
    // True when the line closed the box.
    bool RunInBox(const ScriptLine& line, bool& yes);
    void RunHostLock(const ScriptLine& line);
    void GiveBackHostLocks();

    struct OpenBox {
        std::string title, text;  // readable
        bool question;
    };

    Script script_;
    ScriptContext context_;
    std::size_t next_ = 0;
    std::string error_;
    CallFeed calls_;
    std::optional<OpenBox> box_;
    int hostLockLevels_ = 0;       // levels of the host's lock the script took
    std::thread::id thread_;       // the thread the script's user works on
    ScopedWindowUser installed_;
};

// Checks an expectation against what the host shows now. Returns the
// failure, or nothing when it holds.
std::optional<std::string> CheckExpectation(const ScriptLine& line);

// Parses and runs a script; name is the script's name in messages.
ScriptResult RunScript(std::string_view text, const ScriptContext& context = {},
                       std::string_view name = "script");

}  // namespace refhost
