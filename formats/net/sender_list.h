// The senders a station takes calls from: single IPv4 addresses, ranges
// ("a.b.c.d-e.f.g.h") and subnets ("a.b.c.d/n"), or "*" for anywhere, as
// the setting "Nadawcy" holds them. Reading and matching are plain
// functions of their arguments, without the heap, so that the plug-in,
// the callerid tool and the reference host judge a sender alike.
#pragma once

#include <cstddef>
#include <cstdint>

// Addresses are in host order: 192.168.1.20 is 0xC0A80114.
struct AddressRange {
    uint32_t first;
    uint32_t last;   // inclusive; a single address has last == first
};

inline constexpr int kMostSenderRanges = 32;

struct SenderList {
    bool anywhere;   // "*" stands in the list
    int count;       // ranges in use; 0 (and not anywhere) means "not set"
    AddressRange ranges[kMostSenderRanges];
};

// Loopback, which every station takes calls from when the list is not set.
inline constexpr AddressRange kLoopbackRange = {0x7F000000u, 0x7FFFFFFFu};

// A dotted address of exactly four decimal parts of at most 255 each.
bool ParseIPv4(const char* text, std::size_t length, uint32_t* address);
// "a.b.c.d" into text (at least 16 bytes).
void FormatIPv4(uint32_t address, char* text, std::size_t size);

// One entry of the list; "*" sets *anywhere. A subnet given by one of its
// members ("192.168.1.20/24") stands for the whole subnet.
bool ParseSenderEntry(const char* text, std::size_t length, AddressRange* range, bool* anywhere);

// The entries are separated by commas, semicolons or blanks. Good entries
// are kept whatever follows; the result is the number of bad ones (a
// list longer than kMostSenderRanges counts the rest as bad), and the
// first bad one is pointed to by *badOffset and *badLength.
int ParseSenderList(const char* text, SenderList* list, std::size_t* badOffset, std::size_t* badLength);

// The subnet of an interface with this address and mask.
AddressRange SubnetOf(uint32_t address, uint32_t mask);

bool RangeHolds(const AddressRange& range, uint32_t address);
bool SenderListAllows(const SenderList& list, uint32_t address);
// Adds a range unless the list holds it already or is full; false when full.
bool AddSenderRange(SenderList* list, const AddressRange& range);

// An entry as it is written back: "a.b.c.d", "a.b.c.d/n" for a range that
// is a subnet, else "a.b.c.d-e.f.g.h". text holds at least 32 bytes.
void FormatSenderRange(const AddressRange& range, char* text, std::size_t size);
