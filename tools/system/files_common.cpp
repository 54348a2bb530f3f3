// The path conversions every system shares: char8_t text is UTF-8 to
// std::filesystem on every system.
#include "system/files.h"

std::filesystem::path PathFromUtf8(std::string_view utf8) {
    try {
        return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
    } catch (const std::filesystem::filesystem_error&) {
        // Bytes that are no UTF-8 name a file as the system takes them.
        return std::filesystem::path(std::string(utf8));
    }
}

std::string Utf8Of(const std::filesystem::path& path) {
    std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool CanOpenForReading(const std::filesystem::path& path) {
    std::FILE* file = OpenFile(path, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}
