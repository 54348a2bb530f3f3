// callerid firewall add|remove [--port PORT] [--program-dir DIR]: this
// station's two Windows firewall rules for the plug-in's port, under the
// names the setup gives them, so that the setup, its uninstaller and this
// command manage the same rules. It is how each station of a shared program
// folder gets its rules: the folder is installed once, the rules live on
// every station. A rule is always deleted by name before it is added, so a
// second add replaces rather than copies.
//
// --from ADDRESS... scopes the inbound rule to the boxes' addresses
// (addresses, ranges, subnets, as in Nadawcy) and the local subnet, which
// the stations' own restarts come from; without it the rule takes the
// local subnet alone.
//
// The port: --port, else the port the fourth number of Pytaj= in [Ornitel]
// means (udp/port_rule.h, as the plug-in and the setup take it) of
// MERLOX.INI in the program folder (the tool's own, or --program-dir),
// else in the working folder's, as the setup reads the program folder's;
// 1338 when neither file names one.
//
// Nothing is reported done that was not: a rule is "not there" only when
// netsh ran and found none; when netsh cannot be run, or fails, the rule
// is named with why, and the exit code is 5.
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>

#include "commands/commands.h"
#include "output/text_layout.h"
#include "reading/senders_setting.h"
#include "commands/destination.h"
#include "ini/plugin_settings_keys.h"
#include "output/exit_codes.h"
#include "output/messages.h"
#include "reading/host_directory.h"
#include "system/firewall.h"
#include "system/station.h"
#include "udp/port_rule.h"

namespace fs = std::filesystem;

namespace {

struct Rule {
    std::string name;
    std::string settings;   // netsh's words after the name
};

Rule InboundRule(long port, const std::string& remote) {
    return {"Caller ID UDP " + std::to_string(port) + " in",
            "dir=in action=allow protocol=UDP localport=" + std::to_string(port) + " remoteip=" + remote};
}

// netsh's remoteip for the boxes' entries (comma-separated in one word or
// given one by one) and the local subnet; false after naming a bad entry.
bool TakeRemoteAddresses(const std::string& words, SenderList& boxes) {
    std::size_t offset = 0, length = 0;
    SenderList taken;
    if (ParseSenderList(words.c_str(), &taken, &offset, &length) > 0) {
        Fail(kBadUsage, "firewall", Msg::BadSender, Escaped(words.substr(offset, length)).c_str());
        return false;
    }
    for (int i = 0; i < taken.count; ++i) AddSenderRange(&boxes, taken.ranges[i]);
    boxes.anywhere = boxes.anywhere || taken.anywhere;
    return true;
}

std::string RemoteIp(const SenderList& boxes) {
    if (boxes.anywhere) return "any";
    std::string text = SendersText(boxes);
    return text.empty() ? "localsubnet" : text + ",localsubnet";
}

Rule BroadcastRule(long port) {
    return {"Caller ID UDP " + std::to_string(port) + " broadcast out",
            "dir=out action=allow protocol=UDP remoteport=" + std::to_string(port) + " remoteip=255.255.255.255"};
}

long Netsh(const std::string& verb, const Rule& rule, const std::string& more, std::string& output) {
    std::string arguments = "advfirewall firewall " + verb + " rule name=\"" + rule.name + "\"";
    if (!more.empty()) arguments += " " + more;
    return RunNetsh(arguments, output);
}

// How netsh ended, in words, with what it printed.
std::string NetshOutcome(long code, const std::string& output) {
    if (code == -1) return Say(Msg::NetshNotStarted, output.c_str());
    std::string text = Say(Msg::NetshEnded, code);
    return output.empty() ? text : text + ": " + output;
}

// The port of the settings, and a line that says where it came from; false
// (after saying why) when a Pytaj= names no usable port.
bool SettingsPort(const fs::path& programs, long& port) {
    port = kBoxPort;
    fs::path ini;
    std::error_code error;
    for (const fs::path& candidate : {programs / "MERLOX.INI", fs::path(".") / "MERLOX.INI"})
        if (fs::is_regular_file(candidate, error)) {
            ini = candidate;
            break;
        }
    if (ini.empty()) {
        Print("%s\n", Say(Msg::FirewallPortNoIni, kBoxPort, Shown(programs).c_str()).c_str());
        return true;
    }
    std::string shown = Shown(ini.has_root_directory() ? ini : fs::absolute(ini, error));
    std::optional<std::string> value = IniValue(ini, kPluginSettingsSection, kPluginNumbersKey);
    long numbers[4];
    if (!value || (ParsePytaj(*value, numbers) && numbers[3] == 0)) {
        Print("%s\n", Say(Msg::FirewallPortNone, kBoxPort, shown.c_str()).c_str());
        return true;
    }
    if (!ParsePytaj(*value, numbers)) {
        Fail(kUnreadable, "firewall", Msg::FirewallBadPytaj, value->c_str(), shown.c_str());
        return false;
    }
    port = PortInUse(numbers[3]);
    if (PortIsWritten(numbers[3]))
        Print("%s\n", Say(Msg::FirewallPortFrom, port, shown.c_str()).c_str());
    else
        PrintTo(stderr, "%s\n", Say(Msg::FirewallPortOutOfRange, port, value->c_str(), shown.c_str(), numbers[3], port, port).c_str());
    return true;
}

bool AddRule(const Rule& rule) {
    std::string output;
    Netsh("delete", rule, "", output);   // none there is no fault
    long code = Netsh("add", rule, rule.settings, output);
    if (code == 0) {
        Print("%s\n", Say(Msg::FirewallAdded, rule.name.c_str()).c_str());
        return true;
    }
    PrintTo(stderr, "callerid firewall: %s\n", Say(Msg::FirewallNotAdded, rule.name.c_str(), NetshOutcome(code, output).c_str()).c_str());
    return false;
}

// netsh fails alike for a rule it cannot delete and for one that is not
// there; asking for the rule afterwards tells them apart. A netsh that
// could not be run has found nothing, there or not.
bool RemoveRule(const Rule& rule) {
    std::string output;
    long code = Netsh("delete", rule, "", output);
    if (code == 0) {
        Print("%s\n", Say(Msg::FirewallRemoved, rule.name.c_str()).c_str());
        return true;
    }
    if (code != -1) {
        std::string shown;
        long asked = Netsh("show", rule, "", shown);
        if (asked != 0 && asked != -1) {
            Print("%s\n", Say(Msg::FirewallNoneThere, rule.name.c_str()).c_str());
            return true;
        }
        if (asked == -1) {
            code = asked;
            output = shown;
        }
    }
    PrintTo(stderr, "callerid firewall: %s\n", Say(Msg::FirewallNotRemoved, rule.name.c_str(), NetshOutcome(code, output).c_str()).c_str());
    return false;
}

}  // namespace

