// callerid doctor [DIR] [--host-ini FILE] [--date DD-MM-YYYY]
// [--program-dir DIR]: one line per check, each OK, WARN (worth a look) or
// PROBLEM with what to do. The exit code is 0 only when no check found a
// problem. The checks: the plug-in and the host's main module beside the
// tool, that the plug-in ever ran in the working directory, which
// MERLOX.INI holds the host's settings and its Pytaj, Ornitel.ini's
// Filename, the slot file and its lock file, LOGS\TELEFONY\, the UDP port,
// and from the day log the listener of each station that writes it.
//
// The plug-in names no file for the host's settings: the host's own
// settings service keeps them where the host chooses. The setup reads the
// program folder's MERLOX.INI; the reference host keeps it in its working
// folder. So the doctor takes the program folder's when there is one, else
// the working folder's, says which, and calls it a problem when both are
// there and name different ports, or when a station's listener runs on
// another port than the one checked.
#include <algorithm>
#include <cctype>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <system_error>

#include "commands/commands.h"
#include "commands/doctor_senders.h"
#include "ini/ini_file.h"
#include "ini/plugin_settings_keys.h"
#include "log/day_log_events.h"
#include "output/counted_words.h"
#include "output/exit_codes.h"
#include "output/messages.h"
#include "output/text_layout.h"
#include "reading/day_log_lines.h"
#include "reading/host_directory.h"
#include "reading/slot_file.h"
#include "system/files.h"
#include "system/station.h"
#include "system/udp_receiver.h"
#include "text/mazovia_utf8.h"
#include "udp/call_rules.h"
#include "udp/port_rule.h"

namespace fs = std::filesystem;

namespace {

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
    // A long text goes on under itself, past the verdict.
    static void Line(const char* verdict, const std::string& text) {
        Print("%s", Wrapped(std::string(verdict) + " " + text, 8, 0).c_str());
    }
    int problems_ = 0;
};

struct Settings {
    long options = 0, slot = 0, port = kBoxPort;
};

bool SameName(std::string a, std::string b) {
    auto lower = [](std::string& s) { std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); }); };
    lower(a);
    lower(b);
    return a == b;
}

// The file named so in directory, whatever the case of its letters.
bool HasFile(const fs::path& directory, const std::string& name) {
    std::error_code error;
    for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error))
        if (SameName(Utf8Of(it->path().filename()), name) && it->is_regular_file(error)) return true;
    return false;
}

void CheckProgramDirectory(const fs::path& programs, Report& report) {
    std::error_code error;
    if (!fs::is_directory(programs, error)) {
        report.Problem(Say(Msg::ProgramDirMissing, Shown(programs).c_str()));
        return;
    }
    std::string where = Shown(programs);
    if (HasFile(programs, PluginFileName())) report.Ok(Say(Msg::PluginFound, PluginFileName(), where.c_str()));
    else report.Problem(Say(Msg::PluginMissing, PluginFileName(), where.c_str()));
    if (HasFile(programs, HostModuleFileName())) report.Ok(Say(Msg::HostModuleFound, HostModuleFileName(), where.c_str()));
    else report.Problem(Say(Msg::HostModuleMissing, HostModuleFileName(), where.c_str()));
}

// The plug-in leaves Ornitel.ini or LOGS\TELEFONY\ wherever it ran once.
bool PluginEverRan(const fs::path& dir, Report& report) {
    std::error_code error;
    if (HasFile(dir, kPluginIniFileName) || fs::exists(HostPath(dir, "LOGS\\TELEFONY"), error)) return true;
    report.Problem(Say(Msg::NeverRan, Shown(dir).c_str()));
    return false;
}

// The host's settings file taken must be a readable INI file.
bool HostIniIsUsable(const fs::path& ini, Report& report) {
    std::string bytes;
    FileRead read = ReadWholeFile(ini, bytes);
    std::string shown = Shown(ini);
    if (read == FileRead::Missing) report.Problem(Say(Msg::HostIniMissing, shown.c_str()));
    else if (read == FileRead::Directory) report.Problem(Say(Msg::HostIniIsDirectory, shown.c_str()));
    else if (read == FileRead::Unreadable) report.Problem(Say(Msg::HostIniUnreadable, shown.c_str()));
    if (read != FileRead::Read) return false;
    std::vector<std::string> notUnderstood;
    refhost::IniFile::Parse(bytes, notUnderstood);
    std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
    if (LooksBinary(bytes) || notUnderstood.size() * 2 > lines) {
        report.Problem(Say(Msg::HostIniNotIni, shown.c_str()));
        return false;
    }
    return true;
}

