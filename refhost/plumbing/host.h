// The reference host's state and its console: what the command line asked
// for, the fault switches, and how the host shows things to a person.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
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
    // Read by the host's threads at every call, set by tests at any time.
    std::atomic<bool> trace{false};
    // The host holds a lock of its own while it calls into the plug-in and
    // in every service (plumbing/host_lock.h).
    std::atomic<bool> hostLock{false};
    double runFor = -1;            // seconds; negative: until stopped
    std::set<unsigned> lackOrdinals;
    uint32_t features = 0;         // what export 30006 answers for (1, 1)
    std::string hostDate = __DATE__;
    bool datesReadable = true;     // false: no date text is taken for a date
    int interfaceLevel = 112;
    int tableSize = 1536;          // record size of table 35; 0: no table
    int answer = 0x5009;           // answer to questions in headless mode
    int station = 1;               // the station number (service 37970)
    std::string user = "ADMIN";    // the current user's name, UTF-8 (service 32500)
    int pauseDivisor = 1;          // the plug-in's listener waits this many times shorter
    bool senderRateOff = false;    // the plug-in takes any number of datagrams a second from one sender
    bool showAppends = false;      // print every line appended to a file (the day log)
    // Append lines byte for byte, line ends included, as a host that does
    // not make them blanks would: the plug-in must hand it one line.
    bool appendsAsGiven = false;
    std::string script;            // run this script file once the plug-in has started
};

Options& HostOptions();

// Console output: one whole line at a time, from any thread. The lines
// are also kept (the last few thousand) for tests to read.
void PrintLine(std::string_view utf8);
std::vector<std::string> TakeConsoleLines();
// While a screen owns the terminal, console lines go to its sink instead
// of stdout; an empty sink gives stdout back. The sink is called from any
// thread, one line at a time, and must not print itself.
void SetConsoleSink(std::function<void(std::string_view)> sink);
// A plug-in text (Mazovia, with message markup) made readable in UTF-8.
std::string Readable(std::string_view mazovia);
// Text from a file or the wire made safe for the terminal: line ends,
// escapes and the other control bytes but the tab shown as "\xNN".
std::string ControlsShown(std::string_view text);
// One line per service call when tracing, with every argument as passed:
// "trace: 52028 "uwaga", "...", 0x200". Lines of a named host thread say
// so ("trace[UDPPoling]: ..."). Control bytes in texts are escaped.
void Trace(unsigned ordinal, const char* format, ...) __attribute__((format(printf, 2, 3)));
// A call of the host into the plug-in (a window procedure, a table handler).
void TraceCallIn(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Names the calling thread in its trace lines (the host's threads).
void NameTraceThread(const char* name);
// An address as the trace shows it: hexadecimal, or "null".
std::string TraceAddress(const void* address);
// A service the plug-in binds but is not expected to call.
int NotProvided(unsigned ordinal);

// The host's date value of a "Mon dd yyyy" text: year, month and day as
// one growing number; 0x7FFFFFFF when the text is no such date.
uint32_t DateValueOf(const char* text);

// The host's clock: the wall clock or a fixed moment, moved by an offset,
// so that tests of repeats, elapsed times and midnight never wait. Times
// are local civil times; the clock knows no time zones.
struct CivilTime {
    int year, month, day, hour, minute, second;
};
CivilTime HostNow();
// The clock stands at this moment (plus the offset) until it is moved.
void FixClock(const CivilTime& when);
// "YYYY-MM-DD HH:MM:SS"; false when the text is no such moment.
bool ParseCivilTime(std::string_view text, CivilTime& when);
// This station's clock runs so many seconds ahead of the office's (behind,
// when negative); the office's clock, which the server of the shared files
// keeps, is not moved.
void SetClockOffset(long long seconds);
// Moves the office's clock, this station's with it.
void AdvanceClock(long long seconds);
// How far the office's clock is ahead of this computer's wall clock: a
// file written now carries the wall clock's time, the server's would be
// this much later.
long long ServerClockOffsetSeconds();
// Back to the wall clock with no offset.
void RunWallClock();

// Fault switches for the stream services: the next `count` calls of one
// of them fail (an open gives null, a read or write 0 blocks, a close EOF
// after releasing the stream).
enum class StreamService { Open, Read, Write, Close, kCount };
void FailNextStreamCalls(StreamService service, int count);

// A plug-in path as this system needs it: on POSIX every '\\' becomes '/'
// (system_posix.cpp); Windows takes it as it is.
std::string HostPath(std::string_view path);

}  // namespace refhost
