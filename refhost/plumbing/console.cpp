// The reference host's console: lines for a person, the trace, and the
// rendering of the plug-in's message markup as plain text.
#include <cstdarg>
#include <cstdio>
#include <mutex>
#include <utility>

#include "plumbing/host.h"
#include "text/wire_text.h"
#include "text/mazovia_utf8.h"

namespace refhost {

Options& HostOptions() {
    static Options options;
    return options;
}

static std::mutex& ConsoleMutex() {
    static std::mutex mutex;
    return mutex;
}

static std::vector<std::string> g_consoleLines;
static constexpr std::size_t kKeptLines = 4096;

std::vector<std::string> TakeConsoleLines() {
    std::lock_guard lock(ConsoleMutex());
    return std::exchange(g_consoleLines, {});
}

static std::function<void(std::string_view)> g_consoleSink;

void SetConsoleSink(std::function<void(std::string_view)> sink) {
    std::lock_guard lock(ConsoleMutex());
    g_consoleSink = std::move(sink);
}

void PrintLine(std::string_view utf8) {
    std::lock_guard lock(ConsoleMutex());
    if (g_consoleLines.size() < kKeptLines) g_consoleLines.emplace_back(utf8);
    if (g_consoleSink) {
        g_consoleSink(utf8);
        return;
    }
    std::fwrite(utf8.data(), 1, utf8.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// Markup: "\x01...\x01" is a directive (tab stops, centring) and is not
// shown; "\x02" starts highlighted text, shown as is; tabs stay tabs.
std::string Readable(std::string_view mazovia) {
    std::string plain;
    bool inDirective = false;
    bool highlighted = false;
    for (char c : mazovia) {
        if (c == '\x01') {
            if (highlighted) {
                highlighted = false;  // "\x01" ends a highlight
                continue;
            }
            inDirective = !inDirective;
            continue;
        }
        if (inDirective) continue;
        if (c == '\x02') {
            highlighted = true;
            continue;
        }
        if (c == '\x05') continue;  // key label marker
        plain += c;
    }
    return MazoviaToUtf8(plain);
}

std::string ControlsShown(std::string_view text) {
    std::string shown;
    for (char c : text) {
        if (!IsLineBreakingByte(static_cast<unsigned char>(c))) {
            shown += c;
            continue;
        }
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", static_cast<unsigned char>(c));
        shown += code;
    }
    return shown;
}

// The thread's name in its trace lines; the host's user-interface thread
// has none.
static thread_local std::string t_traceThread;

void NameTraceThread(const char* name) { t_traceThread = name ? name : ""; }

// A trace line is always one line: control bytes in the plug-in's texts
// (tabs, line ends, markup) are written as escapes.
static std::string EscapedControls(const char* text) {
    std::string escaped;
    for (const char* c = text; *c; ++c) {
        unsigned char byte = static_cast<unsigned char>(*c);
        if (byte == '\t') escaped += "\\t";
        else if (byte == '\n') escaped += "\\n";
        else if (byte == '\r') escaped += "\\r";
        else if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "\\x%02X", byte);
            escaped += code;
        } else {
            escaped += *c;
        }
    }
    return escaped;
}

// Prints "trace: " (or "trace[THREAD]: "), the head and the formatted text.
static void PrintTraceLine(const std::string& head, const char* format, va_list list) {
    char text[8192];
    std::vsnprintf(text, sizeof text, format, list);
    std::string line = t_traceThread.empty() ? "trace: " : "trace[" + t_traceThread + "]: ";
    if (!head.empty()) line += text[0] ? head + " " : head;
    PrintLine(MazoviaToUtf8(line + EscapedControls(text)));
}

void Trace(unsigned ordinal, const char* format, ...) {
    if (!HostOptions().trace) return;
    va_list list;
    va_start(list, format);
    PrintTraceLine(std::to_string(ordinal), format, list);
    va_end(list);
}

void TraceCallIn(const char* format, ...) {
    if (!HostOptions().trace) return;
    va_list list;
    va_start(list, format);
    PrintTraceLine("", format, list);
    va_end(list);
}

std::string TraceAddress(const void* address) {
    if (!address) return "null";
    char text[32];
    std::snprintf(text, sizeof text, "0x%llX",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(address)));
    return text;
}

int NotProvided(unsigned ordinal) {
    char line[128];
    std::snprintf(line, sizeof line,
                  "refhost: the plug-in called service %u, which it is not expected to call; it did nothing",
                  ordinal);
    PrintLine(line);
    return 0;
}

uint32_t DateValueOf(const char* text) {
    static const char* const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    if (!HostOptions().datesReadable) return 0x7FFFFFFF;
    char month[4] = {};
    int day = 0, year = 0;
    char rest = 0;
    if (std::sscanf(text, "%3s %d %d%c", month, &day, &year, &rest) != 3) return 0x7FFFFFFF;
    for (int m = 0; m < 12; ++m)
        if (std::string_view(month) == kMonths[m] && day >= 1 && day <= 31 && year > 0)
            return static_cast<uint32_t>(year * 10000 + (m + 1) * 100 + day);
    return 0x7FFFFFFF;
}

}  // namespace refhost