Settings CheckPytaj(const fs::path& ini, Report& report) {
    Settings settings;
    std::optional<std::string> value = IniValue(ini, kPluginSettingsSection, kPluginNumbersKey);
    if (!value) {
        report.Warn(Say(Msg::PytajMissing, Shown(ini).c_str()));
        return settings;
    }
    long n[4];
    if (!ParsePytaj(*value, n)) {
        report.Problem(Say(Msg::PytajNotNumbers, value->c_str(), Shown(ini).c_str()));
        return settings;
    }
    settings = {n[1], n[2], PortInUse(n[3])};
    bool sound = true;
    if (n[1] < 0 || (n[1] & ~7L) != 0) {
        report.Problem(Say(Msg::PytajBadOptions, value->c_str(), n[1]));
        sound = false;
    }
    if (n[2] < 0 || n[2] > 9) {
        report.Problem(Say(Msg::PytajBadSlot, value->c_str(), n[2] + 1));
        sound = false;
    }
    if (n[3] != 0 && !PortIsWritten(n[3])) {
        report.Problem(Say(Msg::PytajBadPort, value->c_str(), n[3], static_cast<long>(PortInUse(n[3]))));
        sound = false;
    }
    if (sound) report.Ok(Say(Msg::PytajOk, value->c_str(), n[1], n[2] + 1, settings.port));
    if (sound && !(n[1] & 4)) report.Warn(T(Msg::DayLogOff));
    return settings;
}

bool DirectoryIsWritable(const fs::path& directory) {
    fs::path probe = directory / ".callerid-doctor-probe";
    std::FILE* out = OpenFile(probe, "wb");
    if (!out) return false;
    bool written = std::fputc('x', out) != EOF;
    written = std::fclose(out) == 0 && written;
    std::error_code error;
    return fs::remove(probe, error) && written;
}

fs::path CheckFilename(const fs::path& dir, Report& report) {
    std::optional<std::string> stored = IniValue(dir / kPluginIniFileName, kPluginSettingsSection, kPluginFileNameKey);
    if (!stored || stored->empty()) {
        report.Ok(T(Msg::FilenameDefault));
        return HostPath(dir, "LOGS\\TELEFONY\\CLIP.DAT");
    }
    std::string name = refhost::MazoviaToUtf8(*stored);   // the plug-in's texts are Mazovia
    fs::path file = HostPath(dir, name);
    fs::path parent = file.parent_path().empty() ? dir : file.parent_path();
    std::error_code error;
    if (!fs::is_directory(parent, error)) report.Problem(Say(Msg::FilenameNoDirectory, name.c_str(), Shown(parent).c_str()));
    else if (!DirectoryIsWritable(parent)) report.Problem(Say(Msg::FilenameNotWritable, name.c_str()));
    else report.Ok(Say(Msg::FilenameOk, name.c_str()));
    return file;
}

void CheckSlotFile(const fs::path& file, Report& report) {
    std::string bytes;
    std::string shown = Shown(file);
    FileRead read = ReadWholeFile(file, bytes);
    if (read == FileRead::Missing) {
        report.Ok(Say(Msg::SlotFileNotYet, shown.c_str()));
        return;
    }
    if (read == FileRead::Directory) {
        report.Problem(Say(Msg::SlotFileIsDirectory, shown.c_str()));
        return;
    }
    if (read != FileRead::Read) {
        report.Problem(Say(Msg::SlotFileUnreadable, shown.c_str()));
        return;
    }
    SlotFile slots = ReadSlotRecords(bytes);
    if (!slots.rightSize() || slots.fieldWithoutEnd >= 0) {
        report.Problem(Say(Msg::SlotFileBad, shown.c_str(), Counted(bytes.size(), Noun::Byte).c_str(), kSlotFileBytes,
                                   Counted(slots.slots.size(), Noun::WholeRecord).c_str()));
        return;
    }
    std::set<std::string> targets;
    int taken = 0;
    for (std::size_t slot = 0; slot < slots.slots.size(); ++slot) {
        const SlotRecord& record = slots.slots[slot];
        if (record.free) continue;
        ++taken;
        if (!record.target.empty() && !targets.insert(record.target).second)
            report.Warn(Say(Msg::SlotFileDoubleTarget, shown.c_str(), refhost::MazoviaToUtf8(record.target).c_str()));
    }
    report.Ok(Say(Msg::SlotFileOk, shown.c_str(), Counted(kSlotFileBytes, Noun::Byte).c_str(), taken));
}

