// The script driver: which lines run where, and what each does. Every line
// is echoed before it runs, so that the console reads as a log of the
// session; expectations are checked in script_expectations.cpp.
#include "script/script_driver.h"

#include "plumbing/host.h"
#include "tables/contractor_table.h"
#include "tables/search_window.h"

namespace refhost {
namespace {

// "window 1001 \"Wybierz\"" for messages about the window on top.
std::string Describe(const RunningWindow& window) {
    return "window " + WindowIdText(window.id()) + " " + window.Label();
}

std::string PlaceName(ScriptPlace place) {
    switch (place) {
        case ScriptPlace::MainScreen: return "the host's main screen";
        case ScriptPlace::Window: return "an open window";
        case ScriptPlace::FileChooser: return "an open file chooser";
        case ScriptPlace::Anywhere: break;
    }
    return "anywhere";
}

}  // namespace

ScriptDriver::ScriptDriver(Script script, ScriptContext context)
    : script_(std::move(script)), context_(std::move(context)), installed_(this) {}

const ScriptLine* ScriptDriver::Next() {
    if (failed() || next_ >= script_.lines.size()) return nullptr;
    const ScriptLine& line = script_.lines[next_++];
    PrintLine(line.location + "> " + line.source);
    return &line;
}

void ScriptDriver::Fail(const ScriptLine& line, const std::string& problem) {
    if (failed()) return;
    error_ = line.location + ": " + problem;
    PrintLine(error_);
}

void ScriptDriver::FailAtEnd(const std::string& problem) {
    if (failed()) return;
    std::string where = script_.lines.empty() ? script_.name : script_.lines.back().location;
    error_ = where + ": " + problem;
    PrintLine(error_);
}

ScriptResult ScriptDriver::Run() {
    while (const ScriptLine* line = Next()) {
        switch (PlaceOf(line->command)) {
            case ScriptPlace::Anywhere:
                RunAnywhere(*line);
                break;
            case ScriptPlace::MainScreen:
                RunOnMainScreen(*line);
                break;
            case ScriptPlace::Window:
                Fail(*line, LastClosingId() ? "no window is open any more" : "no window is open");
                break;
            case ScriptPlace::FileChooser:
                Fail(*line, "no file chooser is open");
                break;
        }
    }
    return {!failed(), error_};
}

bool ScriptDriver::Act(RunningWindow& window) {
    while (!failed()) {
        const ScriptLine* line = Next();
        if (!line) {
            FailAtEnd("the script ended while " + Describe(window) + " was open");
            break;
        }
        ScriptPlace place = PlaceOf(line->command);
        if (place == ScriptPlace::Anywhere) {
            RunAnywhere(*line);
            continue;
        }
        if (place != ScriptPlace::Window) {
            Fail(*line, "this line needs " + PlaceName(place) + ", but " + Describe(window) + " is open");
            break;
        }
        RunInWindow(*line, window);
        return !failed();
    }
    return false;
}

std::optional<std::string> ScriptDriver::ChooseFile(std::string_view) {
    while (!failed()) {
        const ScriptLine* line = Next();
        if (!line) {
            FailAtEnd("the script ended while the file chooser was open");
            break;
        }
        if (line->command == ScriptCommand::ChooseFile) return line->text;
        if (line->command == ScriptCommand::CancelFile) return std::nullopt;
        if (PlaceOf(line->command) == ScriptPlace::Anywhere) {
            RunAnywhere(*line);
            continue;
        }
        Fail(*line, "the file chooser is open: window choose-file \"PATH\" or window cancel-file comes first");
    }
    return std::nullopt;
}

void ScriptDriver::RunAnywhere(const ScriptLine& line) {
    switch (line.command) {
        case ScriptCommand::Answer:
            HostOptions().answer = line.yes ? 0x5009 : 0x5008;
            return;
        case ScriptCommand::ClockSet:
            FixClock(line.when);
            return;
        case ScriptCommand::ClockAdvance:
            AdvanceClock(line.value);
            return;
        case ScriptCommand::Print:
            PrintLine(Readable(line.text));
            return;
        default:
            if (std::optional<std::string> failure = CheckExpectation(line)) Fail(line, *failure);
            return;
    }
}

void ScriptDriver::RunOnMainScreen(const ScriptLine& line) {
    std::string error;
    switch (line.command) {
        case ScriptCommand::Action:
            if (line.id == 30009 && context_.action30009) {
                PrintLine("action 30009 returned " + std::to_string(context_.action30009()));
            } else if (line.id == 30010 && context_.action30010) {
                int result = context_.action30010(static_cast<int32_t>(line.value));
                PrintLine("action 30010 returned " + std::to_string(result));
            } else {
                Fail(line, "no plug-in is loaded to take action " + std::to_string(line.id));
            }
            return;
        case ScriptCommand::TableKey:
            if (!PressTableKey(static_cast<uint16_t>(line.id), static_cast<int>(line.value),
                               static_cast<int>(line.value2), error))
                Fail(line, error);
            return;
        case ScriptCommand::SearchOpen:
            OpenSearchWindow();
            return;
        default:
            return;
    }
}

void ScriptDriver::RunInWindow(const ScriptLine& line, RunningWindow& window) {
    bool forSearch = line.command == ScriptCommand::SearchKey || line.command == ScriptCommand::SearchType;
    if (forSearch && window.id() != kSearchWindowId) {
        Fail(line, "the window on top is " + Describe(window) + ", not the search window");
        return;
    }
    std::string note;
    switch (line.command) {
        case ScriptCommand::WindowKey:
        case ScriptCommand::SearchKey:
            window.PressKey(static_cast<uint16_t>(line.id));
            return;
        case ScriptCommand::WindowType:
        case ScriptCommand::SearchType:
            // An input that refuses what is typed is the window's business;
            // only a missing input is the script's mistake.
            if (!window.Type(static_cast<uint16_t>(line.id), line.text, note) &&
                !window.InputText(static_cast<uint16_t>(line.id)))
                Fail(line, note);
            return;
        case ScriptCommand::WindowTick:
            window.Pass(window.timerArmed() ? window.timerInterval() : 2000);
            return;
        case ScriptCommand::WindowWait:
            window.Pass(static_cast<int>(line.value));
            return;
        default:
            return;
    }
}

ScriptResult RunScript(std::string_view text, const ScriptContext& context, std::string_view name) {
    std::string error;
    std::optional<Script> script = ParseScript(text, name, error);
    if (!script) {
        PrintLine(error);
        return {false, error};
    }
    ScriptDriver driver(std::move(*script), context);
    return driver.Run();
}

}  // namespace refhost
