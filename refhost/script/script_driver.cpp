// The script driver: which lines run where, and what each does. Every line
// is echoed before it runs, so that the console reads as a log of the
// session; expectations are checked in script_expectations.cpp.
#include "script/script_driver.h"

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "plumbing/system.h"
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
        case ScriptPlace::Box: return "an open message box";
        case ScriptPlace::Anywhere: break;
    }
    return "anywhere";
}

}  // namespace

ScriptDriver::ScriptDriver(Script script, ScriptContext context)
    : script_(std::move(script)), context_(std::move(context)), thread_(std::this_thread::get_id()), installed_(this) {}

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
    GiveBackHostLocks();
}

void ScriptDriver::FailAtEnd(const std::string& problem) {
    if (failed()) return;
    std::string where = script_.lines.empty() ? script_.name : script_.lines.back().location;
    error_ = where + ": " + problem;
    PrintLine(error_);
    GiveBackHostLocks();
}

ScriptResult ScriptDriver::Run() {
    thread_ = std::this_thread::get_id();
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
            case ScriptPlace::Box:
                Fail(*line, "no message box is open");
                break;
        }
    }
    if (!failed() && hostLockLevels_ > 0) FailAtEnd("the script ended holding the host's lock (host unlock)");
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

bool ScriptDriver::ShowMessage(std::string_view title, std::string_view text, bool question, bool& yes) {
    if (std::this_thread::get_id() != thread_ || failed() || box_ || next_ >= script_.lines.size() ||
        PlaceOf(script_.lines[next_].command) != ScriptPlace::Box)
        return false;
    box_ = OpenBox{Readable(title), Readable(text), question};
    yes = false;
    while (!failed()) {
        const ScriptLine* line = Next();
        if (!line) {
            FailAtEnd("the script ended while a message box was open");
            break;
        }
        ScriptPlace place = PlaceOf(line->command);
        if (place == ScriptPlace::Anywhere) {
            RunAnywhere(*line);
        } else if (place != ScriptPlace::Box) {
            Fail(*line, "this line needs " + PlaceName(place) + ", but the message box \"" + box_->title +
                            "\" is open: box close or box answer comes first");
        } else if (RunInBox(*line, yes)) {
            break;
        }
    }
    box_.reset();
    return true;
}

bool ScriptDriver::RunInBox(const ScriptLine& line, bool& yes) {
    switch (line.command) {
        case ScriptCommand::ExpectBox:
            if (box_->title.find(Readable(line.text)) == std::string::npos &&
                box_->text.find(Readable(line.text)) == std::string::npos)
                Fail(line, "the box \"" + box_->title + "\" says \"" + box_->text + "\", not \"" + Readable(line.text) +
                               "\"");
            return false;
        case ScriptCommand::BoxWait:
            SleepMilliseconds(static_cast<int>(line.value));
            return false;
        case ScriptCommand::BoxClose:
            if (box_->question) Fail(line, "the box is a question: box answer yes|no");
            return true;
        case ScriptCommand::BoxAnswer:
            if (!box_->question) Fail(line, "the box asks nothing: box close");
            yes = line.yes;
            return true;
        default:
            return false;
    }
}

void ScriptDriver::RunHostLock(const ScriptLine& line) {
    if (line.command == ScriptCommand::HostUnlock) {
        if (hostLockLevels_ == 0) return Fail(line, "the script holds no host lock");
        GiveBackHostLock();
        --hostLockLevels_;
        return;
    }
    if (!HostLockOn()) return Fail(line, "the host takes no lock of its own: start it with --host-lock");
    if (line.command == ScriptCommand::HostTrap) return SetHostLockTrap(line.id);
    bool wanted = TakeHostLockWhenWanted(10000);
    ++hostLockLevels_;
    if (!wanted) Fail(line, "no other thread asked for the host's lock (or entered the trapped service) within 10 s");
}

void ScriptDriver::GiveBackHostLocks() {
    if (HostLockOn()) SetHostLockTrap(0);
    for (; hostLockLevels_ > 0; --hostLockLevels_) GiveBackHostLock();
}

void ScriptDriver::RunAnywhere(const ScriptLine& line) {
    std::string error;
    switch (line.command) {
        case ScriptCommand::Call:
            if (!calls_.Send(line.calls, line.wait, line.stations, error)) Fail(line, error);
            return;
        case ScriptCommand::CallWait:
            if (!calls_.WaitFiled(line.stations, error)) Fail(line, error);
            return;
        case ScriptCommand::FailStream:
            FailNextStreamCalls(static_cast<StreamService>(line.id), static_cast<int>(line.value));
            return;
        case ScriptCommand::CallReady:
            if (!CallFeed::WaitListening(error)) Fail(line, error);
            return;
        case ScriptCommand::HostTrap:
        case ScriptCommand::HostLock:
        case ScriptCommand::HostUnlock:
            RunHostLock(line);
            return;
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
