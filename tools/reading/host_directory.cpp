// Finding and reading a host working directory's files.
#include "reading/host_directory.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <vector>

#include "output/exit_codes.h"
#include "output/messages.h"
#include "reading/day_log_lines.h"
#include "ini/ini_file.h"
#include "system/files.h"

namespace fs = std::filesystem;

fs::path HostPath(const fs::path& directory, std::string_view path) {
    std::string local(path);
    std::replace(local.begin(), local.end(), '\\', '/');
    fs::path named = PathFromUtf8(local);
    return named.is_absolute() || named.has_root_name() ? named : directory / named;
}

std::optional<std::string> IniValue(const fs::path& file, std::string_view section, std::string_view key) {
    std::string bytes;
    if (ReadWholeFile(file, bytes) != FileRead::Read) return std::nullopt;
    std::vector<std::string> notUnderstood;   // the doctor judges values, not the file's other lines
    return refhost::IniFile::Parse(bytes, notUnderstood).Get(section, key);
}

bool ParsePytaj(const std::string& value, long numbers[4]) {
    std::istringstream in(value);
    char comma = 0;
    for (int i = 0; i < 4; ++i) {
        if (!(in >> numbers[i])) return false;
        if (i < 3 && (!(in >> comma) || comma != ',')) return false;
    }
    return (in >> std::ws).eof();
}

bool GivenFolderExists(std::string_view given) {
    std::error_code error;
    return !given.empty() && fs::is_directory(HostPath({}, given), error);
}

bool GivenPathExists(std::string_view given) {
    std::error_code error;
    return !given.empty() && fs::exists(HostPath({}, given), error);
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

FileRead ReadWholeFile(const fs::path& path, std::string& bytes) {
    std::error_code error;
    if (fs::is_directory(path, error)) return FileRead::Directory;
    if (!fs::exists(path, error)) return FileRead::Missing;
    std::FILE* in = OpenFile(path, "rb");
    if (!in) return FileRead::Unreadable;
    bytes.clear();
    char buffer[65536];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) bytes.append(buffer, got);
    bool failed = std::ferror(in) != 0;   // a device or a folder that opened after all
    std::fclose(in);
    return failed ? FileRead::Unreadable : FileRead::Read;
}

int FailOnFile(const char* command, const fs::path& path, FileRead read) {
    Msg message = read == FileRead::Missing ? Msg::NoSuchFile : read == FileRead::Directory ? Msg::IsDirectory : Msg::CannotRead;
    // A file or folder named that does not exist is a bad argument, as an
    // option naming nothing is; one that is there but unreadable is not.
    return Fail(read == FileRead::Missing ? kBadUsage : kUnreadable, command, message, Shown(path).c_str());
}

bool LooksBinary(std::string_view bytes) { return bytes.substr(0, 65536).find('\0') != std::string_view::npos; }

std::string Shown(const fs::path& path) {
    fs::path shown = path;
    return Utf8Of(shown.make_preferred());
}
