// The options every datagram command shares, and the sending itself.
#include "commands/destination.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "system/udp_sender.h"

bool TakeDestinationOption(int argc, char** args, int& index, Destination& destination,
                           std::string& error) {
    std::string option = args[index];
    if (option != "--to" && option != "--port") return false;
    if (index + 1 >= argc) {
        error = option + " needs a value";
        return true;
    }
    const char* value = args[++index];
    if (option == "--to") {
        destination.address = value;
        return true;
    }
    char* end = nullptr;
    long port = std::strtol(value, &end, 10);
    if (end == value || *end != '\0' || port < 1 || port > 65535)
        error = "--port takes a number from 1 to 65535";
    else
        destination.port = static_cast<uint16_t>(port);
    return true;
}

int SendTo(const Destination& destination, const std::string& payload) {
    std::string error = SendUdpDatagram(destination.address, destination.port, payload);
    if (error.empty()) return 0;
    std::fprintf(stderr, "callerid: %s\n", error.c_str());
    return 1;
}
