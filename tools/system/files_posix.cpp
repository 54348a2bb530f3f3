// Files on POSIX: names are bytes, taken as they are.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "system/files.h"

std::optional<std::filesystem::path> VirtualStoreCopy(const std::filesystem::path&) { return std::nullopt; }

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) { return std::fopen(path.c_str(), mode); }

bool ReadFileFrom(const std::filesystem::path& path, std::uint64_t& offset, std::string& bytes) {
    bytes.clear();
    int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) return false;
    struct stat status;
    if (fstat(descriptor, &status) == 0 && static_cast<std::uint64_t>(status.st_size) < offset) offset = 0;
    char buffer[65536];
    for (ssize_t got; (got = pread(descriptor, buffer, sizeof buffer, static_cast<off_t>(offset))) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
    }
    close(descriptor);
    return true;
}
