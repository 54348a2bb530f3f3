// The senders in force from Ornitel.ini; the refused senders and the calls
// without a free slot from the plug-in's lines of the day log.
#include "commands/doctor_senders.h"

#include <cstdlib>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include "output/messages.h"
#include "output/text_layout.h"
#include "reading/day_log_lines.h"
#include "reading/host_directory.h"
#include "reading/senders_setting.h"
#include "text/mazovia_utf8.h"

namespace {

// The plug-in's lines, as it writes them in Mazovia.
constexpr std::string_view kRefused = "Odrzucono datagramy od ";
constexpr std::string_view kNoFreeSlot = "Brak wolnych slot";
constexpr std::string_view kNoFreeSlotTarget = " - > ";

struct Refusals {
    long count = 0;
    std::string last;
};

struct Slotless {
    std::set<std::tuple<std::string, std::string>> calls;   // time and the line's names
    std::string since;
    std::set<std::string> targets;
};

void TakeRefusal(const DayLogLine& line, std::map<std::pair<std::string, std::string>, Refusals>& refused) {
    std::string_view rest = std::string_view(line.message).substr(kRefused.size());
    std::size_t colon = rest.find(": ");
    if (colon == std::string_view::npos) return;
    Refusals& seen = refused[{line.station.empty() ? line.computer : line.computer + " s=" + line.station,
                              std::string(rest.substr(0, colon))}];
    seen.count += std::atol(std::string(rest.substr(colon + 2)).c_str());
    seen.last = line.time;
}

void TakeSlotless(const DayLogLine& line, Slotless& slotless) {
    std::size_t arrow = line.message.rfind(kNoFreeSlotTarget);
    if (arrow == std::string::npos) return;
    if (slotless.since.empty()) slotless.since = line.time;
    slotless.calls.insert({line.time, line.message});   // stations sharing a folder each write it
    slotless.targets.insert(refhost::MazoviaToUtf8(line.message.substr(arrow + kNoFreeSlotTarget.size())));
}

}  // namespace

std::vector<DoctorFinding> CheckSenders(const std::filesystem::path& directory) {
    SendersSetting setting = ReadSenders(directory);
    std::string file = Shown(setting.file);
    std::vector<DoctorFinding> findings;
    if (setting.list.anywhere) findings.push_back({DoctorFinding::Level::Warn, Say(Msg::SendersAnywhere, file.c_str())});
    else if (setting.list.count == 0) findings.push_back({DoctorFinding::Level::Ok, Say(Msg::SendersNotSet, file.c_str())});
    else findings.push_back({DoctorFinding::Level::Ok, Say(Msg::SendersListed, file.c_str(), SendersText(setting.list).c_str())});
    if (setting.bad > 0)
        findings.push_back({DoctorFinding::Level::Warn,
                            Say(Msg::SendersBadStored, file.c_str(), Escaped(setting.firstBad).c_str())});
    return findings;
}

std::vector<DoctorFinding> CheckRefusedAndSlotless(const std::filesystem::path& dayLog) {
    std::vector<DoctorFinding> findings;
    std::string bytes;
    if (ReadWholeFile(dayLog, bytes) != FileRead::Read) return findings;
    std::map<std::pair<std::string, std::string>, Refusals> refused;
    Slotless slotless;
    std::istringstream in(bytes);
    for (std::string text; std::getline(in, text);) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        DayLogLine line = ParseDayLogLine(text);
        if (line.kind != DayLogLine::Kind::Event) continue;
        if (line.message.rfind(kRefused, 0) == 0) TakeRefusal(line, refused);
        else if (line.message.rfind(kNoFreeSlot, 0) == 0) TakeSlotless(line, slotless);
    }
    for (const auto& [key, seen] : refused) {
        std::string sender = Escaped(key.second);
        findings.push_back({DoctorFinding::Level::Problem,
                            Say(Msg::DoctorRefusedSender, Escaped(key.first).c_str(), static_cast<int>(seen.count),
                                sender.c_str(), seen.last.c_str(), sender.c_str())});
    }
    if (!slotless.calls.empty()) {
        std::string targets;
        for (const std::string& target : slotless.targets) targets += (targets.empty() ? "" : ", ") + Escaped(target);
        findings.push_back({DoctorFinding::Level::Problem,
                            Say(Msg::DoctorNoFreeSlot, static_cast<int>(slotless.calls.size()), slotless.since.c_str(),
                                targets.c_str())});
    }
    return findings;
}
