// callerid ping / restart: the word three times, tab-separated, ending in
// a carriage return, exactly as the plug-in broadcasts it. Sent to one
// address (127.0.0.1 unless one is given), never broadcast by default.
#include "commands/control_command.h"

#include <cstdio>
#include <string>

#include "commands/destination.h"

int RunControlCommand(const char* word, int argc, char** args) {
    Destination destination;
    std::string error;
    bool addressGiven = false;
    for (int i = 0; i < argc && error.empty(); ++i) {
        if (TakeDestinationOption(argc, args, i, destination, error)) continue;
        if (addressGiven || args[i][0] == '-') {
            error = std::string("unexpected ") + args[i];
        } else {
            destination.address = args[i];
            addressGiven = true;
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "callerid %s: %s\n", word, error.c_str());
        return 2;
    }
    std::string w = word;
    return SendTo(destination, w + "\t" + w + "\t" + w + "\r");
}
