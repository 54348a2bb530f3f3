// callerid ping / restart: the word three times, tab-separated, ending in
// a carriage return, exactly as the plug-in broadcasts it. Sent to one
// address (127.0.0.1 unless one is given), never broadcast by default.
#include <string>

#include "commands/commands.h"
#include "commands/destination.h"
#include "output/exit_codes.h"

int RunControlCommand(const char* word, int argc, char** args) {
    Destination destination;
    std::string fault;
    bool addressGiven = false;
    for (int i = 0; i < argc && fault.empty(); ++i) {
        if (TakeDestinationOption(argc, args, i, destination, fault)) continue;
        if (addressGiven || args[i][0] == '-') {
            fault = Say(Msg::UnexpectedArgument, args[i]);
        } else if (!IsIpv4Address(args[i])) {
            fault = Say(Msg::BadAddress, args[i]);
        } else {
            destination.address = args[i];
            addressGiven = true;
        }
    }
    if (!fault.empty()) {
        PrintTo(stderr, "callerid %s: %s\n", word, fault.c_str());
        return kBadUsage;
    }
    std::string w = word;
    int code = SendTo(word, destination, w + "\t" + w + "\t" + w + "\r");
    if (code == kDone)
        Print("%s\n", Say(Msg::ControlSent, word, destination.address.c_str(), static_cast<int>(destination.port),
                          w == "restart" ? 5 : 25).c_str());
    return code;
}
