// The host's INI files: read, look up, change and write back, keeping
// every line the host does not touch.
#include "ini/ini_file.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "text/line_end.h"

namespace refhost {

static std::string_view Trimmed(std::string_view text) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    return text;
}

static bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// The name of a "[Section]" line, or nothing.
static std::optional<std::string_view> SectionOf(std::string_view line) {
    line = Trimmed(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') return std::nullopt;
    return Trimmed(line.substr(1, line.size() - 2));
}

static bool IsComment(std::string_view line) {
    line = Trimmed(line);
    return line.empty() || line.front() == ';' || line.front() == '#';
}

// Splits a "Key=Value" line; false when it is none.
static bool SplitKey(std::string_view line, std::string_view& key, std::string_view& value) {
    std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) return false;
    key = Trimmed(line.substr(0, equals));
    value = Trimmed(line.substr(equals + 1));
    return !key.empty();
}

IniFile IniFile::Read(const std::string& path, std::vector<std::string>& problems) {
    std::ifstream in(path, std::ios::binary);
    return Parse(in, problems);
}

IniFile IniFile::Parse(std::string_view bytes, std::vector<std::string>& problems) {
    std::istringstream in{std::string(bytes)};
    return Parse(in, problems);
}

IniFile IniFile::Parse(std::istream& in, std::vector<std::string>& problems) {
    IniFile file;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string_view key, value;
        if (!IsComment(line) && !SectionOf(line) && !SplitKey(line, key, value))
            problems.push_back("line " + std::to_string(number) + " is neither a [section] nor a key=value: \"" +
                               line + "\"; it is ignored");
        file.lines_.push_back(std::move(line));
    }
    return file;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view key) const {
    bool inSection = false;
    for (const std::string& line : lines_) {
        if (auto name = SectionOf(line)) {
            inSection = SameName(*name, section);
            continue;
        }
        std::string_view lineKey, value;
        if (inSection && !IsComment(line) && SplitKey(line, lineKey, value) && SameName(lineKey, key))
            return std::string(value);
    }
    return std::nullopt;
}

void IniFile::Set(std::string_view section, std::string_view key, std::string_view value) {
    std::string entry = std::string(key) + "=" + std::string(value);
    bool inSection = false;
    std::size_t sectionEnd = lines_.size();
    bool sectionFound = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (auto name = SectionOf(lines_[i])) {
            if (inSection) sectionEnd = i;
            inSection = SameName(*name, section);
            sectionFound = sectionFound || inSection;
            continue;
        }
        std::string_view lineKey, lineValue;
        if (inSection && !IsComment(lines_[i]) && SplitKey(lines_[i], lineKey, lineValue) &&
            SameName(lineKey, key)) {
            lines_[i] = entry;
            return;
        }
    }
    if (!sectionFound) {
        lines_.push_back(std::string("[").append(section).append("]"));
        lines_.push_back(entry);
        return;
    }
    // After the section's last key, before the blank lines that end it.
    while (sectionEnd > 0 && Trimmed(lines_[sectionEnd - 1]).empty()) --sectionEnd;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(sectionEnd), entry);
}

bool IniFile::Write(const std::string& path, std::string& error) const {
    std::string temporary = path + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        for (const std::string& line : lines_) out << line << kLineEnd;
        out.flush();
        if (!out) {
            error = "cannot write " + temporary;
            std::remove(temporary.c_str());
            return false;
        }
    }
    std::error_code code;
    std::filesystem::rename(temporary, path, code);
    if (code) {
        error = "cannot replace " + path + ": " + code.message();
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace refhost
