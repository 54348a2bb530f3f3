// Reading a directory for the file chooser.
#include "screen/file_listing.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "plumbing/host.h"
#include "terminal/terminal_text.h"

namespace refhost::screen {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool MatchFrom(std::string_view name, std::string_view mask) {
    if (mask.empty()) return name.empty();
    if (mask[0] == '*') {
        for (std::size_t skip = 0; skip <= name.size(); ++skip)
            if (MatchFrom(name.substr(skip), mask.substr(1))) return true;
        return false;
    }
    if (name.empty()) return false;
    bool same = mask[0] == '?' || std::tolower(static_cast<unsigned char>(mask[0])) ==
                                      std::tolower(static_cast<unsigned char>(name[0]));
    return same && MatchFrom(name.substr(1), mask.substr(1));
}

}  // namespace

std::string DirectoryPart(std::string_view hostPath) {
    std::size_t i = hostPath.size();
    while (i > 0 && !IsSeparator(hostPath[i - 1])) --i;
    return std::string(hostPath.substr(0, i));
}

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask.empty() || mask == "*.*" || mask == "*") return true;
    return MatchFrom(name, mask);
}

std::vector<ListedEntry> ListDirectory(std::string_view hostDirectory, std::string_view mask) {
    std::vector<ListedEntry> directories;
    std::vector<ListedEntry> files;
    std::string path = hostDirectory.empty() ? std::string(".") : HostPath(hostDirectory);
    std::error_code error;
    for (std::filesystem::directory_iterator it(path, error), end; !error && it != end; it.increment(error)) {
        std::string name;
        if (!TypedToMazovia(it->path().filename().string(), name)) continue;
        std::error_code kindError;
        if (it->is_directory(kindError))
            directories.push_back({name, true});
        else if (MatchesMask(name, mask))
            files.push_back({name, false});
    }
    auto byName = [](const ListedEntry& a, const ListedEntry& b) { return a.name < b.name; };
    std::sort(directories.begin(), directories.end(), byName);
    std::sort(files.begin(), files.end(), byName);
    std::vector<ListedEntry> entries{{"..", true}};
    entries.insert(entries.end(), directories.begin(), directories.end());
    entries.insert(entries.end(), files.begin(), files.end());
    return entries;
}

std::string EnterDirectory(std::string_view hostDirectory, std::string_view name) {
    std::string directory(hostDirectory);
    if (!directory.empty() && !IsSeparator(directory.back())) directory += '\\';
    if (name != "..") return directory + std::string(name) + "\\";
    bool climbsAlready = directory.empty() || directory == "..\\" ||
                         (directory.size() >= 3 && directory.compare(directory.size() - 3, 3, "..\\") == 0);
    if (climbsAlready) return directory + "..\\";
    if (directory.size() == 1) return directory;  // the root has no parent
    directory.pop_back();
    return DirectoryPart(directory);
}

}  // namespace refhost::screen
