// Host-call transcripts: the expected host calls of a whole session,
// written by hand, read from tests/transcripts/. A transcript holds
//   > WORDS                    a step of the session (see the test)
//   trace: ...                 one call on the host's user-interface thread
//   trace[UDPPoling]: ...      one call on the listener's thread
//   use NAME [ARG...]          the lines of a block, $1.. replaced by ARGs
//   use[UDPPoling] NAME ...    the same, on the listener's thread
//   # ...                      a comment
// Blocks come from blocks.txt ("define NAME" ... "end"). In a line, {NAME}
// stands for a value of the moment (an address, a handle, the computer's
// name): it takes the value it first meets and must meet the same value
// wherever it stands again; inside a block it is the block's own.
#pragma once

#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace transcript {

struct Step {
    std::string words;             // what the line after "> " says
    std::size_t listenerLinesBefore;  // expected listener lines before it
};

struct Transcript {
    std::vector<Step> steps;
    std::vector<std::string> ui;        // expected lines, in order
    std::vector<std::string> listener;
    std::string error;                  // empty when it was read
};

inline constexpr char kUiPrefix[] = "trace: ";
inline constexpr char kListenerPrefix[] = "trace[UDPPoling]: ";

inline bool StartsWith(const std::string& text, const std::string& start) { return text.rfind(start, 0) == 0; }

// The words of a line: blanks separate them, double quotes keep a word
// whole (with \" and \\ inside; any other backslash stays as it is).
inline std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        std::string word;
        if (line[at] == '"') {
            for (++at; at < line.size() && line[at] != '"'; ++at) {
                if (line[at] == '\\' && at + 1 < line.size() && (line[at + 1] == '"' || line[at + 1] == '\\')) ++at;
                word += line[at];
            }
            ++at;
        } else {
            while (at < line.size() && line[at] != ' ') word += line[at++];
        }
        words.push_back(word);
    }
    return words;
}

using Blocks = std::map<std::string, std::vector<std::string>>;

inline Blocks ReadBlocks(const std::string& path, std::string& error) {
    Blocks blocks;
    std::ifstream in(path);
    if (!in) error = "cannot read " + path;
    std::string line, name;
    while (std::getline(in, line)) {
        if (StartsWith(line, "define ")) {
            name = line.substr(7);
            blocks[name];
        } else if (line == "end") {
            name.clear();
        } else if (!name.empty() && !StartsWith(line, "#")) {
            blocks[name].push_back(line);
        }
    }
    return blocks;
}

// A block's own placeholders are renamed for this use, so that each use
// binds them afresh; its arguments are put in afterwards, so theirs stay
// the transcript's.
inline std::vector<std::string> Expand(const std::vector<std::string>& body, const std::vector<std::string>& arguments,
                                       int use) {
    std::vector<std::string> lines;
    for (std::string line : body) {
        for (std::size_t at = line.find('{'); at != std::string::npos; at = line.find('{', at + 1)) {
            std::size_t close = line.find('}', at);
            if (close != std::string::npos) line.insert(close, "#" + std::to_string(use));
        }
        for (std::size_t i = arguments.size(); i-- > 0;) {
            std::string mark = "$" + std::to_string(i + 1);
            for (std::size_t at = line.find(mark); at != std::string::npos; at = line.find(mark, at))
                line.replace(at, mark.size(), arguments[i]), at += arguments[i].size();
        }
        lines.push_back(line);
    }
    return lines;
}

// A line of a transcript or block as the expected lines it stands for;
// a "use" inside a block is expanded in turn.
inline void ExpandInto(const std::string& line, const Blocks& blocks, bool onListener, int& uses,
                       std::vector<std::string>& lines, std::string& error) {
    if (!StartsWith(line, "use ") && !StartsWith(line, "use[UDPPoling] ")) {
        if (onListener && StartsWith(line, kUiPrefix))
            lines.push_back(kListenerPrefix + line.substr(sizeof kUiPrefix - 1));
        else
            lines.push_back(line);
        return;
    }
    std::vector<std::string> words = Words(line);
    auto block = blocks.find(words.size() > 1 ? words[1] : "");
    if (block == blocks.end()) {
        error += "no block: " + line + "\n";
        return;
    }
    std::vector<std::string> arguments(words.begin() + 2, words.end());
    for (const std::string& expanded : Expand(block->second, arguments, ++uses))
        ExpandInto(expanded, blocks, onListener || words[0] != "use", uses, lines, error);
}

inline Transcript Read(const std::string& path, const Blocks& blocks) {
    Transcript transcript;
    std::ifstream in(path);
    if (!in) transcript.error = "cannot read " + path;
    std::string line;
    int uses = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        if (StartsWith(line, "> ")) {
            transcript.steps.push_back({line.substr(2), transcript.listener.size()});
            continue;
        }
        std::vector<std::string> lines;
        ExpandInto(line, blocks, false, uses, lines, transcript.error);
        for (const std::string& expected : lines) {
            if (StartsWith(expected, kListenerPrefix))
                transcript.listener.push_back(expected);
            else if (StartsWith(expected, kUiPrefix))
                transcript.ui.push_back(expected);
            else
                transcript.error += "not a trace line: " + expected + "\n";
        }
    }
    return transcript;
}

// Placeholders stand for a run of characters up to a blank, a comma, a
// quote, a colon or a bracket.
inline bool IsPlaceholderEnd(char c) {
    return c == ' ' || c == ',' || c == '"' || c == ':' || c == '(' || c == ')' || c == ']';
}

inline bool Matches(const std::string& expected, const std::string& actual, std::map<std::string, std::string>& bound) {
    std::size_t e = 0, a = 0;
    std::map<std::string, std::string> taken;
    while (e < expected.size()) {
        std::size_t close = expected[e] == '{' ? expected.find('}', e) : std::string::npos;
        if (close == std::string::npos) {
            if (a >= actual.size() || actual[a] != expected[e]) return false;
            ++e, ++a;
            continue;
        }
        std::string name = expected.substr(e + 1, close - e - 1);
        std::size_t end = a;
        while (end < actual.size() && !IsPlaceholderEnd(actual[end])) ++end;
        if (end == a) return false;
        std::string value = actual.substr(a, end - a);
        auto known = bound.find(name);
        if (known != bound.end() && known->second != value) return false;
        taken[name] = value;
        e = close + 1;
        a = end;
    }
    if (a != actual.size()) return false;
    for (auto& [name, value] : taken) bound[name] = value;
    return true;
}

// Empty when the actual lines are the expected ones; otherwise where they
// part, with the lines around it.
inline std::string Compare(const std::string& what, const std::vector<std::string>& expected,
                           const std::vector<std::string>& actual, std::map<std::string, std::string>& bound) {
    std::size_t i = 0;
    while (i < expected.size() && i < actual.size() && Matches(expected[i], actual[i], bound)) ++i;
    if (i == expected.size() && i == actual.size()) return "";
    std::ostringstream report;
    report << what << ": line " << i + 1 << " differs\n";
    for (std::size_t j = i >= 3 ? i - 3 : 0; j < i; ++j) report << "    same:     " << actual[j] << "\n";
    report << "    expected: " << (i < expected.size() ? expected[i] : "(no more lines)") << "\n";
    report << "    actual:   " << (i < actual.size() ? actual[i] : "(no more lines)") << "\n";
    for (std::size_t j = i + 1; j < actual.size() && j < i + 4; ++j) report << "    then:     " << actual[j] << "\n";
    return report.str();
}

}  // namespace transcript