// Stations that share the folder take turns on the slot file through a lock
// on the file beside it. The plug-in makes it when it is missing, and opens
// it for reading and writing, or for reading alone, which is enough for
// the lock.
void CheckLockFile(const fs::path& slotFile, Report& report) {
    fs::path lock = slotFile;
    lock += ".lck";
    std::error_code error;
    if (!fs::exists(lock, error)) return;
    std::string shown = Shown(lock);
    if (fs::is_directory(lock, error)) report.Problem(Say(Msg::LockFileIsDirectory, shown.c_str()));
    else if (!CanOpenForReading(lock)) report.Problem(Say(Msg::LockFileUnreadable, shown.c_str()));
    else report.Ok(Say(Msg::LockFileOk, shown.c_str()));
}

void CheckLogDirectory(const fs::path& dir, Report& report) {
    fs::path logs = HostPath(dir, "LOGS\\TELEFONY");
    std::error_code error;
    if (!fs::exists(logs, error)) {
        if (DirectoryIsWritable(dir)) report.Ok(T(Msg::LogDirNotYet));
        else report.Problem(Say(Msg::LogDirCannotMake, Shown(dir).c_str()));
    } else if (!fs::is_directory(logs, error) || !DirectoryIsWritable(logs)) {
        report.Problem(Say(Msg::LogDirNotWritable, Shown(logs).c_str()));
    } else {
        report.Ok(Say(Msg::LogDirOk, Shown(logs).c_str()));
    }
}

// What the day log says about one station's listener.
struct StationSeen {
    std::string lastAlive, firstAlive, lastDatagram, lastSender, listeningSince;
    int bindErrors = 0, receiveErrors = 0, cycles = 0;
    long listeningPort = 0;   // from the last "rozpoczeto nasluch" line; 0 when none
    std::string clockOff, clockOffSince;   // the plug-in's last word on its clock: off by so many seconds
    std::string noLockSince;  // the last line saying it has no lock between stations
    int noLockCode = 0;
};

// The system's code of a line saying the station has no lock between
// stations (formats/log/day_log_events.h); false for any other line.
bool NoStationLockCode(std::string_view message, int* code) {
    std::string text = refhost::MazoviaToUtf8(message);
    const std::string start(EventText(kNoStationLockEventStart));
    const std::string before(EventText(kNoStationLockEventCode));
    if (text.rfind(start, 0) != 0) return false;
    std::size_t at = text.find(before);
    *code = at == std::string::npos ? 0 : std::atoi(text.c_str() + at + before.size());
    return true;
}

int SecondsOf(const std::string& time) { return static_cast<int>(TimeDiffSeconds(time.c_str(), "")); }

