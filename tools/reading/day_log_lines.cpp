// Day log lines, taken apart.
#include "reading/day_log_lines.h"

#include <algorithm>
#include <cctype>
#include <ctime>

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
        std::string_view fields[5];
        std::size_t start = 0;
        for (auto& field : fields) {
            std::size_t tab = line.find('\t', start);
            field = line.substr(start, tab - start);
            start = tab + 1;
        }
        parsed.date = fields[0];
        parsed.time = fields[1];
        parsed.phone = fields[2];
        parsed.target = fields[3];
        parsed.text = fields[4];
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

void DayLogCounts::Add(const DayLogLine& line) {
    if (line.kind == DayLogLine::Kind::Call) {
        ++calls;
    } else if (IsDatagramLine(line)) {
        ++datagrams;
        if (line.firstField == "Ring") ++rings;
        if (IsControlWord(line.firstField)) ++controlWords;
    } else if (line.kind == DayLogLine::Kind::Event && IsErrorMessage(line.message)) {
        ++errors;
    }
    // Every datagram leaves a call line unless it was a ring or a repeat.
    repeatsDropped = std::max(0, datagrams - calls - rings);
}

std::string DayLogCounts::Summary() const {
    return "calls " + std::to_string(calls) + ", rings " + std::to_string(rings) + ", repeats dropped " +
           std::to_string(repeatsDropped) + ", datagrams received " + std::to_string(datagrams) +
           ", control words " + std::to_string(controlWords) + ", errors " + std::to_string(errors);
}

std::string DayLogName(const std::string& date) { return date + ".LOG"; }

std::string TodayDate() {
    std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%d-%m-%Y", std::localtime(&now));
    return date;
}
