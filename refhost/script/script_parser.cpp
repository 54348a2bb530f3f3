// Parsing scripts: each line is split into words and quoted texts, then
// read by the parser of its first word. Every message says what the line
// should have held.
#include <cctype>
#include <cstdlib>
#include <initializer_list>

#include "script/script.h"
#include "text/mazovia_utf8.h"
#include "window/window_keys.h"

namespace refhost {
namespace {

struct Token {
    std::string text;  // Mazovia when quoted, as written otherwise
    bool quoted = false;
};

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

// Reads the quoted text that starts after the opening quote at i; i ends
// after the closing quote.
bool ReadQuoted(std::string_view line, std::size_t& i, std::string& mazovia, std::string& problem) {
    std::string utf8;
    auto flush = [&] {
        mazovia += Utf8ToMazovia(utf8);
        utf8.clear();
    };
    while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
            flush();
            return true;
        }
        if (c != '\\') {
            utf8 += c;
            continue;
        }
        if (i >= line.size()) break;
        char escape = line[i++];
        if (escape == '\\' || escape == '"') utf8 += escape;
        else if (escape == 'n') utf8 += '\n';
        else if (escape == 't') utf8 += '\t';
        else if (escape == 'x' && i + 1 < line.size() && HexValue(line[i]) >= 0 && HexValue(line[i + 1]) >= 0) {
            flush();
            mazovia += static_cast<char>(HexValue(line[i]) * 16 + HexValue(line[i + 1]));
            i += 2;
        } else {
            problem = std::string("unknown escape \\") + escape + " in a quoted text (use \\\\ for a backslash)";
            return false;
        }
    }
    problem = "a quoted text has no closing quote";
    return false;
}

// Splits a line into tokens; a '#' outside quotes starts a comment.
bool Tokenize(std::string_view line, std::vector<Token>& tokens, std::string& problem) {
    std::size_t i = 0;
    while (i < line.size()) {
        char c = line[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '#') {
            break;
        } else if (c == '"') {
            Token token{"", true};
            ++i;
            if (!ReadQuoted(line, i, token.text, problem)) return false;
            tokens.push_back(std::move(token));
        } else {
            std::size_t start = i;
            while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])) && line[i] != '"') ++i;
            tokens.push_back({std::string(line.substr(start, i - start)), false});
        }
    }
    return true;
}

bool ParseInteger(const std::string& text, long long& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    value = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    return end && *end == '\0';
}

// Reads the words of one line into its ScriptLine.
class LineParser {
public:
    LineParser(std::vector<Token> tokens, ScriptLine& line) : tokens_(std::move(tokens)), line_(line) {}

    bool Parse(std::string& problem);

private:
    bool ParseVerb();
    bool ParseClock();
    bool ParseAction();
    bool ParseTable();
    bool ParseSearch();
    bool ParseWindow();
    bool ParseExpect();
    bool ParseExpectFile();
    bool ParseExpectRect();
    bool ParseCall();
    bool ParseCallOptions();
    bool ParseBox();
    bool ParseHost();
    bool ParseFail();

    bool Fail(std::string problem) {
        problem_ = std::move(problem);
        return false;
    }
    bool AtEnd() const { return at_ >= tokens_.size(); }
    bool Take(std::string_view word) {
        if (AtEnd() || tokens_[at_].quoted || tokens_[at_].text != word) return false;
        ++at_;
        return true;
    }
    bool Word(std::string& word, const std::string& what);
    bool Number(long long& value, const std::string& what);
    bool Id(uint32_t& id, const std::string& what);
    bool Key(uint16_t& key, const std::string& what);
    bool Quoted(std::string& text, const std::string& what);
    bool Switch(const char* on, const char* off, bool& value, const std::string& what);
    bool End(ScriptCommand command);

    std::vector<Token> tokens_;
    ScriptLine& line_;
    std::size_t at_ = 0;
    std::string problem_;
};

bool LineParser::Word(std::string& word, const std::string& what) {
    if (AtEnd() || tokens_[at_].quoted) return Fail(what);
    word = tokens_[at_++].text;
    return true;
}

bool LineParser::Number(long long& value, const std::string& what) {
    std::string word;
    if (!Word(word, what) || !ParseInteger(word, value)) return Fail(what);
    return true;
}

bool LineParser::Id(uint32_t& id, const std::string& what) {
    long long value = 0;
    if (!Number(value, what) || value < 0 || value > 0xFFFF) return Fail(what);
    id = static_cast<uint32_t>(value);
    return true;
}

bool LineParser::Key(uint16_t& key, const std::string& what) {
    std::string word;
    if (!Word(word, what)) return false;
    std::optional<uint16_t> code = KeyFromName(word);
    if (!code) return Fail(what + "; '" + word + "' is no key");
    key = *code;
    return true;
}