int NowSeconds() {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

// The plug-in's lines on its clock against the server's
// (formats/log/day_log_events.h): the difference in seconds of the last
// that found it off, none after one that found it agreeing. True for a
// line that found it off.
bool NoteClockLine(const DayLogLine& line, std::string& off) {
    std::string text = refhost::MazoviaToUtf8(line.message);
    if (text == reinterpret_cast<const char*>(kClockAgreesEvent)) {
        off.clear();
        return false;
    }
    const std::string start(reinterpret_cast<const char*>(kClockDiffersEventStart));
    if (text.rfind(start, 0) != 0) return false;
    off = text.substr(start.size(), text.find(' ', start.size()) - start.size());
    return true;
}

void ReportStation(const std::string& name, const StationSeen& seen, bool today, Report& report) {
    const char* who = name.c_str();
    // Restarts closer together than the 10 s between "I'm alive" lines
    // leave none, yet each began listening: its last sign of life counts.
    std::string lastSign = std::max({seen.lastAlive, seen.listeningSince, seen.lastDatagram});
    if (lastSign.empty()) report.Warn(Say(Msg::StationNeverAlive, who));
    else if (today && NowSeconds() - SecondsOf(lastSign) > kAliveSeconds) report.Warn(Say(Msg::StationStopped, who, lastSign.c_str()));
    else report.Ok(Say(Msg::StationAlive, who, lastSign.c_str()));
    if (!seen.lastDatagram.empty())
        report.Ok(Say(Msg::StationLastDatagram, who, seen.lastDatagram.c_str(), seen.lastSender.c_str()));
    else if (!seen.firstAlive.empty() && SecondsOf(seen.lastAlive) - SecondsOf(seen.firstAlive) >= kSilentBoxSeconds)
        report.Warn(Say(Msg::StationSilentBox, who, seen.firstAlive.c_str(), seen.lastAlive.c_str()));
    if (seen.bindErrors) report.Warn(Say(Msg::StationBindErrors, who, Counted(seen.bindErrors, Noun::BindErrorLine).c_str()));
    if (seen.receiveErrors) report.Warn(Say(Msg::StationReceiveErrors, who, Counted(seen.receiveErrors, Noun::ReceiveErrorLine).c_str()));
    if (!seen.clockOff.empty()) report.Problem(Say(Msg::StationClockOff, who, seen.clockOff.c_str(), seen.clockOffSince.c_str()));
    if (seen.cycles > 1) report.Ok(Say(Msg::StationRestarts, who, Counted(seen.cycles - 1, Noun::ListenerRestart).c_str()));
    if (!seen.noLockSince.empty()) report.Problem(Say(Msg::StationNoLock, who, seen.noLockCode, seen.noLockSince.c_str()));
}

// Returns the stations seen, keyed "COMPUTER s=N".
std::map<std::string, StationSeen> CheckDayLog(const fs::path& dir, const std::string& date, Report& report) {
    std::map<std::string, StationSeen> stations;
    fs::path file = DayLogFor(Utf8Of(dir), date);
    std::string bytes;
    FileRead read = ReadWholeFile(file, bytes);
    if (read == FileRead::Missing) {
        report.Warn(Say(Msg::DayLogMissing, Shown(file).c_str()));
        return stations;
    }
    if (read != FileRead::Read || LooksBinary(bytes)) {
        report.Problem(Say(Msg::DayLogUnreadable, Shown(file).c_str()));
        return stations;
    }
    DayLogTally tally;
    std::istringstream in(bytes);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        DayLogTally::Taken taken = tally.Add(line);
        const DayLogLine& parsed = taken.line;
        if (parsed.kind != DayLogLine::Kind::Event) continue;
        StationSeen& seen = stations[taken.station];
        if (IsAliveLine(parsed)) {
            if (seen.firstAlive.empty()) seen.firstAlive = parsed.time;
            seen.lastAlive = parsed.time;
        } else if (IsDatagramLine(parsed) && !IsControlWord(parsed.firstField)) {
            seen.lastDatagram = parsed.time;
            seen.lastSender = parsed.sender;
        } else if (parsed.message.rfind(EventText(kBindErrorEventStart), 0) == 0) {
            ++seen.bindErrors;
        } else if (parsed.message.rfind(EventText(kReceiveErrorEventStart), 0) == 0) {
            ++seen.receiveErrors;
        } else if (NoteClockLine(parsed, seen.clockOff)) {
            seen.clockOffSince = parsed.time;
        } else if (NoStationLockCode(parsed.message, &seen.noLockCode)) {
            seen.noLockSince = parsed.time;
        } else if (parsed.message.rfind(EventText(kListeningEventStart), 0) == 0) {
            ++seen.cycles;
            std::size_t digits = parsed.message.find_last_not_of("0123456789");
            seen.listeningPort = std::atol(parsed.message.c_str() + (digits == std::string::npos ? 0 : digits + 1));
            seen.listeningSince = parsed.time;
        }
    }
    if (tally.lines() > 0 && tally.recognised() == 0) {
        report.Problem(Say(Msg::DayLogUnreadable, Shown(file).c_str()));
        return stations;
    }
    report.Ok(Say(Msg::DayLogOk, Shown(file).c_str(), tally.Summary().c_str()));
    bool today = date == TodayDate();
    for (const auto& [name, seen] : stations) ReportStation(name, seen, today, report);
    return stations;
}

