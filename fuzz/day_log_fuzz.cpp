// Fuzz target: the callerid tool's day log reader, as log and doctor use it.
// An input is a day log of any bytes. Properties: every line is taken
// without a crash; no call is counted more often than call lines came;
// each call names at least one station and none twice; the summary says
// something.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "reading/day_log_lines.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view log(reinterpret_cast<const char*>(data), size);
    DayLogTally tally;
    int callLines = 0;
    std::size_t start = 0;
    while (start <= log.size()) {
        std::size_t end = log.find('\n', start);
        std::string_view line = log.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        DayLogTally::Taken taken = tally.Add(line);
        // A control word's call line (which the plug-in once wrote) is no call.
        if (taken.line.kind == DayLogLine::Kind::Call && IsControlWord(taken.line.phone)) {
            fuzz::Require(taken.call < 0, "a control word's call line is no call");
        } else if (taken.line.kind == DayLogLine::Kind::Call) {
            ++callLines;
            fuzz::Require(taken.call >= 0 && static_cast<std::size_t>(taken.call) < tally.calls().size(),
                          "a call line belongs to a call");
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    fuzz::Require(tally.calls().size() <= static_cast<std::size_t>(callLines), "no more calls than call lines");
    for (const DayLogCall& call : tally.calls()) {
        fuzz::Require(!call.stations.empty(), "a call names the station that filed it");
        std::vector<std::string> sorted = call.stations;
        std::sort(sorted.begin(), sorted.end());
        fuzz::Require(std::adjacent_find(sorted.begin(), sorted.end()) == sorted.end(), "a station files a call once");
    }
    fuzz::Require(!tally.Summary().empty(), "the summary says something");
    return 0;
}
