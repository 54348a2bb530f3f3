// callerid: the command-line companion of the caller-ID plug-in. It takes
// the language from the system or from --lang before the command, and
// hands the rest to the command. The system's entry (system/entry_*.cpp)
// hands it the arguments in UTF-8.
#include "callerid.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "commands/commands.h"
#include "output/exit_codes.h"
#include "output/messages.h"

namespace {

// "--lang pl", "--lang=en": true when args[index] was one (index moves on).
bool TakeLanguage(int argc, char** argv, int& index, bool& bad) {
    std::string option = argv[index];
    std::string value;
    if (option == "--lang" && index + 1 < argc) value = argv[++index];
    else if (option.rfind("--lang=", 0) == 0) value = option.substr(7);
    else if (option != "--lang") return false;
    Language language;
    if (LanguageNamed(value, language)) UseLanguage(language);
    else bad = true;
    return true;
}

// The command's own lines of the help: each entry of the usage text that
// starts with the command's name, with the lines under it.
std::string CommandHelp(const std::string& usage, const std::string& command) {
    std::string help;
    bool inEntry = false;
    std::size_t at = 0;
    while (at < usage.size()) {
        std::size_t end = usage.find('\n', at);
        end = end == std::string::npos ? usage.size() : end + 1;
        std::string line = usage.substr(at, end - at);
        if (line.rfind("  ", 0) != 0) inEntry = false;
        else if (line[2] != ' ') inEntry = line.compare(2, command.size() + 1, command + " ") == 0;
        if (inEntry) help += line;
        at = end;
    }
    return help;
}

// Whether a word after the command asks for its help.
bool AsksForHelp(int count, char** args) {
    for (int i = 0; i < count; ++i)
        if (!std::strcmp(args[i], "--help") || !std::strcmp(args[i], "-h")) return true;
    return false;
}

}  // namespace

int CalleridMain(int argc, char** argv) {
    UseLanguage(SystemLanguage());
    int first = 1;
    bool badLanguage = false;
    while (first < argc && TakeLanguage(argc, argv, first, badLanguage)) ++first;
    if (badLanguage) return Fail(kBadUsage, "", Msg::BadLanguage);
    int count = argc - first - 1;
    char** args = argv + first + 1;
    const char* command = first < argc ? argv[first] : nullptr;
    if (!command) {
        PrintTo(stderr, "%s", T(Msg::Usage));
        return kBadUsage;
    }
    if (!std::strcmp(command, "help") || !std::strcmp(command, "--help")) {
        Print("%s", T(Msg::Usage));
        return kDone;
    }
    if (AsksForHelp(count, args)) {
        std::string help = CommandHelp(T(Msg::Usage), command);
        if (help.empty()) return Fail(kBadUsage, "", Msg::UnknownCommand, command);
        Print("%s", help.c_str());
        return kDone;
    }
    if (!std::strcmp(command, "send")) return RunSendCommand(count, args);
    if (!std::strcmp(command, "ping") || !std::strcmp(command, "restart"))
        return RunControlCommand(command, count, args);
    if (!std::strcmp(command, "slots")) return RunSlotsCommand(count, args);
    if (!std::strcmp(command, "listen")) return RunListenCommand(count, args);
    if (!std::strcmp(command, "log")) return RunLogCommand(count, args);
    if (!std::strcmp(command, "doctor")) return RunDoctorCommand(count, args);
    if (!std::strcmp(command, "firewall")) return RunFirewallCommand(count, args);
    if (!std::strcmp(command, "senders")) return RunSendersCommand(count, args);
    if (!std::strcmp(command, "window-description")) return RunWindowDescriptionCommand(count, args);
    return Fail(kBadUsage, "", Msg::UnknownCommand, command);
}