void CheckPort(long port, const std::map<std::string, StationSeen>& stations, Report& report) {
    UdpReceiver probe;
    std::string error;
    switch (probe.BindPort(static_cast<uint16_t>(port), error)) {
        case UdpReceiver::Bind::Bound:
            report.Ok(Say(Msg::PortFree, port));
            return;
        case UdpReceiver::Bind::Failed:
            report.Problem(Say(Msg::PortCannotTry, port, error.c_str()));
            return;
        case UdpReceiver::Bind::InUse: break;
    }
    std::string self = StationComputerName();
    for (const auto& [name, seen] : stations)
        if (!self.empty() && name.rfind(self + " ", 0) == 0 && !seen.lastAlive.empty() &&
            NowSeconds() - SecondsOf(seen.lastAlive) <= kAliveSeconds) {
            report.Ok(Say(Msg::PortHeldByPlugin, port, seen.lastAlive.c_str()));
            return;
        }
    report.Problem(Say(Msg::PortHeldByOther, port, PortHolderCommand(), ProgramListCommand()));
}

// The port in a settings file's Pytaj as the plug-in takes it: 1338 when
// the key is missing or unreadable.
long PortNamedIn(const fs::path& ini) {
    std::optional<std::string> value = IniValue(ini, kPluginSettingsSection, kPluginNumbersKey);
    long n[4];
    return value && ParsePytaj(*value, n) ? PortInUse(n[3]) : kBoxPort;
}

bool IsFile(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The host's settings file: the one given, else the program folder's
// MERLOX.INI, else the working folder's; nothing when there is none. Says
// which it took, and a problem when the two folders' files name different
// ports (the setup's firewall rules follow the program folder's).
std::optional<fs::path> HostSettingsFile(const fs::path& dir, const fs::path& programs, const std::string& given,
                                         Report& report) {
    if (!given.empty()) {
        fs::path ini = HostPath({}, given);
        std::error_code error;
        if (fs::is_regular_file(ini, error)) report.Ok(Say(Msg::HostIniGiven, Shown(ini).c_str()));
        return ini;   // what is wrong with another the usability check says
    }
    fs::path inPrograms = programs / "MERLOX.INI", inWorking = dir / "MERLOX.INI";
    // A host run without administrator rights from Program Files reads
    // Windows' copy of its settings, while the setup read the file itself.
    std::optional<fs::path> copy = VirtualStoreCopy(inPrograms);
    if (copy && IsFile(inPrograms) && PortNamedIn(inPrograms) != PortNamedIn(*copy))
        report.Problem(Say(Msg::HostIniVirtualPortsDiffer, Shown(inPrograms).c_str(), PortNamedIn(inPrograms),
                           Shown(*copy).c_str(), PortNamedIn(*copy)));
    if (copy) inPrograms = *copy;
    std::error_code error;
    bool both = IsFile(inPrograms) && IsFile(inWorking) && !fs::equivalent(inPrograms, inWorking, error);
    if (both && fs::is_regular_file(inPrograms, error) && fs::is_regular_file(inWorking, error) &&
        PortNamedIn(inPrograms) != PortNamedIn(inWorking))
        report.Problem(Say(Msg::HostIniPortsDiffer, Shown(inPrograms).c_str(), PortNamedIn(inPrograms),
                           Shown(inWorking).c_str(), PortNamedIn(inWorking)));
    if (IsFile(inPrograms)) {
        report.Ok(Say(copy ? Msg::HostIniFromVirtualStore : Msg::HostIniFromProgramDir, Shown(inPrograms).c_str()));
        return inPrograms;
    }
    if (IsFile(inWorking)) {
        report.Ok(Say(Msg::HostIniFromWorkingDir, Shown(inWorking).c_str()));
        return inWorking;
    }
    report.Warn(Say(Msg::HostIniNone, Shown(programs).c_str(), Shown(dir).c_str()));
    return std::nullopt;
}

// A station whose listener runs on another port than the settings name
// hears nothing the box sends there: a problem today, worth a look on a
// day gone by.
void CheckListeningPorts(const std::map<std::string, StationSeen>& stations, long port, const std::string& settingsShown,
                         bool today, Report& report) {
    for (const auto& [name, seen] : stations) {
        if (seen.listeningPort == 0 || PortInUse(seen.listeningPort) == port) continue;
        std::string text = Say(Msg::PluginPortDiffers, name.c_str(), seen.listeningSince.c_str(), seen.listeningPort,
                               settingsShown.c_str(), port);
        if (today) report.Problem(text);
        else report.Warn(text);
    }
}

void ReportFindings(const std::vector<DoctorFinding>& findings, Report& report) {
    for (const DoctorFinding& finding : findings) {
        if (finding.level == DoctorFinding::Level::Ok) report.Ok(finding.text);
        else if (finding.level == DoctorFinding::Level::Warn) report.Warn(finding.text);
        else report.Problem(finding.text);
    }
}

// Another port than the box's usual one needs its own firewall rules: the
// commands are laid out for the command prompt, where they run pasted whole.
void PrintFirewallRules(long port) {
    std::string number = std::to_string(port);
    Print("%s\n", Say(Msg::FirewallForPort, port).c_str());
    Print("%s", CommandWrapped("callerid firewall add --port " + number, 2).c_str());
    Print("%s", CommandWrapped("netsh advfirewall firewall add rule name=\"Caller ID UDP " + number + " in\" dir=in "
                               "action=allow protocol=UDP localport=" + number + " remoteip=localsubnet", 2).c_str());
    Print("%s", CommandWrapped("netsh advfirewall firewall add rule name=\"Caller ID UDP " + number + " broadcast out\" "
                               "dir=out action=allow protocol=UDP remoteport=" + number + " remoteip=255.255.255.255", 2).c_str());
}

}  // namespace

