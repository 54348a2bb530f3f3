// The book of senders: a small fixed table, searched by address, with a
// token bucket per sender for its rate and a per-minute byte budget for
// its lines that are not filed calls.
#include "udp/sender_book.h"

#include <cstring>

#include "net/sender_list.h"
#include "platform/platform.h"
#include "storage/day_log.h"
#include "text/mazovia.h"
#include "udp/listener_pauses.h"
#include "udp/sender_status.h"

struct SenderEntry {
    uint32_t address;
    bool used;
    int64_t lastHeard;
    SenderRecall recall;
    int64_t tokens;          // in thousandths of a datagram
    int64_t tokensAt;
    int64_t budgetSince;     // start of the minute the budget counts
    int loggedBytes;
    int refused;             // counted since the last refusal line
    int64_t refusedLineAt;
    int unlogged;            // handled but not written line by line
    int overRate;            // not handled at all
    int64_t summedLineAt;
};

static constexpr int kBookSize = 32;
static SenderEntry g_book[kBookSize];

// A box sends a few calls a second at the busiest; 25 a second and bursts
// of 100 leave it room, while a flood is cut to that.
static constexpr int64_t kDatagramsPerSecond = 25;
static constexpr int64_t kBurstDatagrams = 100;
// The day log's allowance per sender and minute for lines that are not
// filed calls (the datagram's line and the line of what became of it).
static constexpr int kLogBudgetBytes = 4096;
static constexpr int kMinuteMilliseconds = 60000;

static constexpr auto kRefusedLine =
    MZ(u8"Odrzucono datagramy od %s: %d - nadawcy nie ma na liście Nadawcy (Ornitel.ini)");
static constexpr auto kSummedLine =
    MZ(u8"Datagramy od %s bez wpisu w dzienniku: %d, nieprzyjęte ponad %d na sekundę: %d");

static int64_t Minute() { return static_cast<int64_t>(ListenerMilliseconds(kMinuteMilliseconds)) * 1000000; }

static void WriteRefusedLine(SenderEntry& entry, int64_t now) {
    char sender[16];
    FormatIPv4(entry.address, sender, sizeof sender);
    WriteEventLogF(kRefusedLine, sender, entry.refused);
    entry.refused = 0;
    entry.refusedLineAt = now;
}

static void WriteSummedLine(SenderEntry& entry, int64_t now) {
    char sender[16];
    FormatIPv4(entry.address, sender, sizeof sender);
    WriteEventLogF(kSummedLine, sender, entry.unlogged, static_cast<int>(kDatagramsPerSecond), entry.overRate);
    entry.unlogged = entry.overRate = 0;
    entry.summedLineAt = now;
}

static void WriteSums(SenderEntry& entry, int64_t now, bool due) {
    int64_t minute = Minute();
    if (entry.refused > 0 && (!due || now - entry.refusedLineAt >= minute)) WriteRefusedLine(entry, now);
    if (entry.unlogged + entry.overRate > 0 && (!due || now - entry.summedLineAt >= minute))
        WriteSummedLine(entry, now);
}

static void StartEntry(SenderEntry& entry, uint32_t address, int64_t now) {
    std::memset(&entry, 0, sizeof entry);
    entry.used = true;
    entry.address = address;
    entry.tokens = kBurstDatagrams * 1000;
    entry.tokensAt = now;
    entry.budgetSince = now;
    // The first line of each kind is due at once.
    entry.refusedLineAt = entry.summedLineAt = now - Minute();
}

SenderEntry& SenderEntryOf(uint32_t address) {
    int64_t now = MonotonicNanoseconds();
    SenderEntry* oldest = &g_book[0];
    for (SenderEntry& entry : g_book) {
        if (entry.used && entry.address == address) {
            entry.lastHeard = now;
            return entry;
        }
        if (!entry.used) {
            if (oldest->used) oldest = &entry;
        } else if (oldest->used && entry.lastHeard < oldest->lastHeard) {
            oldest = &entry;
        }
    }
    if (oldest->used) WriteSums(*oldest, now, false);
    StartEntry(*oldest, address, now);
    oldest->lastHeard = now;
    return *oldest;
}

SenderRecall& RecallOf(SenderEntry& entry) { return entry.recall; }

bool TakeRateToken(SenderEntry& entry) {
    int64_t now = MonotonicNanoseconds();
    // The reference host's tests divide the listener's times, the second too.
    int64_t second = static_cast<int64_t>(ListenerMilliseconds(1000)) * 1000000;
    int64_t earned = (now - entry.tokensAt) * kDatagramsPerSecond * 1000 / second;
    entry.tokensAt = now;
    entry.tokens += earned;
    if (entry.tokens > kBurstDatagrams * 1000) entry.tokens = kBurstDatagrams * 1000;
    if (entry.tokens < 1000) return false;
    entry.tokens -= 1000;
    return true;
}

bool TakeLogBudget(SenderEntry& entry, int bytes) {
    int64_t now = MonotonicNanoseconds();
    if (now - entry.budgetSince >= Minute()) {
        entry.budgetSince = now;
        entry.loggedBytes = 0;
    }
    if (entry.loggedBytes + bytes > kLogBudgetBytes) return false;
    entry.loggedBytes += bytes;
    return true;
}

void CountRefused(SenderEntry& entry) {
    ++entry.refused;
    PublishRefusedSender(entry.address);
    int64_t now = MonotonicNanoseconds();
    if (now - entry.refusedLineAt >= Minute()) WriteRefusedLine(entry, now);
}

static void CountSummed(SenderEntry& entry, int& count) {
    ++count;
    int64_t now = MonotonicNanoseconds();
    if (now - entry.summedLineAt >= Minute()) WriteSummedLine(entry, now);
}

void CountOverRate(SenderEntry& entry) { CountSummed(entry, entry.overRate); }
void CountUnlogged(SenderEntry& entry) { CountSummed(entry, entry.unlogged); }

void WriteDueSums() {
    int64_t now = MonotonicNanoseconds();
    for (SenderEntry& entry : g_book)
        if (entry.used) WriteSums(entry, now, true);
}

void WriteAllSums() {
    int64_t now = MonotonicNanoseconds();
    for (SenderEntry& entry : g_book)
        if (entry.used) WriteSums(entry, now, false);
}

void ForgetBuiltRecords() {
    for (SenderEntry& entry : g_book) entry.recall.anyBuilt = false;
}
