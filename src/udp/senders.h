// The senders this station takes datagrams from: the setting "Nadawcy"
// (section "Ornitel" of "Ornitel.ini"), or, when it is empty, this
// station's own subnets and loopback. Control words are also taken from
// the local subnets when the list names only the boxes, so that the
// stations' own restarts keep working.
#pragma once

#include <cstddef>
#include <cstdint>

#include "udp/call_rules.h"

// The longest value of "Nadawcy" read, and its buffer.
inline constexpr int kSendersReadWidth = 1023;
inline constexpr std::size_t kSendersTextCapacity = kSendersReadWidth + 1;

// The setting as LoadSettings read it; the caller holds the plug-in's lock.
void SetSendersSetting(const char* text);

// The listener thread's copy of the rules, taken after every load of the
// settings, with the interface list read afresh. Bad entries are logged.
void TakeSenderRules();
// The permit of a sender (IPv4 address in host order). Listener thread.
// A sender outside the local subnets makes the interface list be read
// again, at most once a minute, so that a new address of this station
// (a new lease) is taken in.
SenderPermit SenderPermitOf(uint32_t address);
