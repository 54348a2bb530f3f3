// Day log lines, taken apart.
#include "reading/day_log_lines.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "output/messages.h"
#include "text/fields.h"

DayLogLine ParseDayLogLine(std::string_view line) {
    DayLogLine parsed;
    std::size_t tabs = std::count(line.begin(), line.end(), '\t');
    std::size_t firstBlank = line.find(' '), secondBlank = line.find(' ', firstBlank + 1);
    std::size_t station = line.find(":s=");
    if (firstBlank != std::string_view::npos && secondBlank != std::string_view::npos &&
        station != std::string_view::npos && station > secondBlank && line.substr(0, firstBlank).find('\t') == std::string_view::npos) {
        std::size_t user = line.find(":u=", station);
        std::size_t messageAt = user == std::string_view::npos ? std::string_view::npos : line.find(' ', user);
        if (messageAt != std::string_view::npos) {
            parsed.kind = DayLogLine::Kind::Event;
            parsed.date = line.substr(0, firstBlank);
            parsed.time = line.substr(firstBlank + 1, secondBlank - firstBlank - 1);
            parsed.computer = line.substr(secondBlank + 1, station - secondBlank - 1);
            parsed.station = line.substr(station + 3, user - station - 3);
            parsed.user = line.substr(user + 3, messageAt - user - 3);
            parsed.message = line.substr(messageAt + 1);
            std::string_view message = parsed.message;
            std::size_t close = message.find("]:");
            if (message.substr(0, 2) == "R[" && close != std::string_view::npos) {
                parsed.sender = message.substr(2, close - 2);
                std::string_view datagram = message.substr(close + 2);
                parsed.firstField = datagram.substr(0, datagram.find('\t'));
            }
            return parsed;
        }
    }
    if (tabs == 5 && !line.empty() && line.back() == '\t') {
        parsed.kind = DayLogLine::Kind::Call;
        parsed.date = FieldOf(line, 0);
        parsed.time = FieldOf(line, 1);
        parsed.phone = FieldOf(line, 2);
        parsed.target = FieldOf(line, 3);
        parsed.text = FieldOf(line, 4);
    }
    return parsed;
}

bool IsDatagramLine(const DayLogLine& line) { return line.kind == DayLogLine::Kind::Event && !line.sender.empty(); }

bool IsControlWord(std::string_view firstField) {
    return firstField == "ping" || firstField == "PING" || firstField == "restart";
}

bool IsErrorMessage(std::string_view message) {
    std::string lower(message);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower.find("error") != std::string::npos || lower.find("blad") != std::string::npos ||
           lower.find("brak wolnych") != std::string::npos;
}

namespace {

// Two filings of one call by two stations are at most this far apart.
constexpr int kSameCallSeconds = 2;
// Datagrams that never got a call line (rings, repeats) are forgotten
// after this many others.
constexpr std::size_t kLongestWait = 64;

std::string StationOf(const DayLogLine& line) { return line.computer + " s=" + line.station; }

std::string SecondField(std::string_view message) {
    std::size_t close = message.find("]:");
    std::string_view datagram = message.substr(close + 2);
    std::string_view second = FieldOf(datagram, 1);
    return std::string(second.substr(0, second.find('\r')));
}

}  // namespace

int SecondsOfDay(std::string_view time) {
    int h = 0, m = 0, s = 0;
    std::string text(time);
    char end = 0;
    if (std::sscanf(text.c_str(), "%d:%d:%d%c", &h, &m, &s, &end) != 3 || h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return -1;
    return h * 3600 + m * 60 + s;
}

DayLogTally::Taken DayLogTally::Add(std::string_view text) {
    Taken taken;
    taken.line = ParseDayLogLine(text);
    const DayLogLine& line = taken.line;
    ++lines_;
    if (line.kind == DayLogLine::Kind::Other) return taken;
    ++recognised_;
    if (line.kind == DayLogLine::Kind::Event) {
        taken.station = StationOf(line);
        stations_.insert(taken.station);
        if (IsDatagramLine(line)) {
            ++datagrams_;
            if (line.firstField == "Ring") ++rings_;
            if (IsControlWord(line.firstField)) ++controlWords_;
            unfiled_.push_back({taken.station, line.firstField, SecondField(line.message)});
            if (unfiled_.size() > kLongestWait) unfiled_.pop_front();
        } else if (IsErrorMessage(line.message)) {
            ++errors_;
        }
        return taken;
    }
    // A control word is no call, though the plug-in once filed it as one.
    if (IsControlWord(line.phone)) return taken;
    ++callLines_;
    // The station whose datagram for this phone and target waits longest.
    taken.station = "?";
    auto match = std::find_if(unfiled_.begin(), unfiled_.end(), [&](const Unfiled& datagram) {
        return datagram.phone == line.phone && datagram.target == line.target;
    });
    if (match != unfiled_.end()) {
        taken.station = match->station;
        unfiled_.erase(match);
    }
    int at = SecondsOfDay(line.time);
    for (int i = static_cast<int>(calls_.size()) - 1; i >= 0; --i) {
        DayLogCall& call = calls_[static_cast<std::size_t>(i)];
        int apart = std::abs(SecondsOfDay(call.time) - at);
        if (apart > kSameCallSeconds) break;
        if (call.date == line.date && call.phone == line.phone && call.target == line.target && call.text == line.text &&
            taken.station != "?" &&
            std::find(call.stations.begin(), call.stations.end(), taken.station) == call.stations.end()) {
            call.stations.push_back(taken.station);
            taken.call = i;
            return taken;
        }
    }
    calls_.push_back({line.date, line.time, line.phone, line.target, line.text, {taken.station}});
    taken.call = static_cast<int>(calls_.size()) - 1;
    taken.newCall = true;
    return taken;
}

std::string DayLogTally::Summary() const {
    // Every datagram leaves a call line at its station unless it was a ring,
    // a repeat or a control word.
    int repeatsDropped = std::max(0, datagrams_ - callLines_ - rings_ - controlWords_);
    return Say(Msg::Summary, static_cast<int>(calls_.size()), rings_, repeatsDropped, datagrams_, controlWords_, errors_,
               static_cast<int>(stations_.size()));
}

bool IsDayDate(const std::string& date) {
    int d = 0, m = 0, y = 0;
    if (date.size() != 10 || date[2] != '-' || date[5] != '-') return false;
    for (int i : {0, 1, 3, 4, 6, 7, 8, 9})
        if (date[static_cast<std::size_t>(i)] < '0' || date[static_cast<std::size_t>(i)] > '9') return false;
    std::sscanf(date.c_str(), "%d-%d-%d", &d, &m, &y);
    static const int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m < 1 || m > 12 || d < 1 || y < 1) return false;
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

std::string DayLogName(const std::string& date) { return date + ".LOG"; }

std::string TodayDate() {
    std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%d-%m-%Y", std::localtime(&now));
    return date;
}