int RunFirewallCommand(int argc, char** args) {
    std::string action, programDir = ExecutableDirectory();
    long port = 0;
    SenderList boxes{};
    bool fromGiven = false;
    for (int i = 0; i < argc; ++i) {
        std::string option = args[i];
        if (option == "--from") {
            if (i + 1 >= argc) return Fail(kBadUsage, "firewall", Msg::NeedsValue, option.c_str());
            for (fromGiven = true; i + 1 < argc && args[i + 1][0] != '-'; ++i)
                if (!TakeRemoteAddresses(args[i + 1], boxes)) return kBadUsage;
        } else if (option == "--port" || option == "--program-dir") {
            if (i + 1 >= argc) return Fail(kBadUsage, "firewall", Msg::NeedsValue, option.c_str());
            std::string value = args[++i];
            if (option == "--program-dir" && !GivenFolderExists(value)) return Fail(kBadUsage, "firewall", Msg::NoSuchFolderGiven, option.c_str(), value.c_str());
            if (option == "--program-dir") programDir = value;
            else if (!ParsePort(value.c_str(), port)) return Fail(kBadUsage, "firewall", Msg::BadPort, value.c_str());
        } else if ((option == "add" || option == "remove") && action.empty()) {
            action = option;
        } else {
            return Fail(kBadUsage, "firewall", Msg::UnexpectedArgument, args[i]);
        }
    }
    if (action.empty()) return Fail(kBadUsage, "firewall", Msg::FirewallUsage);
    if (!HasWindowsFirewall()) return Fail(kBadUsage, "firewall", Msg::FirewallWindowsOnly);
    if (port != 0) Print("%s\n", Say(Msg::FirewallPortGiven, port).c_str());
    else if (!SettingsPort(HostPath({}, programDir), port)) return kUnreadable;
    if (fromGiven) Print("%s\n", Say(Msg::FirewallRemoteAddresses, RemoteIp(boxes).c_str()).c_str());
    if (!RunsElevated()) return Fail(kFirewallUnchanged, "firewall", Msg::FirewallNotElevated);
    bool done = true;
    for (const Rule& rule : {InboundRule(port, RemoteIp(boxes)), BroadcastRule(port)})
        done = (action == "add" ? AddRule(rule) : RemoveRule(rule)) && done;
    return done ? kDone : kFirewallUnchanged;
}
