// callerid doctor [DIR] [--host-ini FILE] [--date DD-MM-YYYY]: one line per
// check, each OK, WARN (worth a look) or PROBLEM with what to do. The exit
// code is 0 only when no check found a problem. The checks: the Pytaj
// settings, Ornitel.ini's Filename, the slot file, LOGS\TELEFONY\, the UDP
// port, and from the day log the listener of each station that writes it.
#include "commands/doctor_command.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <system_error>

#include "reading/day_log_lines.h"
#include "reading/host_directory.h"
#include "system/station.h"
#include "text/mazovia_utf8.h"
#include "udp/call_rules.h"
#include "system/udp_receiver.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kRecordSize = 562, kSlotFileSize = 5620;
// A listener whose last "I'm alive" line is older than this has stopped.
constexpr int kAliveSeconds = 60;
// Alive this long without one datagram from the box: the box may be silent.
constexpr int kSilentBoxSeconds = 3600;

class Report {
public:
    void Ok(const std::string& text) { Line("OK     ", text); }
    void Warn(const std::string& text) { Line("WARN   ", text); }
    void Problem(const std::string& text) {
        Line("PROBLEM", text);
        ++problems_;
    }
    int problems() const { return problems_; }

private:
    static void Line(const char* verdict, const std::string& text) { Print("%s %s\n", verdict, text.c_str()); }
    int problems_ = 0;
};

struct Settings {
    bool read = false;
    long options = 0, slot = 0, port = 1338;
};

bool ParseNumbers(const std::string& value, long numbers[4]) {
    std::istringstream in(value);
    char comma = 0;
    for (int i = 0; i < 4; ++i) {
        if (!(in >> numbers[i])) return false;
        if (i < 3 && (!(in >> comma) || comma != ',')) return false;
    }
    return (in >> std::ws).eof();
}

Settings CheckPytaj(const fs::path& ini, Report& report) {
    Settings settings;
    std::optional<std::string> value = IniValue(ini, "Ornitel", "Pytaj");
    if (!value) {
        report.Warn("settings: no Pytaj in [Ornitel] of " + ini.string() +
                    ": the plug-in starts with the day log off and port 1338; open its window (Ctrl-G) and leave it to save them");
        return settings;
    }
    long n[4];
    if (!ParseNumbers(*value, n)) {
        report.Problem("settings: Pytaj=" + *value + " in " + ini.string() +
                       " is not four comma-separated numbers (notice,options,slot,port such as 1,4,0,1338): correct it");
        return settings;
    }
    settings = {true, n[1], n[2], n[3] == 0 ? 1338 : n[3]};
    std::string what = "settings: Pytaj=" + *value;
    bool sound = true;
    if (n[1] < 0 || (n[1] & ~7L) != 0) {
        report.Problem(what + ": option bits " + std::to_string(n[1]) + " hold unknown bits (known: 1 NIP hint, 2 clipboard, 4 day log): set 0 to 7");
        sound = false;
    }
    if (n[2] < 0 || n[2] > 9) {
        report.Problem(what + ": slot " + std::to_string(n[2]) + " is not 0 to 9: set 0 to 9");
        sound = false;
    }
    if (n[3] < 0 || n[3] > 65535) {
        report.Problem(what + ": port " + std::to_string(n[3]) + " is outside 1 to 65535 (the plug-in would use " +
                       std::to_string(n[3] & 0xFFFF) + "): set the box's port, normally 1338");
        sound = false;
    }
    if (sound) report.Ok(what + " (options " + std::to_string(n[1]) + ", slot " + std::to_string(n[2]) + ", port " + std::to_string(settings.port) + ")");
    if (sound && !(n[1] & 4)) report.Warn("settings: the day log is off: tick \"Twórz LOG\" in the plug-in's window to see what it receives");
    return settings;
}

bool DirectoryIsWritable(const fs::path& directory) {
    fs::path probe = directory / ".callerid-doctor-probe";
    { std::ofstream out(probe, std::ios::binary); if (!out || !(out << "x") || !(out.flush())) return false; }
    std::error_code error;
    return fs::remove(probe, error);
}

fs::path CheckFilename(const fs::path& dir, Report& report) {
    std::optional<std::string> value = IniValue(dir / "Ornitel.ini", "Ornitel", "Filename");
    if (!value || value->empty()) {
        report.Ok("slot file name: none set in Ornitel.ini, the plug-in uses LOGS\\TELEFONY\\CLIP.DAT");
        return HostPath(dir, "LOGS\\TELEFONY\\CLIP.DAT");
    }
    fs::path file = HostPath(dir, *value);
    fs::path parent = file.parent_path().empty() ? dir : file.parent_path();
    std::error_code error;
    if (!fs::is_directory(parent, error))
        report.Problem("slot file name: Filename=" + *value + " in Ornitel.ini: its directory " + parent.string() +
                       " does not exist: create it or choose another file in the plug-in's window (Wybierz)");
    else if (!DirectoryIsWritable(parent))
        report.Problem("slot file name: Filename=" + *value + ": its directory is not writable: give the users write access");
    else
        report.Ok("slot file name: Filename=" + *value);
    return file;
}

