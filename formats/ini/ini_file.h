// A plain INI file as the host keeps its settings: "[Section]" lines,
// "Key=Value" lines, comments starting with ';' or '#'. Sections and keys
// are found without regard to case. Lines it does not understand are kept
// as they are and reported, never fatal.
#pragma once

#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace refhost {

class IniFile {
public:
    // Reads the file; a missing file is an empty one. Each line that is no
    // section, key or comment adds a sentence to problems.
    static IniFile Read(const std::string& path, std::vector<std::string>& problems);
    // The same for a file's bytes read by the caller (the tool opens files
    // by names in any letters, which a narrow path cannot carry on Windows).
    static IniFile Parse(std::string_view bytes, std::vector<std::string>& problems);

    std::optional<std::string> Get(std::string_view section, std::string_view key) const;
    // Sets the key's value, adding the key (and its section) when missing.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Writes a sibling file and renames it over the old one, so that a
    // failed write leaves the old file whole. False with a reason on failure.
    bool Write(const std::string& path, std::string& error) const;

private:
    static IniFile Parse(std::istream& in, std::vector<std::string>& problems);
    std::vector<std::string> lines_;
};

}  // namespace refhost
