// Where the datagram commands send to: the address and the port, taken
// from their common options.
#pragma once

#include <cstdint>
#include <string>

struct Destination {
    std::string address = "127.0.0.1";
    uint16_t port = 1338;
};

// Takes "--to ADDRESS" or "--port PORT" at args[index], advancing index
// past its value. Returns false when args[index] is neither; sets error
// when it is one of them without a usable value.
bool TakeDestinationOption(int argc, char** args, int& index, Destination& destination,
                           std::string& error);

// Sends payload and reports on stderr what failed; the process exit code.
int SendTo(const Destination& destination, const std::string& payload);
