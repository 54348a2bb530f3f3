// What the toolkit asks of the system it runs on: a console that shows
// UTF-8, Ctrl-C for the commands that run until stopped, and the station's
// computer name as the plug-in writes it into the day log. One file per
// system implements it (station_posix.cpp, station_win32.cpp).
#pragma once

#include <string>

// Makes the console show the UTF-8 text the commands print (on Windows the
// console's output code page becomes UTF-8). Call once, first.
void PrepareConsole();

// From now on Ctrl-C (or a stop signal) only sets a flag that the long
// running commands look at between waits.
void CatchInterrupt();
bool Interrupted();

// The computer name, cut to the 14 characters the plug-in's log lines carry.
std::string StationComputerName();