void CheckSlotFile(const fs::path& file, Report& report) {
    std::string bytes;
    std::error_code error;
    if (!fs::exists(file, error)) {
        report.Ok("slot file: " + file.string() + " not made yet (the first call makes it)");
        return;
    }
    if (!ReadWholeFile(file, bytes)) {
        report.Problem("slot file: " + file.string() + " cannot be read: give the users read and write access");
        return;
    }
    std::string what = "slot file: " + file.string();
    if (bytes.size() != kSlotFileSize) {
        report.Problem(what + " is " + std::to_string(bytes.size()) + " bytes, not 5620 (" +
                       std::to_string(bytes.size() / kRecordSize) + " whole records" +
                       (bytes.size() % kRecordSize ? " and a part" : "") +
                       "): delete it (F4 in the plug-in's window) and the next call makes a new one");
    }
    static constexpr std::size_t kFields[][2] = {{0, 500}, {500, 21}, {521, 21}, {542, 11}, {553, 9}};
    std::set<std::string> targets;
    bool sound = bytes.size() == kSlotFileSize;
    for (std::size_t slot = 0; (slot + 1) * kRecordSize <= bytes.size() && slot < 10; ++slot) {
        std::string_view record(bytes.data() + slot * kRecordSize, kRecordSize);
        for (auto& field : kFields)
            if (record.substr(field[0], field[1]).find('\0') == std::string_view::npos) {
                report.Problem(what + ": slot " + std::to_string(slot) + " has a field without its end: delete the file (F4)");
                sound = false;
                break;
            }
        std::string_view target = record.substr(521, 21);
        target = target.substr(0, target.find('\0'));
        if (target.empty()) continue;
        if (!targets.insert(std::string(target)).second) {
            report.Warn(what + ": target " + refhost::MazoviaToUtf8(target) + " is in two slots (the next call for it clears the later one)");
            sound = false;
        }
    }
    if (sound) report.Ok(what + ": 5620 bytes, " + std::to_string(targets.size()) + " of 10 slots taken");
}

void CheckLogDirectory(const fs::path& dir, Report& report) {
    fs::path logs = HostPath(dir, "LOGS\\TELEFONY");
    std::error_code error;
    if (!fs::exists(logs, error)) {
        if (DirectoryIsWritable(dir)) report.Ok("log directory: LOGS\\TELEFONY\\ not made yet (the plug-in makes it)");
        else report.Problem("log directory: " + dir.string() + " is not writable, so LOGS\\TELEFONY\\ cannot be made: give the users write access");
    } else if (!fs::is_directory(logs, error) || !DirectoryIsWritable(logs)) {
        report.Problem("log directory: " + logs.string() + " is not a writable directory: give the users write access to it");
    } else {
        report.Ok("log directory: " + logs.string() + " is writable");
    }
}

// What the day log says about one station's listener.
struct StationSeen {
    std::string lastAlive, firstAlive, lastDatagram, lastSender;
    int bindErrors = 0, receiveErrors = 0, cycles = 0;
};

int SecondsOf(const std::string& time) { return static_cast<int>(TimeDiffSeconds(time.c_str(), "")); }

