// The reference host's scripts: what a user does at the host, one line at
// a time, with expectations about what the host then shows. A script is
// parsed whole before it runs, so that a mistake in it stops nothing
// half-way. The format is described in docs/reference-host.md.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plumbing/host.h"
#include "script/script_calls.h"
#include "window/window_runner.h"

namespace refhost {

enum class ScriptCommand {
    // Anywhere.
    Answer, ClockSet, ClockAdvance, Print, Call, CallWait, CallReady, FailStream, HostTrap, HostLock, HostUnlock,
    ExpectWindow, ExpectNoWindow, ExpectClosed, ExpectField, ExpectInput, ExpectChoice, ExpectCheck,
    ExpectTimer, ExpectRect, ExpectWindowRect, ExpectClipboard, ExpectSuggestion, ExpectKeys,
    ExpectViewer, ExpectFileExists, ExpectFileMissing, ExpectFileContains, ExpectFileLacks,
    // On the host's main screen, with no window open.
    Action, TableKey, SearchOpen,
    // In the window on top.
    WindowKey, WindowType, WindowTick, WindowWait, SearchKey, SearchType,
    // In the file chooser.
    ChooseFile, CancelFile,
    // In a message box, question or notice held open by the script.
    ExpectBox, BoxWait, BoxClose, BoxAnswer,
};

enum class ScriptPlace { Anywhere, MainScreen, Window, FileChooser, Box };
ScriptPlace PlaceOf(ScriptCommand command);

struct ScriptLine {
    std::string location;          // "name:line", for messages
    std::string source;            // the line as written, without its comment
    ScriptCommand command;
    uint32_t id = 0;               // a control or window id, a key, an action's ordinal
    long long value = 0;           // milliseconds, seconds, an index, a column, an argument
    long long value2 = 0;          // a row
    bool yes = false;              // yes, on
    std::string text;              // Mazovia: a typed text, an expected text, a path
    std::string text2;             // Mazovia: the text a file should contain
    std::vector<uint16_t> keys;
    CallsToSend calls;             // a call line's datagrams
    int stations = 1;              // how many stations file each call
    bool wait = true;              // false: the call line does not wait for the filing
    Rectangle rectangle{};
    CivilTime when{};
};

struct Script {
    std::string name;
    std::vector<ScriptLine> lines;
};

// Texts in quotes are UTF-8 and become Mazovia; "\\", "\"", "\n", "\t" and
// "\xHH" (a Mazovia byte as it is) are the escapes. The error names the
// script and the line.
std::optional<Script> ParseScript(std::string_view text, std::string_view name, std::string& error);

}  // namespace refhost
