// Sending calls from a script and following the day log until the listener
// has filed them. The log is read from where the last look ended, so a long
// run of calls costs only what the listener appended meanwhile.
#include "script/script_calls.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <thread>

#include "plumbing/host.h"
#include "ini/ini_file.h"
#include "plumbing/system.h"

namespace refhost {
namespace {

constexpr int kQuietLimitMilliseconds = 10000;
constexpr int kLogOption = 4;

std::string WithNumber(std::string text, int number) {
    const std::string mark = "{n}";
    for (std::size_t at; (at = text.find(mark)) != std::string::npos;)
        text.replace(at, mark.size(), std::to_string(number));
    return text;
}

// The day log of the host's today, where the plug-in writes it.
std::string DayLogPath() {
    CivilTime now = HostNow();
    char name[48];
    std::snprintf(name, sizeof name, "LOGS\\TELEFONY\\%02d-%02d-%04d.LOG", now.day, now.month, now.year);
    return HostPath(name);
}

unsigned long long FileSize(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    return in ? static_cast<unsigned long long>(in.tellg()) : 0;
}

// The plug-in's settings in MERLOX.INI: "notice,options,slot,port".
bool HostSettingsValues(int& options, int& port) {
    std::vector<std::string> problems;
    std::optional<std::string> value = IniFile::Read(HostPath("MERLOX.INI"), problems).Get("Ornitel", "Pytaj");
    return value && std::sscanf(value->c_str(), "%*d,%d,%*d,%d", &options, &port) == 2;
}

// Station and message of an event line ("date time computer:s=N:u=USER
// MESSAGE"); false for a call line.
bool ReadEventLine(const std::string& line, int& station, std::string& message) {
    std::size_t stationAt = line.find(":s=");
    std::size_t user = line.find(":u=");
    if (stationAt == std::string::npos || user == std::string::npos || user < stationAt) return false;
    std::size_t blank = line.find(' ', user);
    if (blank == std::string::npos) return false;
    station = std::atoi(line.c_str() + stationAt + 3);
    message = line.substr(blank + 1);
    return true;
}

}  // namespace

std::string CallDatagram(const std::string& phone, const std::string& target, const std::string& text) {
    return phone + "\t" + target + "\t\t\t" + text;
}

bool CallFeed::Send(const CallsToSend& calls, bool wait, int stations, std::string& error) {
    int port = calls.port, options = kLogOption;
    if (!HostSettingsValues(options, port) && port == 0) {
        error = "no port: MERLOX.INI holds no Pytaj in [Ornitel]; give port P";
        return false;
    }
    if (calls.port != 0) port = calls.port;
    if (wait && !(options & kLogOption)) {
        error = "the plug-in keeps no day log (option 4 of Pytaj in MERLOX.INI is off), so a call cannot be "
                "seen filed; send it with nowait";
        return false;
    }
    if (pending_.empty()) {
        dayLog_ = DayLogPath();
        offset_ = FileSize(dayLog_);
        partial_.clear();
        unfiled_.clear();
    }
    for (int number = 1; number <= calls.count; ++number) {
        std::string datagram = CallDatagram(WithNumber(calls.phone, number), WithNumber(calls.target, number),
                                            WithNumber(calls.text, number));
        if (!SendDatagram(calls.address, port, datagram, error)) return false;
        for (char& c : datagram)
            if (c == '\r' || c == '\n') c = ' ';
        pending_.push_back({datagram, {}, {}});
        if (wait && !WaitFiled(stations, error)) return false;
    }
    return true;
}

void CallFeed::LookAtDayLog() {
    std::ifstream in(dayLog_, std::ios::binary);
    if (!in) return;
    in.seekg(static_cast<std::streamoff>(offset_));
    std::ostringstream appended;
    appended << in.rdbuf();
    std::string text = appended.str();
    offset_ += text.size();
    partial_ += text;
    std::size_t start = 0;
    for (std::size_t end; (end = partial_.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = partial_.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        int station = 0;
        std::string message;
        if (!ReadEventLine(line, station, message)) continue;
        if (message == "Zapis" || message == "Bez zapisu") {
            std::deque<long>& unfiled = unfiled_[station];
            if (unfiled.empty()) continue;
            if (unfiled.front() >= 0) pending_[static_cast<std::size_t>(unfiled.front())].filed.insert(station);
            unfiled.pop_front();
            continue;
        }
        std::size_t colon = message.find("]:");
        if (message.rfind("R[", 0) != 0 || colon == std::string::npos) continue;
        std::string datagram = message.substr(colon + 2);
        long named = -1;
        for (std::size_t i = 0; i < pending_.size(); ++i) {
            if (pending_[i].datagram != datagram || pending_[i].received.count(station)) continue;
            pending_[i].received.insert(station);
            named = static_cast<long>(i);
            break;
        }
        unfiled_[station].push_back(named);
    }
    partial_.erase(0, start);
}

bool CallFeed::WaitListening(std::string& error) {
    const std::string listening = "UDPoling() - rozpoczeto nasluch";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kQuietLimitMilliseconds);
    do {
        std::ifstream in(DayLogPath(), std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            int station = 0;
            std::string message;
            if (ReadEventLine(line, station, message) && station == HostOptions().station &&
                message.rfind(listening, 0) == 0)
                return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < deadline);
    error = "station " + std::to_string(HostOptions().station) + "'s listener logged no start within 10 s";
    return false;
}

bool CallFeed::WaitFiled(int stations, std::string& error) {
    auto filedCount = [&] {
        std::size_t filed = 0;
        for (const Pending& call : pending_) filed += call.filed.size() >= static_cast<std::size_t>(stations);
        return filed;
    };
    std::size_t filed = 0;
    auto quietSince = std::chrono::steady_clock::now();
    for (;;) {
        LookAtDayLog();
        std::size_t now = filedCount();
        if (now == pending_.size()) break;
        if (now != filed) {
            filed = now;
            quietSince = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - quietSince > std::chrono::milliseconds(kQuietLimitMilliseconds)) {
            for (const Pending& call : pending_) {
                if (call.filed.size() >= static_cast<std::size_t>(stations)) continue;
                error = std::to_string(pending_.size() - now) + " of " + std::to_string(pending_.size()) +
                        " calls not filed by " + std::to_string(stations) + " station(s) within " +
                        std::to_string(kQuietLimitMilliseconds / 1000) + " s; the first: \"" + Readable(call.datagram) +
                        "\" received by " + std::to_string(call.received.size()) + ", filed by " +
                        std::to_string(call.filed.size());
                break;
            }
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    pending_.clear();
    return true;
}

}  // namespace refhost