bool LineParser::Quoted(std::string& text, const std::string& what) {
    if (AtEnd() || !tokens_[at_].quoted) return Fail(what);
    text = tokens_[at_++].text;
    return true;
}

bool LineParser::Switch(const char* on, const char* off, bool& value, const std::string& what) {
    if (Take(on)) value = true;
    else if (Take(off)) value = false;
    else return Fail(what);
    return true;
}

bool LineParser::End(ScriptCommand command) {
    if (!AtEnd()) return Fail("unexpected '" + tokens_[at_].text + "' at the end of the line");
    line_.command = command;
    return true;
}

bool LineParser::Parse(std::string& problem) {
    if (!ParseVerb()) {
        problem = problem_;
        return false;
    }
    return true;
}

bool LineParser::ParseVerb() {
    std::string verb;
    if (!Word(verb, "a line starts with a command word")) return false;
    if (verb == "answer") return Switch("yes", "no", line_.yes, "answer takes yes or no") && End(ScriptCommand::Answer);
    if (verb == "print") return Quoted(line_.text, "print takes a quoted text") && End(ScriptCommand::Print);
    if (verb == "clock") return ParseClock();
    if (verb == "action") return ParseAction();
    if (verb == "table") return ParseTable();
    if (verb == "search") return ParseSearch();
    if (verb == "window") return ParseWindow();
    if (verb == "expect") return ParseExpect();
    if (verb == "call") return ParseCall();
    if (verb == "box") return ParseBox();
    if (verb == "host") return ParseHost();
    if (verb == "fail") return ParseFail();
    return Fail("unknown command '" + verb + "'");
}

bool LineParser::ParseClock() {
    if (Take("set")) {
        std::string text;
        if (!Quoted(text, "clock set takes a quoted moment \"YYYY-MM-DD HH:MM:SS\"")) return false;
        if (!ParseCivilTime(text, line_.when)) return Fail("clock set: \"" + text + "\" is no moment YYYY-MM-DD HH:MM:SS");
        return End(ScriptCommand::ClockSet);
    }
    if (Take("advance"))
        return Number(line_.value, "clock advance takes a number of seconds") && End(ScriptCommand::ClockAdvance);
    return Fail("clock takes set \"YYYY-MM-DD HH:MM:SS\" or advance SECONDS");
}

bool LineParser::ParseAction() {
    line_.id = 30010;
    if (AtEnd()) return End(ScriptCommand::Action);
    if (!Id(line_.id, "action takes the plug-in's export 30010 or 30009")) return false;
    if (line_.id != 30010 && line_.id != 30009) return Fail("action takes the plug-in's export 30010 or 30009");
    if (!AtEnd() && !Number(line_.value, "action 30010 takes one number as its argument")) return false;
    return End(ScriptCommand::Action);
}

bool LineParser::ParseTable() {
    uint16_t key = 0;
    if (!Take("key")) return Fail("table takes key KEY [column N] [row N]");
    if (!Key(key, "table key takes a key: Ctrl-F, Ctrl-G, Z, 0x0007")) return false;
    line_.id = key;
    line_.value = 1;
    line_.value2 = 1;
    while (!AtEnd()) {
        if (Take("column")) {
            if (!Number(line_.value, "column takes a number")) return false;
        } else if (Take("row")) {
            if (!Number(line_.value2, "row takes a number")) return false;
        } else {
            return Fail("table key KEY takes column N and row N after it");
        }
    }
    return End(ScriptCommand::TableKey);
}

bool LineParser::ParseSearch() {
    uint16_t key = 0;
    if (Take("open")) return End(ScriptCommand::SearchOpen);
    if (Take("key")) {
        if (!Key(key, "search key takes a key: F1, F5, ESC")) return false;
        line_.id = key;
        return End(ScriptCommand::SearchKey);
    }
    if (Take("type"))
        return Id(line_.id, "search type takes an input id and a quoted text") &&
               Quoted(line_.text, "search type takes an input id and a quoted text") && End(ScriptCommand::SearchType);
    return Fail("search takes open, key KEY or type ID \"TEXT\"");
}

bool LineParser::ParseWindow() {
    uint16_t key = 0;
    if (Take("key")) {
        if (!Key(key, "window key takes a key: F5, ESC, Ctrl-P, W, 0x3F00")) return false;
        line_.id = key;
        return End(ScriptCommand::WindowKey);
    }
    if (Take("type"))
        return Id(line_.id, "window type takes an input id and a quoted text") &&
               Quoted(line_.text, "window type takes an input id and a quoted text") && End(ScriptCommand::WindowType);
    if (Take("tick")) return End(ScriptCommand::WindowTick);
    if (Take("wait")) {
        if (!Number(line_.value, "window wait takes milliseconds") || line_.value < 0 || line_.value > 86400000)
            return Fail("window wait takes milliseconds, at most a day");
        return End(ScriptCommand::WindowWait);
    }
    if (Take("choose-file"))
        return Quoted(line_.text, "window choose-file takes a quoted path") && End(ScriptCommand::ChooseFile);
    if (Take("cancel-file")) return End(ScriptCommand::CancelFile);
    return Fail("window takes key, type, tick, wait, choose-file or cancel-file");
}