int NowSeconds() {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

void ReportStation(const std::string& name, const StationSeen& seen, bool today, Report& report) {
    std::string who = "station " + name + ": ";
    if (seen.lastAlive.empty()) {
        report.Warn(who + "no \"I'm alive\" line today: its listener never listened; is the host running there?");
    } else if (today && NowSeconds() - SecondsOf(seen.lastAlive) > kAliveSeconds) {
        report.Warn(who + "last \"I'm alive\" at " + seen.lastAlive + ": its listener has stopped, or the host was closed; restart the host there");
    } else {
        report.Ok(who + "last \"I'm alive\" at " + seen.lastAlive);
    }
    if (!seen.lastDatagram.empty())
        report.Ok(who + "last datagram at " + seen.lastDatagram + " from " + seen.lastSender);
    else if (!seen.firstAlive.empty() && SecondsOf(seen.lastAlive) - SecondsOf(seen.firstAlive) >= kSilentBoxSeconds)
        report.Warn(who + "alive from " + seen.firstAlive + " to " + seen.lastAlive +
                    " and no datagram from the box: the box may be silent; check its power and cable, and that it sends to this station (or the broadcast address) on the plug-in's port");
    if (seen.bindErrors) report.Warn(who + std::to_string(seen.bindErrors) + " bind() error line(s): another program held the port for a while (10048)");
    if (seen.receiveErrors) report.Warn(who + std::to_string(seen.receiveErrors) + " recvfrom() error line(s)");
    if (seen.cycles > 1) report.Ok(who + std::to_string(seen.cycles - 1) + " listener restart(s)");
}

// Returns the stations seen, keyed "COMPUTER s=N".
std::map<std::string, StationSeen> CheckDayLog(const fs::path& dir, const std::string& date, Report& report) {
    std::map<std::string, StationSeen> stations;
    fs::path file = DayLogFor(dir.string(), date);
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        report.Warn("day log: no " + file.string() + ": nothing logged that day (is \"Twórz LOG\" on and the host running?)");
        return stations;
    }
    std::string line;
    DayLogCounts counts;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        DayLogLine parsed = ParseDayLogLine(line);
        counts.Add(parsed);
        if (parsed.kind != DayLogLine::Kind::Event) continue;
        StationSeen& seen = stations[parsed.computer + " s=" + parsed.station];
        if (IsAliveLine(parsed)) {
            if (seen.firstAlive.empty()) seen.firstAlive = parsed.time;
            seen.lastAlive = parsed.time;
        } else if (IsDatagramLine(parsed) && !IsControlWord(parsed.firstField)) {
            seen.lastDatagram = parsed.time;
            seen.lastSender = parsed.sender;
        } else if (parsed.message.rfind("bind() error", 0) == 0) {
            ++seen.bindErrors;
        } else if (parsed.message.rfind("recvfrom() error", 0) == 0) {
            ++seen.receiveErrors;
        } else if (parsed.message.rfind("UDPoling() - rozpoczeto nasluch", 0) == 0) {
            ++seen.cycles;
        }
    }
    report.Ok("day log: " + file.string() + ": " + counts.Summary());
    bool today = date == TodayDate();
    for (const auto& [name, seen] : stations) ReportStation(name, seen, today, report);
    return stations;
}

void CheckPort(long port, const std::map<std::string, StationSeen>& stations, Report& report) {
    UdpReceiver probe;
    std::string error;
    std::string what = "UDP port " + std::to_string(port);
    switch (probe.BindPort(static_cast<uint16_t>(port), error)) {
        case UdpReceiver::Bind::Bound:
            report.Ok(what + " is free (no listener runs on this station now)");
            return;
        case UdpReceiver::Bind::Failed:
            report.Problem(what + " cannot be tried: " + error);
            return;
        case UdpReceiver::Bind::InUse: break;
    }
    std::string self = StationComputerName();
    for (const auto& [name, seen] : stations)
        if (!self.empty() && name.rfind(self + " ", 0) == 0 && !seen.lastAlive.empty() &&
            NowSeconds() - SecondsOf(seen.lastAlive) <= kAliveSeconds) {
            report.Ok(what + " is held by the plug-in's listener (alive at " + seen.lastAlive + ")");
            return;
        }
    report.Problem(what + " is held, and today's day log shows no live listener of this station: another program holds it; "
                   "find it (netstat -ano -p udp, or ss -ulpn) and close it, or the host runs with its day log off");
}

}  // namespace

int RunDoctorCommand(int argc, char** args) {
    std::string dirName = ".", hostIni, date = TodayDate();
    bool dirGiven = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--host-ini") == 0 && i + 1 < argc) hostIni = args[++i];
        else if (std::strcmp(args[i], "--date") == 0 && i + 1 < argc) date = args[++i];
        else if (args[i][0] != '-' && !dirGiven) dirName = args[i], dirGiven = true;
        else {
            PrintTo(stderr, "%s", "usage: callerid doctor [DIR] [--host-ini FILE] [--date DD-MM-YYYY]\n");
            return 2;
        }
    }
    fs::path dir = HostPath({}, dirName);
    std::error_code error;
    if (!fs::is_directory(dir, error)) {
        PrintTo(stderr, "callerid doctor: %s is no directory\n", dirName.c_str());
        return 2;
    }
    Report report;
    Settings settings = CheckPytaj(hostIni.empty() ? dir / "MERLOX.INI" : HostPath({}, hostIni), report);
    CheckSlotFile(CheckFilename(dir, report), report);
    CheckLogDirectory(dir, report);
    auto stations = CheckDayLog(dir, date, report);
    if (settings.port >= 1 && settings.port <= 65535) CheckPort(settings.port, stations, report);
    Print("%d problem(s)\n", report.problems());
    return report.problems() == 0 ? 0 : 1;
}
