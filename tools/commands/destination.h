// Where the datagram commands send to: the address and the port, taken
// from their common options.
#pragma once

#include <cstdint>
#include <string>

#include "output/messages.h"

struct Destination {
    std::string address = "127.0.0.1";
    uint16_t port = 1338;
};

// Takes "--to ADDRESS" or "--port PORT" at args[index], advancing index
// past its value. Returns false when args[index] is neither; otherwise
// true, with fault set to the message when the value is missing or bad.
bool TakeDestinationOption(int argc, char** args, int& index, Destination& destination, std::string& fault);

// A port number 1 to 65535 written in full; false for anything else.
bool ParsePort(const char* text, long& port);
// Four dotted numbers 0 to 255.
bool IsIpv4Address(const std::string& text);

// Sends payload; on failure says so in one line on stderr. Returns the
// exit code; the command confirms a success in its own words.
int SendTo(const char* command, const Destination& destination, const std::string& payload);
