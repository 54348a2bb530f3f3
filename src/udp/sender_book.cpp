// The book of senders: a small fixed table, searched by address, with a
// token bucket per sender for its rate and a per-minute byte budget for
// its lines that are not filed calls.
#include "udp/sender_book.h"

#include <cstring>

#include "net/sender_list.h"
#include "platform/platform.h"
#include "plugin/host_test_switches.h"
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
// Senders beyond the book, or more new ones in a minute than the day log
// may name one by one (a flood with forged source addresses), are summed
// together.
static constexpr int kNamedSendersPerMinute = 32;
static constexpr auto kOthersLine =
    MZ(u8"Inni nadawcy (adresów: %d): odrzucone datagramy: %d, bez wpisu w dzienniku lub ponad limit: %d");
static constexpr auto kSummedLine =
    MZ(u8"Datagramy od %s bez wpisu w dzienniku: %d, nieprzyjęte ponad %d na sekundę: %d");

struct OtherSenders {
    int senders;
    int refused;
    int summed;
    int64_t lineAt;
    int64_t namedSince;   // start of the minute that counts the senders named
    int named;
};
static OtherSenders g_others = {0, 0, 0, 0, 0, 0};

static int64_t Minute() { return static_cast<int64_t>(ListenerMilliseconds(kMinuteMilliseconds)) * 1000000; }

// Whether one more sender may be named in the day log this minute.
static bool MayNameSender(int64_t now) {
    if (now - g_others.namedSince >= Minute()) {
        g_others.namedSince = now;
        g_others.named = 0;
    }
    if (g_others.named >= kNamedSendersPerMinute) return false;
    ++g_others.named;
    return true;
}

static void WriteOthersLine(int64_t now) {
    WriteEventLogF(kOthersLine, g_others.senders, g_others.refused, g_others.summed);
    g_others.senders = g_others.refused = g_others.summed = 0;
    g_others.lineAt = now;
}

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

// A sum that is due takes one of the minute's names.
static bool MayNameDue(const SenderEntry& entry, int64_t now) {
    int64_t minute = Minute();
    bool due = (entry.refused > 0 && now - entry.refusedLineAt >= minute) ||
               (entry.unlogged + entry.overRate > 0 && now - entry.summedLineAt >= minute);
    return due && MayNameSender(now);
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
    if (oldest->used && oldest->refused + oldest->unlogged + oldest->overRate > 0) {
        ++g_others.senders;
        g_others.refused += oldest->refused;
        g_others.summed += oldest->unlogged + oldest->overRate;
    }
    StartEntry(*oldest, address, now);
    oldest->lastHeard = now;
    return *oldest;
}

SenderRecall& RecallOf(SenderEntry& entry) { return entry.recall; }

bool TakeRateToken(SenderEntry& entry) {
    if (HostLiftsSenderRate()) return true;
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

// A sender's first line of a minute names it, unless a flood of senders
// has used the minute's names up; then its count waits for its next line.
void CountRefused(SenderEntry& entry) {
    ++entry.refused;
    PublishRefusedSender(entry.address);
    int64_t now = MonotonicNanoseconds();
    if (now - entry.refusedLineAt >= Minute() && MayNameSender(now)) WriteRefusedLine(entry, now);
}

static void CountSummed(SenderEntry& entry, int& count) {
    ++count;
    int64_t now = MonotonicNanoseconds();
    if (now - entry.summedLineAt >= Minute() && MayNameSender(now)) WriteSummedLine(entry, now);
}

void CountOverRate(SenderEntry& entry) { CountSummed(entry, entry.overRate); }
void CountUnlogged(SenderEntry& entry) { CountSummed(entry, entry.unlogged); }

void WriteDueSums() {
    int64_t now = MonotonicNanoseconds();
    for (SenderEntry& entry : g_book)
        if (entry.used && MayNameDue(entry, now)) WriteSums(entry, now, true);
    if (g_others.senders > 0 && now - g_others.lineAt >= Minute()) WriteOthersLine(now);
}

void WriteAllSums() {
    int64_t now = MonotonicNanoseconds();
    for (SenderEntry& entry : g_book)
        if (entry.used) WriteSums(entry, now, false);
    if (g_others.senders > 0) WriteOthersLine(now);
}

void ForgetBuiltRecords() {
    for (SenderEntry& entry : g_book) entry.recall.anyBuilt = false;
}
