// The reference host's state and its console: what the command line asked
// for, the fault switches, and how the host shows things to a person.
#pragma once

#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace refhost {

struct Options {
    std::string dir = ".";
    std::string plugin;            // empty: the plug-in built beside the host
    bool headless = false;
    bool trace = false;
    double runFor = -1;            // seconds; negative: until stopped
    std::set<unsigned> lackOrdinals;
    uint32_t features = 0;         // what export 30006 answers for (1, 1)
    std::string hostDate = __DATE__;
    bool datesReadable = true;     // false: no date text is taken for a date
    int interfaceLevel = 112;
    int tableSize = 1536;          // record size of table 35; 0: no table
    int answer = 0x5009;           // answer to questions in headless mode
};

Options& HostOptions();

// Console output: one whole line at a time, from any thread. The lines
// are also kept (the last few thousand) for tests to read.
void PrintLine(std::string_view utf8);
std::vector<std::string> TakeConsoleLines();
// A plug-in text (Mazovia, with message markup) made readable in UTF-8.
std::string Readable(std::string_view mazovia);
// One line per service call when tracing: "trace: 52028(...) = result".
void Trace(unsigned ordinal, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A service that a later version of the reference host will provide.
int NotProvided(unsigned ordinal);

// The host's date value of a "Mon dd yyyy" text: year, month and day as
// one growing number; 0x7FFFFFFF when the text is no such date.
uint32_t DateValueOf(const char* text);

}  // namespace refhost
