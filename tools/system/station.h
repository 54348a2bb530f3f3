// What the toolkit asks of the system it runs on: a console that shows
// UTF-8 text, Ctrl-C for the commands that run until stopped, the station's
// computer name as the plug-in writes it into the day log, where the tool
// and its neighbours are, and the user's language. One file per
// system implements it (station_posix.cpp, station_win32.cpp).
#pragma once

#include <string>

#include <cstdarg>
#include <cstdio>

// printf for the commands' UTF-8 text: on a Windows console it is written
// as Unicode, so the Polish letters come out whatever the console's code
// page; a file, a pipe or a POSIX terminal gets the UTF-8 bytes.
// MinGW's printf family follows C99 (%zu and all), as GCC's gnu_printf.
#if defined(__MINGW32__)
#define CALLERID_PRINTF_STYLE gnu_printf
#else
#define CALLERID_PRINTF_STYLE printf
#endif
// Both keep every line within 79 columns, broken at blanks
// (output/text_layout.h: FittedToWidth); PrintAsIs leaves lines whole, for
// what scripts read line by line (--json).
void Print(const char* format, ...) __attribute__((format(CALLERID_PRINTF_STYLE, 1, 2)));
void PrintAsIs(const char* format, ...) __attribute__((format(CALLERID_PRINTF_STYLE, 1, 2)));
void PrintTo(std::FILE* stream, const char* format, ...) __attribute__((format(CALLERID_PRINTF_STYLE, 2, 3)));
// The formatting they share (console_print.cpp).
std::string FormattedText(const char* format, va_list arguments);
// What both come to: the text to stdout or stderr, as the system needs it.
void WriteText(std::FILE* stream, const std::string& utf8);

// From now on Ctrl-C (or a stop signal) only sets a flag that the long
// running commands look at between waits.
void CatchInterrupt();
// Whether standard output is a terminal (a console on Windows).
bool StandardOutputIsTerminal();
bool Interrupted();

// The computer name, cut to the 14 characters the plug-in's log lines carry.
std::string StationComputerName();

// The folder the tool's own program file is in ("." when unknown).
std::string ExecutableDirectory();
// The plug-in's and the host's main module's file names on this system
// (callerid.dll and MERLOX.DLL on Windows).
const char* PluginFileName();
const char* HostModuleFileName();
// The commands that name what holds a UDP port: one that shows the
// process number, one that names the process (this system's own).
const char* PortHolderCommand();
const char* ProgramListCommand();

// Polish when the user's language (Windows) or the locale (POSIX: LC_ALL,
// else LC_MESSAGES, else LANG) is Polish; English otherwise.
enum class Language;
Language SystemLanguage();

// This station's local subnets and loopback, as the plug-in takes calls
// from them when Nadawcy is not set: from the interfaces that are up.
struct SenderList;
void ListLocalSubnets(SenderList& subnets);
