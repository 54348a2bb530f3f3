// The options every datagram command shares, and the sending itself.
#include "commands/destination.h"

#include <cstdlib>
#include <cstring>

#include "output/exit_codes.h"
#include "system/udp_sender.h"

bool ParsePort(const char* text, long& port) {
    char* end = nullptr;
    if (!*text || *text == '-' || *text == '+') return false;
    port = std::strtol(text, &end, 10);
    return *end == '\0' && port >= 1 && port <= 65535;
}

bool IsIpv4Address(const std::string& text) {
    int parts = 0;
    std::size_t at = 0;
    while (at <= text.size()) {
        std::size_t dot = text.find('.', at);
        std::string part = text.substr(at, dot == std::string::npos ? std::string::npos : dot - at);
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != std::string::npos ||
            std::atoi(part.c_str()) > 255)
            return false;
        ++parts;
        if (dot == std::string::npos) break;
        at = dot + 1;
    }
    return parts == 4;
}

bool TakeDestinationOption(int argc, char** args, int& index, Destination& destination, std::string& fault) {
    std::string option = args[index];
    if (option != "--to" && option != "--port") return false;
    if (index + 1 >= argc) {
        fault = Say(Msg::NeedsValue, option.c_str());
        return true;
    }
    const char* value = args[++index];
    long port = 0;
    if (option == "--to" && IsIpv4Address(value)) destination.address = value;
    else if (option == "--to") fault = Say(Msg::BadAddress, value);
    else if (ParsePort(value, port)) destination.port = static_cast<uint16_t>(port);
    else fault = Say(Msg::BadPort, value);
    return true;
}

int SendTo(const char* command, const Destination& destination, const std::string& payload) {
    std::string error = SendUdpDatagram(destination.address, destination.port, payload);
    if (!error.empty())
        return Fail(kNetworkFailed, command, Msg::NetworkError, destination.address.c_str(),
                    static_cast<int>(destination.port), error.c_str());
    return kDone;
}
