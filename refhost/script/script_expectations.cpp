// Script expectations: what the window on top, the clipboard, the
// suggestion, the viewer and the files hold now. Display texts are
// compared as a person reads them (markup removed); input texts, the
// clipboard and file contents byte for byte in the host's code page.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "script/script_driver.h"
#include "services/host_screen.h"
#include "text/mazovia_utf8.h"
#include "window/window_keys.h"

namespace refhost {
namespace {

using Failure = std::optional<std::string>;

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

std::string Quote(const std::string& mazovia) {
    std::string quoted(1, '"');
    quoted += MazoviaToUtf8(mazovia);
    quoted += '"';
    return quoted;
}

std::string RectangleText(const Rectangle& r) {
    return std::to_string(r.x) + " " + std::to_string(r.y) + " " + std::to_string(r.width) + " " +
           std::to_string(r.height);
}

bool SameRectangle(const Rectangle& a, const Rectangle& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::string KeysText(const std::vector<uint16_t>& keys) {
    std::string text;
    for (uint16_t key : keys) {
        if (!text.empty()) text += ' ';
        text += KeyName(key);
    }
    return text.empty() ? "none" : text;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(HostPath(path), std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

// Expectations about the window on top.
Failure CheckWindow(const ScriptLine& line, const RunningWindow& window) {
    uint16_t id = static_cast<uint16_t>(line.id);
    switch (line.command) {
        case ScriptCommand::ExpectField: {
            std::optional<std::string> text = window.FieldText(id);
            if (!text) return "the window has no display field " + Hex(id);
            if (Readable(*text) != MazoviaToUtf8(line.text))
                return "expected field " + Hex(id) + " to show " + Quote(line.text) + "; it shows \"" + Readable(*text) + "\"";
            return std::nullopt;
        }
        case ScriptCommand::ExpectInput: {
            std::optional<std::string> text = window.InputText(id);
            if (!text) return "the window has no input " + Hex(id);
            if (*text != line.text) return "expected input " + Hex(id) + " to hold " + Quote(line.text) + "; it holds " + Quote(*text);
            return std::nullopt;
        }
        case ScriptCommand::ExpectChoice: {
            std::optional<uint16_t> choice = window.RadioChoice(id);
            if (!choice) return "the window has no radio group " + Hex(id);
            if (*choice != line.value)
                return "expected choice " + std::to_string(line.value) + " in " + Hex(id) + "; it is " + std::to_string(*choice);
            return std::nullopt;
        }
        case ScriptCommand::ExpectCheck: {
            std::optional<bool> checked = window.CheckBoxState(id);
            if (!checked) return "the window has no check box " + KeyName(id);
            if (*checked != line.yes)
                return "expected check box " + KeyName(id) + (line.yes ? " on" : " off") + "; it is " + (*checked ? "on" : "off");
            return std::nullopt;
        }
        case ScriptCommand::ExpectTimer:
            if (window.timerArmed() != line.yes)
                return std::string("expected the timer ") + (line.yes ? "armed" : "stopped") + "; it is " +
                       (window.timerArmed() ? "armed" : "stopped");
            return std::nullopt;
        case ScriptCommand::ExpectRect: {
            std::optional<Rectangle> rectangle = window.ControlRectangle(id);
            if (!rectangle) return "the window has no control " + Hex(id);
            if (!SameRectangle(*rectangle, line.rectangle))
                return "expected control " + Hex(id) + " at " + RectangleText(line.rectangle) + "; it is at " + RectangleText(*rectangle);
            return std::nullopt;
        }
        case ScriptCommand::ExpectWindowRect:
            if (!SameRectangle(window.WindowRectangle(), line.rectangle))
                return "expected the window at " + RectangleText(line.rectangle) + "; it is at " +
                       RectangleText(window.WindowRectangle());
            return std::nullopt;
        default:
            return std::nullopt;
    }
}

bool IsAboutTheWindow(ScriptCommand command) {
    switch (command) {
        case ScriptCommand::ExpectField:
        case ScriptCommand::ExpectInput:
        case ScriptCommand::ExpectChoice:
        case ScriptCommand::ExpectCheck:
        case ScriptCommand::ExpectTimer:
        case ScriptCommand::ExpectRect:
        case ScriptCommand::ExpectWindowRect:
            return true;
        default:
            return false;
    }
}

Failure CheckFile(const ScriptLine& line) {
    bool exists = std::filesystem::exists(HostPath(line.text));
    switch (line.command) {
        case ScriptCommand::ExpectFileExists:
            return exists ? Failure() : "expected the file " + Quote(line.text) + "; it does not exist";
        case ScriptCommand::ExpectFileMissing:
            return exists ? "expected no file " + Quote(line.text) + "; it exists" : Failure();
        default: {
            std::optional<std::string> content = ReadWholeFile(line.text);
            if (!content) return "the file " + Quote(line.text) + " cannot be read";
            bool found = content->find(line.text2) != std::string::npos;
            bool wanted = line.command == ScriptCommand::ExpectFileContains;
            if (found == wanted) return std::nullopt;
            return "expected the file " + Quote(line.text) + (wanted ? " to contain " : " not to contain ") + Quote(line.text2);
        }
    }
}

}  // namespace

std::optional<std::string> CheckExpectation(const ScriptLine& line) {
    RunningWindow* window = CurrentWindow();
    if (IsAboutTheWindow(line.command)) {
        if (!window) return "no window is open";
        return CheckWindow(line, *window);
    }
    switch (line.command) {
        case ScriptCommand::ExpectWindow:
            if (!window) return "expected window " + WindowIdText(static_cast<uint16_t>(line.id)) + "; no window is open";
            if (window->id() != line.id)
                return "expected window " + WindowIdText(static_cast<uint16_t>(line.id)) + "; window " +
                       WindowIdText(window->id()) + " is on top";
            return std::nullopt;
        case ScriptCommand::ExpectNoWindow:
            if (window) return "expected no window; window " + WindowIdText(window->id()) + " is open";
            return std::nullopt;
        case ScriptCommand::ExpectClosed: {
            std::optional<uint16_t> closedBy = LastClosingId();
            if (!closedBy) return "no window has closed yet";
            if (*closedBy != line.id) return "expected the window closed with " + Hex(line.id) + "; it closed with " + Hex(*closedBy);
            return std::nullopt;
        }
        case ScriptCommand::ExpectClipboard:
            if (ClipboardText() != line.text)
                return "expected the clipboard to hold " + Quote(line.text) + "; it holds " + Quote(ClipboardText());
            return std::nullopt;
        case ScriptCommand::ExpectSuggestion:
            if (SuggestionText() != line.text)
                return "expected the suggestion " + Quote(line.text) + "; it is " + Quote(SuggestionText());
            return std::nullopt;
        case ScriptCommand::ExpectKeys:
            if (PushedKeys() != line.keys)
                return "expected the keys " + KeysText(line.keys) + "; the host was given " + KeysText(PushedKeys());
            return std::nullopt;
        case ScriptCommand::ExpectViewer:
            if (ViewerContent().find(line.text) == std::string::npos)
                return "expected the viewer to show " + Quote(line.text) + "; it shows " + Quote(ViewerContent());
            return std::nullopt;
        case ScriptCommand::ExpectFileExists:
        case ScriptCommand::ExpectFileMissing:
        case ScriptCommand::ExpectFileContains:
        case ScriptCommand::ExpectFileLacks:
            return CheckFile(line);
        default:
            return std::nullopt;
    }
}

}  // namespace refhost
