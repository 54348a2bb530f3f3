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
