// Files by name, whatever letters the name holds. Paths reach the commands
// in UTF-8; std::filesystem::path carries them to the system as the
// system names files (UTF-16 on Windows, bytes on POSIX), and opening a
// stream goes through this seam (files_posix.cpp, files_win32.cpp) because
// the C library's fopen takes a name in the ANSI code page on Windows.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A path from UTF-8 text, and a path's UTF-8 text.
std::filesystem::path PathFromUtf8(std::string_view utf8);
std::string Utf8Of(const std::filesystem::path& path);

// fopen with a path of any letters; mode as fopen's ("rb", "wb").
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Windows' copy of a file that a program without administrator rights
// wrote in a protected folder (Program Files): file virtualization puts
// it under the user's VirtualStore, and such a program reads that copy
// from then on. Nothing when there is none (always on POSIX).
std::optional<std::filesystem::path> VirtualStoreCopy(const std::filesystem::path& file);

// Whether the file can be opened for reading now.
bool CanOpenForReading(const std::filesystem::path& path);

// The bytes from offset to the file's end as they are now, read through a
// handle opened for this call alone: a stream kept open may keep an end of
// file it once saw (the Windows C runtime does), and a fresh handle also
// leaves the file free for the plug-in's writers. offset moves to the end
// read; a file now shorter than offset was emptied and written anew (F4 in
// the plug-in's window), and is read from its start. False when the file
// cannot be opened.
bool ReadFileFrom(const std::filesystem::path& path, std::uint64_t& offset, std::string& bytes);
