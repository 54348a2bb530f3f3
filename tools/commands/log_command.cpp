// callerid log [FILE | DIR] [--date DD-MM-YYYY] [--calls] [--follow]: the
// day log in UTF-8 with its call lines as aligned columns (date, time,
// phone, target, NIP, text), event lines as they are, and the day's counts
// at the end. --follow goes on printing what is appended, until Ctrl-C.
#include "commands/log_command.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#include "reading/day_log_lines.h"
#include "reading/host_directory.h"
#include "reading/nip_check.h"
#include "system/station.h"
#include "text/mazovia_utf8.h"
#include "output/text_layout.h"

namespace {

struct Options {
    std::string source, date = TodayDate();
    bool callsOnly = false, follow = false;
};

bool ParseOptions(int argc, char** args, Options& options) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--calls") == 0) options.callsOnly = true;
        else if (std::strcmp(args[i], "--follow") == 0) options.follow = true;
        else if (std::strcmp(args[i], "--date") == 0 && i + 1 < argc && std::strlen(args[i + 1]) == 10) options.date = args[++i];
        else if (args[i][0] != '-' && options.source.empty()) options.source = args[i];
        else return false;
    }
    return true;
}

class LogPrinter {
public:
    explicit LogPrinter(bool callsOnly) : callsOnly_(callsOnly) {}

    void PrintLine(std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        DayLogLine parsed = ParseDayLogLine(line);
        counts_.Add(parsed);
        if (parsed.kind == DayLogLine::Kind::Call) {
            std::string nip = NipDigitsOf(parsed.text);
            marked_ = marked_ || NipIsMarked(nip);
            Print("%s  %s  %s  %s  %s  %s\n", Padded(Utf8(parsed.date), 10).c_str(), Padded(Utf8(parsed.time), 8).c_str(),
                        Padded(Utf8(parsed.phone), 20).c_str(), Padded(Utf8(parsed.target), 20).c_str(),
                        Padded(NipShown(nip), 14).c_str(), Utf8(parsed.text).c_str());
        } else if (!callsOnly_) {
            Print("%s\n", Escaped(refhost::MazoviaToUtf8(line)).c_str());
        }
        std::fflush(stdout);
    }

    void PrintSummary() const {
        if (marked_) Print("%s\n", kWrongNipLegend);
        Print("summary: %s\n", counts_.Summary().c_str());
    }

private:
    static std::string Utf8(const std::string& mazovia) { return OnOneLine(refhost::MazoviaToUtf8(mazovia)); }
    bool callsOnly_;
    bool marked_ = false;
    DayLogCounts counts_;
};

// Reads the lines complete so far; a last line without its line end is
// kept back until the rest of it comes.
void PrintWholeLines(std::ifstream& in, std::string& pending, LogPrinter& printer) {
    char buffer[4096];
    while (in.read(buffer, sizeof buffer), in.gcount() > 0) {
        pending.append(buffer, static_cast<std::size_t>(in.gcount()));
        std::size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            printer.PrintLine(pending.substr(0, end));
            pending.erase(0, end + 1);
        }
    }
    in.clear();
}

}  // namespace

int RunLogCommand(int argc, char** args) {
    Options options;
    if (!ParseOptions(argc, args, options)) {
        PrintTo(stderr, "%s", "usage: callerid log [FILE | DIR] [--date DD-MM-YYYY] [--calls] [--follow]\n");
        return 2;
    }
    std::filesystem::path file = DayLogFor(options.source, options.date);
    std::ifstream in(file, std::ios::binary);
    if (!in && !options.follow) {
        PrintTo(stderr, "callerid log: no day log %s (is the log option \"Twórz LOG\" on?)\n", file.string().c_str());
        return 1;
    }
    if (options.follow) CatchInterrupt();
    LogPrinter printer(options.callsOnly);
    std::string pending;
    for (;;) {
        if (in.is_open()) PrintWholeLines(in, pending, printer);
        if (!options.follow || Interrupted()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        if (!in.is_open()) in.open(file, std::ios::binary);
    }
    if (!pending.empty()) printer.PrintLine(pending);
    printer.PrintSummary();
    return 0;
}
