// Finding and reading a host working directory's files.
#include "reading/host_directory.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <vector>

#include "reading/day_log_lines.h"
#include "ini/ini_file.h"

namespace fs = std::filesystem;

fs::path HostPath(const fs::path& directory, std::string_view path) {
    std::string local(path);
    std::replace(local.begin(), local.end(), '\\', '/');
    fs::path named(local);
    return named.is_absolute() || named.has_root_name() ? named : directory / named;
}

std::optional<std::string> IniValue(const fs::path& file, std::string_view section, std::string_view key) {
    std::vector<std::string> notUnderstood;   // the doctor judges values, not the file's other lines
    return refhost::IniFile::Read(file.string(), notUnderstood).Get(section, key);
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
