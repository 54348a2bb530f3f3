// Files on Windows: names go to the system in UTF-16 (_wfopen,
// CreateFileW), so a folder such as "Program Księgowy" is found whatever
// the ANSI code page. The day log is read with every sharing mode, as the
// plug-in's stations append to it while it is read.
#include <windows.h>

#include <string>

#include "system/files.h"

std::optional<std::filesystem::path> VirtualStoreCopy(const std::filesystem::path& file) {
    wchar_t local[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
    std::error_code error;
    std::filesystem::path absolute = std::filesystem::absolute(file, error);
    if (length == 0 || length >= MAX_PATH || error || !absolute.has_root_name()) return std::nullopt;
    std::filesystem::path copy = std::filesystem::path(local) / L"VirtualStore" / absolute.relative_path();
    if (!std::filesystem::exists(copy, error)) return std::nullopt;
    return copy;
}

std::FILE* OpenFile(const std::filesystem::path& path, const char* mode) {
    std::wstring wideMode(mode, mode + std::char_traits<char>::length(mode));
    return _wfopen(path.c_str(), wideMode.c_str());
}

bool ReadFileFrom(const std::filesystem::path& path, std::uint64_t& offset, std::string& bytes) {
    bytes.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    LARGE_INTEGER none = {}, end = {}, at;
    if (SetFilePointerEx(file, none, &end, FILE_END) && static_cast<std::uint64_t>(end.QuadPart) < offset) offset = 0;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (SetFilePointerEx(file, at, nullptr, FILE_BEGIN)) {
        char buffer[65536];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    }
    offset += bytes.size();
    CloseHandle(file);
    return true;
}
