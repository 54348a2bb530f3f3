// The refused sender the window tells of: one address and whether it was
// told, both atomic, so the listener never waits for the window.
#include "udp/sender_status.h"

#include <atomic>
#include <cstdio>

#include "net/sender_list.h"
#include "text/mazovia.h"

static std::atomic<uint32_t> g_refused{0};
static std::atomic<uint32_t> g_told{0};

static constexpr auto kRefusedWarning =
    MZ(u8"Odrzucono datagramy od %s: tego nadawcy nie ma na liście Nadawcy (Ornitel.ini). "
       u8"Jeśli to centralka biura, dopisz ją poleceniem: callerid senders add %s");

void PublishRefusedSender(uint32_t address) { g_refused.store(address, std::memory_order_relaxed); }

bool UDPSenderWarning(char* text, std::size_t size) {
    if (size == 0) return false;
    text[0] = '\0';
    uint32_t refused = g_refused.load(std::memory_order_relaxed);
    if (refused == 0 || g_told.exchange(refused) == refused) return false;
    char sender[16];
    FormatIPv4(refused, sender, sizeof sender);
    std::snprintf(text, size, kRefusedWarning, sender, sender);
    return true;
}
