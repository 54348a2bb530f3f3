// callerid log [FILE | DIR] [--date DD-MM-YYYY] [--calls] [--follow]: the
// day log in UTF-8 with its call lines as aligned columns (date, time,
// phone, target, NIP, station, text), event lines as they are, and the
// day's counts at the end. Stations that share a folder each file every
// call: --calls lists each call once with the stations that filed it.
// --follow goes on printing what is appended, until Ctrl-C: it reads the
// file afresh from where it stopped every quarter second, as a stream kept
// open may never see past the end it once met (the Windows C runtime's).
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "commands/commands.h"
#include "output/exit_codes.h"
#include "output/messages.h"
#include "output/text_layout.h"
#include "reading/day_log_lines.h"
#include "reading/host_directory.h"
#include "reading/nip_check.h"
#include "system/files.h"
#include "text/mazovia_utf8.h"

namespace {

struct Options {
    std::string source, date = TodayDate();
    bool callsOnly = false, follow = false;
};

// Returns the exit code of a bad option, or kDone.
int ParseOptions(int argc, char** args, Options& options) {
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--calls") == 0) {
            options.callsOnly = true;
        } else if (std::strcmp(args[i], "--follow") == 0) {
            options.follow = true;
        } else if (std::strcmp(args[i], "--date") == 0) {
            if (i + 1 >= argc) return Fail(kBadUsage, "log", Msg::NeedsValue, "--date");
            options.date = args[++i];
            if (!IsDayDate(options.date)) return Fail(kBadUsage, "log", Msg::BadDate, options.date.c_str());
        } else if (args[i][0] != '-' && options.source.empty()) {
            options.source = args[i];
        } else {
            return Fail(kBadUsage, "log", Msg::UnexpectedArgument, args[i]);
        }
    }
    return kDone;
}

std::string Utf8(const std::string& mazovia) { return OnOneLine(refhost::MazoviaToUtf8(mazovia)); }

std::string Joined(const std::vector<std::string>& stations) {
    std::string joined;
    for (const std::string& station : stations) joined += (joined.empty() ? "" : ", ") + station;
    return joined;
}

class LogPrinter {
public:
    explicit LogPrinter(const Options& options) : options_(options) {
        if (options_.callsOnly) Print("%s\n", T(Msg::CallsColumns));
    }

    void PrintLine(std::string line) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        DayLogTally::Taken taken = tally_.Add(line);
        if (taken.line.kind == DayLogLine::Kind::Call) {
            // A call another station filed too is listed once with --calls;
            // without --follow the calls wait for the end, with all stations.
            if (!options_.callsOnly) PrintCall(taken.line.date, taken.line.time, taken.line.phone, taken.line.target, taken.line.text, taken.station);
            else if (options_.follow && taken.newCall) PrintCall(tally_.calls()[static_cast<std::size_t>(taken.call)]);
        } else if (!options_.callsOnly) {
            Print("%s\n", Escaped(refhost::MazoviaToUtf8(line)).c_str());
        }
        std::fflush(stdout);
    }

    void PrintEnd() {
        if (options_.callsOnly && !options_.follow)
            for (const DayLogCall& call : tally_.calls()) PrintCall(call);
        if (marked_) Print("%s\n", T(Msg::WrongNipLegend));
        Print("%s", Wrapped(Say(Msg::SummaryLine, tally_.Summary().c_str()), 0).c_str());
    }

    const DayLogTally& tally() const { return tally_; }

private:
    void PrintCall(const DayLogCall& call) { PrintCall(call.date, call.time, call.phone, call.target, call.text, Joined(call.stations)); }
    void PrintCall(const std::string& date, const std::string& time, const std::string& phone, const std::string& target,
                   const std::string& text, const std::string& stations) {
        std::string nip = NipDigitsOf(text);
        marked_ = marked_ || NipIsMarked(nip);
        // Two lines a call, within 80 columns: date, time, phone, target
        // and NIP; under them the stations and the text, wrapped.
        std::string first = Padded(Utf8(date), 10) + " " + Padded(Utf8(time), 8) + "  " + Padded(Utf8(phone), 20) + "  " +
                            Padded(Utf8(target), 20) + "  " + NipShown(nip);
        Print("%s\n%s", TrimmedRight(first).c_str(), Wrapped(Utf8(stations) + ": " + Utf8(text), 11).c_str());
    }

    const Options& options_;
    bool marked_ = false;
    DayLogTally tally_;
};

// Prints the lines the file completes from offset on, which moves past
// what was read; a last line without its line end is kept back until the
// rest of it comes; a file written anew is followed from its start. False
// when the file cannot be opened (yet).
bool PrintNewLines(const std::filesystem::path& file, std::uint64_t& offset, std::string& pending, LogPrinter& printer) {
    std::string bytes;
    std::uint64_t before = offset;
    if (!ReadFileFrom(file, offset, bytes)) return false;
    if (offset - bytes.size() != before) pending.clear();   // the file was written anew
    pending += bytes;
    std::size_t end;
    while ((end = pending.find('\n')) != std::string::npos) {
        printer.PrintLine(pending.substr(0, end));
        pending.erase(0, end + 1);
    }
    return true;
}

// What is wrong with the file for a day log, as the exit code (kDone when
// nothing). A file that is not there yet is fine to --follow.
int CheckDayLogFile(const std::filesystem::path& file, bool follow) {
    std::string bytes;
    FileRead read = ReadWholeFile(file, bytes);
    if (read == FileRead::Missing && follow) return kDone;
    if (read == FileRead::Missing) return Fail(kUnreadable, "log", Msg::NoDayLog, Shown(file).c_str());
    if (read != FileRead::Read) return FailOnFile("log", file, read);
    if (LooksBinary(bytes)) return Fail(kUnreadable, "log", Msg::BinaryFile, Shown(file).c_str());
    DayLogTally probe;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        std::string line = bytes.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        probe.Add(line);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    if (probe.lines() > 0 && probe.recognised() == 0) return Fail(kUnreadable, "log", Msg::NotDayLog, Shown(file).c_str());
    return kDone;
}

}  // namespace

int RunLogCommand(int argc, char** args) {
    Options options;
    if (int code = ParseOptions(argc, args, options); code != kDone) return code;
    if (!options.source.empty()) {
        std::error_code error;
        std::filesystem::path given = HostPath({}, options.source);
        if (!std::filesystem::exists(given, error) && !options.follow) return FailOnFile("log", given, FileRead::Missing);
    }
    std::filesystem::path file = DayLogFor(options.source, options.date);
    if (int code = CheckDayLogFile(file, options.follow); code != kDone) return code;
    if (options.follow) CatchInterrupt();
    LogPrinter printer(options);
    std::uint64_t offset = 0;
    std::string pending;
    bool opened = PrintNewLines(file, offset, pending, printer);
    if (options.follow && !opened) PrintTo(stderr, "%s\n", Say(Msg::WaitingForLog, Shown(file).c_str()).c_str());
    while (options.follow && !Interrupted()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        PrintNewLines(file, offset, pending, printer);
    }
    if (!pending.empty()) printer.PrintLine(pending);
    printer.PrintEnd();
    return kDone;
}