bool LineParser::ParseCall() {
    const char* usage = "call takes \"PHONE\" \"TARGET\" \"TEXT\" [count N] [to ADDRESS] [port P] [stations N] "
                        "[nowait], wait [stations N] or ready";
    if (Take("wait")) return ParseCallOptions() && End(ScriptCommand::CallWait);
    if (Take("ready")) return End(ScriptCommand::CallReady);
    CallsToSend& calls = line_.calls;
    if (!Quoted(calls.phone, usage) || !Quoted(calls.target, usage) || !Quoted(calls.text, usage)) return false;
    return ParseCallOptions() && End(ScriptCommand::Call);
}

bool LineParser::ParseCallOptions() {
    long long number = 0;
    while (!AtEnd()) {
        if (Take("count")) {
            if (!Number(number, "count takes a number of calls") || number < 1 || number > 100000)
                return Fail("count takes a number of calls, 1 to 100000");
            line_.calls.count = static_cast<int>(number);
        } else if (Take("port")) {
            if (!Number(number, "port takes a UDP port") || number < 1 || number > 65535)
                return Fail("port takes a UDP port, 1 to 65535");
            line_.calls.port = static_cast<int>(number);
        } else if (Take("stations")) {
            if (!Number(number, "stations takes a number") || number < 1 || number > 99)
                return Fail("stations takes the number of stations that file each call, 1 to 99");
            line_.stations = static_cast<int>(number);
        } else if (Take("to")) {
            if (!Word(line_.calls.address, "to takes an IPv4 address")) return false;
        } else if (Take("nowait")) {
            line_.wait = false;
        } else {
            return Fail("unexpected '" + tokens_[at_].text + "': a call line takes count, to, port, stations, nowait");
        }
    }
    return true;
}

bool LineParser::ParseBox() {
    if (Take("close")) return End(ScriptCommand::BoxClose);
    if (Take("answer")) return Switch("yes", "no", line_.yes, "box answer takes yes or no") && End(ScriptCommand::BoxAnswer);
    if (Take("wait")) {
        if (!Number(line_.value, "box wait takes milliseconds") || line_.value < 0 || line_.value > 600000)
            return Fail("box wait takes milliseconds, at most ten minutes");
        return End(ScriptCommand::BoxWait);
    }
    return Fail("box takes wait MS, close or answer yes|no");
}

bool LineParser::ParseFail() {
    const char* usage = "fail takes stream open|read|write|close [COUNT]";
    if (!Take("stream")) return Fail(usage);
    const char* names[] = {"open", "read", "write", "close"};
    line_.id = 4;
    for (uint32_t service = 0; service < 4; ++service)
        if (Take(names[service])) line_.id = service;
    if (line_.id == 4) return Fail(usage);
    line_.value = 1;
    if (!AtEnd() && (!Number(line_.value, usage) || line_.value < 0)) return Fail(usage);
    return End(ScriptCommand::FailStream);
}

bool LineParser::ParseHost() {
    if (Take("trap"))
        return Id(line_.id, "host trap takes the ordinal of a service") && End(ScriptCommand::HostTrap);
    if (Take("lock")) return End(ScriptCommand::HostLock);
    if (Take("unlock")) return End(ScriptCommand::HostUnlock);
    return Fail("host takes trap SERVICE, lock or unlock");
}

bool LineParser::ParseExpectFile() {
    if (!Quoted(line_.text, "expect file takes a quoted path")) return false;
    if (Take("exists")) return End(ScriptCommand::ExpectFileExists);
    if (Take("missing")) return End(ScriptCommand::ExpectFileMissing);
    if (Take("contains"))
        return Quoted(line_.text2, "contains takes a quoted text") && End(ScriptCommand::ExpectFileContains);
    if (Take("lacks")) return Quoted(line_.text2, "lacks takes a quoted text") && End(ScriptCommand::ExpectFileLacks);
    return Fail("expect file \"PATH\" takes exists, missing, contains \"TEXT\" or lacks \"TEXT\"");
}

