// Reading the plug-in's day log back: event lines ("date time
// computer:s=station:u=user message") and call lines (five tab-separated
// fields and a closing tab), and the day's counts.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct DayLogLine {
    enum class Kind { Event, Call, Other } kind = Kind::Other;
    std::string date, time;              // both kinds
    std::string computer, station, user, message;   // event lines
    std::string phone, target, text;     // call lines
    // For an "R[address]:datagram" event: the sender and the first field.
    std::string sender, firstField;
};

// One line as the file holds it (Mazovia bytes, without its line end).
DayLogLine ParseDayLogLine(std::string_view line);

bool IsDatagramLine(const DayLogLine& line);
bool IsControlWord(std::string_view firstField);
bool IsErrorMessage(std::string_view message);
inline bool IsAliveLine(const DayLogLine& line) {
    return line.kind == DayLogLine::Kind::Event && line.message == "I'm alive - pooling loop 10 sek";
}

// One call as the day log tells it: stations that share a folder each file
// the same call, so its lines are taken together with the stations that
// wrote them (a call line names no station: it is the one whose datagram
// line for the same phone and target came last before it).
struct DayLogCall {
    std::string date, time, phone, target, text;   // Mazovia, as the first station filed it
    std::vector<std::string> stations;              // "COMPUTER s=N"; "?" when no datagram line names one
};

class DayLogTally {
public:
    // What one line was: its parts, the station of an event or call line,
    // and for a call line the call it belongs to and whether it is new.
    struct Taken {
        DayLogLine line;
        std::string station;
        int call = -1;
        bool newCall = false;
    };
    Taken Add(std::string_view line);

    const std::vector<DayLogCall>& calls() const { return calls_; }
    std::size_t stations() const { return stations_.size(); }
    // Lines that were event or call lines, of all lines.
    int recognised() const { return recognised_; }
    int lines() const { return lines_; }
    // The day's counts in one line, in the language in use.
    std::string Summary() const;

private:
    std::vector<DayLogCall> calls_;
    std::set<std::string> stations_;
    // The datagrams not yet filed, in the order they came: station, phone, target.
    struct Unfiled {
        std::string station, phone, target;
    };
    std::deque<Unfiled> unfiled_;
    int lines_ = 0, recognised_ = 0, callLines_ = 0, rings_ = 0, datagrams_ = 0, controlWords_ = 0, errors_ = 0;
};

// A DD-MM-YYYY date that exists.
bool IsDayDate(const std::string& date);
// Seconds since midnight of an h:mm:ss time; -1 when it is none.
int SecondsOfDay(std::string_view time);

// The day log's file name for a DD-MM-YYYY date, and today's date so.
std::string DayLogName(const std::string& date);
std::string TodayDate();
