// The files of a host working directory as the plug-in sees them: its
// settings in the host's MERLOX.INI, Ornitel.ini, and LOGS\TELEFONY\.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

// A path the plug-in names (Windows separators, relative to the host's
// working directory), in UTF-8, as this system finds it under directory.
// A path read from the plug-in's INI files is Mazovia: made UTF-8 first.
std::filesystem::path HostPath(const std::filesystem::path& directory, std::string_view path);

// The value of key in [section] of an INI file; nothing when the file or
// the key is missing. Names are matched without regard to case.
std::optional<std::string> IniValue(const std::filesystem::path& file, std::string_view section,
                                    std::string_view key);

// Pytaj= of [Ornitel]: four comma-separated numbers (notice, options,
// slot, port); false for anything else.
bool ParsePytaj(const std::string& value, long numbers[4]);

// Whether a command's argument (a host path, as HostPath takes it) names a
// folder that exists, or anything that exists: an option naming nothing is
// refused before the command falls back on anything else.
bool GivenFolderExists(std::string_view given);
bool GivenPathExists(std::string_view given);

// The day log of date (DD-MM-YYYY) for a command's FILE or DIR argument:
// a file as it is, a host directory's LOGS\TELEFONY\, or a directory of day
// logs; with no argument, the current directory's LOGS\TELEFONY\.
std::filesystem::path DayLogFor(const std::string& fileOrDirectory, const std::string& date);

// The whole file, or why not.
enum class FileRead { Read, Missing, Directory, Unreadable };
FileRead ReadWholeFile(const std::filesystem::path& path, std::string& bytes);
// The one line a command says when a file it was given cannot be read
// (a missing file, a directory, an unreadable one); returns the exit code.
int FailOnFile(const char* command, const std::filesystem::path& path, FileRead read);

// A text file holds no NUL byte; a binary one does within its first bytes.
bool LooksBinary(std::string_view bytes);

// A path as this system writes it, in UTF-8: on Windows with '\' only.
std::string Shown(const std::filesystem::path& path);