bool LineParser::ParseExpectRect() {
    bool ofWindow = Take("window");
    if (!ofWindow && !Id(line_.id, "expect rect takes window or a control id, then x y width height")) return false;
    long long values[4] = {};
    for (long long& value : values)
        if (!Number(value, "expect rect takes four numbers: x y width height")) return false;
    line_.rectangle = {static_cast<int16_t>(values[0]), static_cast<int16_t>(values[1]),
                       static_cast<int16_t>(values[2]), static_cast<int16_t>(values[3])};
    return End(ofWindow ? ScriptCommand::ExpectWindowRect : ScriptCommand::ExpectRect);
}

bool LineParser::ParseExpect() {
    const std::string quoted = "a quoted text";
    uint16_t key = 0;
    if (Take("window")) {
        if (Take("none")) return End(ScriptCommand::ExpectNoWindow);
        return Id(line_.id, "expect window takes a window id or none") && End(ScriptCommand::ExpectWindow);
    }
    if (Take("closed")) return Id(line_.id, "expect closed takes a control id") && End(ScriptCommand::ExpectClosed);
    if (Take("field"))
        return Id(line_.id, "expect field takes a field id (0: the extra line)") &&
               Quoted(line_.text, "expect field ID takes " + quoted) && End(ScriptCommand::ExpectField);
    if (Take("input"))
        return Id(line_.id, "expect input takes an input id") &&
               Quoted(line_.text, "expect input ID takes " + quoted) && End(ScriptCommand::ExpectInput);
    if (Take("choice"))
        return Id(line_.id, "expect choice takes a radio group's id and an index") &&
               Number(line_.value, "expect choice ID takes the chosen index") && End(ScriptCommand::ExpectChoice);
    if (Take("check")) {
        if (!Key(key, "expect check takes a check box's id or hotkey, then on or off")) return false;
        line_.id = key;
        return Switch("on", "off", line_.yes, "expect check takes on or off") && End(ScriptCommand::ExpectCheck);
    }
    if (Take("timer")) return Switch("on", "off", line_.yes, "expect timer takes on or off") && End(ScriptCommand::ExpectTimer);
    if (Take("rect")) return ParseExpectRect();
    if (Take("clipboard")) return Quoted(line_.text, "expect clipboard takes " + quoted) && End(ScriptCommand::ExpectClipboard);
    if (Take("suggestion"))
        return Quoted(line_.text, "expect suggestion takes " + quoted) && End(ScriptCommand::ExpectSuggestion);
    if (Take("viewer")) return Quoted(line_.text, "expect viewer takes " + quoted) && End(ScriptCommand::ExpectViewer);
    if (Take("keys")) {
        while (!AtEnd()) {
            if (!Key(key, "expect keys takes keys")) return false;
            line_.keys.push_back(key);
        }
        return End(ScriptCommand::ExpectKeys);
    }
    if (Take("file")) return ParseExpectFile();
    if (Take("box")) return Quoted(line_.text, "expect box takes " + quoted) && End(ScriptCommand::ExpectBox);
    return Fail("expect takes window, closed, field, input, choice, check, timer, rect, clipboard, suggestion, keys, "
                "viewer, file or box");
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front()))) line.remove_prefix(1);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back()))) line.remove_suffix(1);
    return line;
}

}  // namespace

ScriptPlace PlaceOf(ScriptCommand command) {
    switch (command) {
        case ScriptCommand::Action:
        case ScriptCommand::TableKey:
        case ScriptCommand::SearchOpen:
            return ScriptPlace::MainScreen;
        case ScriptCommand::WindowKey:
        case ScriptCommand::WindowType:
        case ScriptCommand::WindowTick:
        case ScriptCommand::WindowWait:
        case ScriptCommand::SearchKey:
        case ScriptCommand::SearchType:
            return ScriptPlace::Window;
        case ScriptCommand::ChooseFile:
        case ScriptCommand::CancelFile:
            return ScriptPlace::FileChooser;
        case ScriptCommand::ExpectBox:
        case ScriptCommand::BoxWait:
        case ScriptCommand::BoxClose:
        case ScriptCommand::BoxAnswer:
            return ScriptPlace::Box;
        default:
            return ScriptPlace::Anywhere;
    }
}

std::optional<Script> ParseScript(std::string_view text, std::string_view name, std::string& error) {
    Script script{std::string(name), {}};
    int number = 0;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        ++number;
        ScriptLine line{};
        line.location = script.name + ":" + std::to_string(number);
        line.source = std::string(Trimmed(raw));
        std::vector<Token> tokens;
        std::string problem;
        if (!Tokenize(raw, tokens, problem)) {
            error = line.location + ": " + problem;
            return std::nullopt;
        }
        if (tokens.empty()) continue;
        if (!LineParser(std::move(tokens), line).Parse(problem)) {
            error = line.location + ": " + problem;
            return std::nullopt;
        }
        script.lines.push_back(std::move(line));
    }
    return script;
}

}  // namespace refhost
