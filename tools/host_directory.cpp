// Finding and reading a host working directory's files.
#include "host_directory.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

#include "day_log_lines.h"

namespace fs = std::filesystem;

static std::string Trimmed(std::string_view text) {
    std::size_t start = text.find_first_not_of(" \t\r"), stop = text.find_last_not_of(" \t\r");
    return start == std::string_view::npos ? std::string() : std::string(text.substr(start, stop - start + 1));
}

static bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

fs::path HostPath(const fs::path& directory, std::string_view path) {
    std::string local(path);
    std::replace(local.begin(), local.end(), '\\', '/');
    fs::path named(local);
    return named.is_absolute() || named.has_root_name() ? named : directory / named;
}

std::optional<std::string> IniValue(const fs::path& file, std::string_view section, std::string_view key) {
    std::ifstream in(file, std::ios::binary);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        std::string text = Trimmed(line);
        if (text.empty() || text[0] == ';' || text[0] == '#') continue;
        if (text.front() == '[' && text.back() == ']') {
            inSection = SameName(Trimmed(std::string_view(text).substr(1, text.size() - 2)), section);
            continue;
        }
        std::size_t equals = text.find('=');
        if (inSection && equals != std::string::npos && SameName(Trimmed(text.substr(0, equals)), key))
            return Trimmed(text.substr(equals + 1));
    }
    return std::nullopt;
}

fs::path DayLogFor(const std::string& fileOrDirectory, const std::string& date) {
    fs::path given = fileOrDirectory.empty() ? fs::path(".") : HostPath({}, fileOrDirectory);
    std::error_code error;
    if (!fs::is_directory(given, error)) return given;
    // A host directory, or the log folder itself; where there is neither
    // yet, the path the plug-in will write.
    fs::path logs = HostPath(given, "LOGS\\TELEFONY");
    fs::path inGiven = given / DayLogName(date);
    if (!fs::is_directory(logs, error) && fs::exists(inGiven, error)) return inGiven;
    return logs / DayLogName(date);
}

bool ReadWholeFile(const fs::path& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}
