// The last sender refused, for the caller-ID window: the listener thread
// publishes it, the window tells the user once and how to allow it.
#pragma once

#include <cstddef>
#include <cstdint>

void PublishRefusedSender(uint32_t address);
// The warning about a sender refused since the window last told of one.
// False, and text empty, when there is none new.
bool UDPSenderWarning(char* text, std::size_t size);
