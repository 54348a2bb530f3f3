// Reading the plug-in's day log back: event lines ("date time
// computer:s=station:u=user message") and call lines (five tab-separated
// fields and a closing tab), and the day's counts.
#pragma once

#include <string>
#include <string_view>

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

struct DayLogCounts {
    int calls = 0, rings = 0, repeatsDropped = 0, datagrams = 0, controlWords = 0, errors = 0;
    void Add(const DayLogLine& line);
    std::string Summary() const;
};

// The day log's file name for a DD-MM-YYYY date, and today's date so.
std::string DayLogName(const std::string& date);
std::string TodayDate();