int RunDoctorCommand(int argc, char** args) {
    std::string dirName = ".", hostIni, date = TodayDate(), programDir = ExecutableDirectory();
    bool dirGiven = false;
    for (int i = 0; i < argc; ++i) {
        std::string option = args[i];
        if (option == "--host-ini" || option == "--date" || option == "--program-dir") {
            if (i + 1 >= argc) return Fail(kBadUsage, "doctor", Msg::NeedsValue, option.c_str());
            std::string value = args[++i];
            if (option == "--host-ini" && !GivenPathExists(value))
                return Fail(kBadUsage, "doctor", Msg::NoSuchFileGiven, option.c_str(), value.c_str());
            if (option == "--program-dir" && !GivenFolderExists(value))
                return Fail(kBadUsage, "doctor", Msg::NoSuchFolderGiven, option.c_str(), value.c_str());
            if (option == "--host-ini") hostIni = value;
            else if (option == "--program-dir") programDir = value;
            else if (IsDayDate(value)) date = value;
            else return Fail(kBadUsage, "doctor", Msg::BadDate, value.c_str());
        } else if (args[i][0] != '-' && !dirGiven) {
            dirName = args[i];
            dirGiven = true;
        } else {
            return Fail(kBadUsage, "doctor", Msg::UnexpectedArgument, args[i]);
        }
    }
    fs::path dir = HostPath({}, dirName);
    std::error_code error;
    if (!fs::exists(dir, error)) return FailOnFile("doctor", dir, FileRead::Missing);
    if (!fs::is_directory(dir, error)) return Fail(kUnreadable, "doctor", Msg::NoDirectory, Shown(dir).c_str());
    Report report;
    fs::path programs = HostPath({}, programDir);
    CheckProgramDirectory(programs, report);
    bool ran = PluginEverRan(dir, report);
    std::optional<fs::path> ini = HostSettingsFile(dir, programs, hostIni, report);
    Settings settings;
    if (ini && HostIniIsUsable(*ini, report)) settings = CheckPytaj(*ini, report);
    if (ran) {
        fs::path slotFile = CheckFilename(dir, report);
        CheckSlotFile(slotFile, report);
        CheckLockFile(slotFile, report);
        CheckLogDirectory(dir, report);
    }
    auto stations = ran ? CheckDayLog(dir, date, report) : std::map<std::string, StationSeen>{};
    if (ran) ReportFindings(CheckSenders(dir), report);
    if (ran) ReportFindings(CheckRefusedAndSlotless(DayLogFor(Utf8Of(dir), date)), report);
    CheckListeningPorts(stations, settings.port, ini ? Shown(*ini) : std::string("MERLOX.INI"), date == TodayDate(), report);
    CheckPort(settings.port, stations, report);
    if (settings.port != kBoxPort) PrintFirewallRules(settings.port);
    Print("%s\n", Say(Msg::ProblemCount, Counted(report.problems(), Noun::Problem).c_str()).c_str());
    return report.problems() == 0 ? kDone : kProblemsFound;
}
