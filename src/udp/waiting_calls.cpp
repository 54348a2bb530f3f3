// The calls waiting for another station's hold of the slot file: a queue
// in the order the calls came, filed in one read and one write of the file
// when the lock is free. Only the listener thread touches the queue; the
// user-interface thread reads what it publishes.
#include "udp/waiting_calls.h"

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "platform/platform.h"
#include "storage/day_log.h"
#include "storage/late_calls.h"
#include "storage/phone_slots.h"
#include "text/mazovia.h"
#include "udp/listener_pauses.h"

// Ten minutes of one call every five seconds is 120; this is well past it.
static constexpr int kWaitingCapacity = 512;
// A batch of late calls goes to the file at the latest with this many.
static constexpr int kLateBatchMost = kWaitingCapacity / 2;
// A hold longer than this is told to the user.
static constexpr int kTellAfterMilliseconds = 3000;

static constexpr auto kWaitBegins =
    MZ(u8"Plik telefonów zajęty przez inne stanowisko - połączenie czeka na wpisanie");
static constexpr auto kHeldByProgram =
    MZ(u8"Plik telefonów otwarty przez inny program, który nie pozwala na zapis - połączenie czeka na wpisanie");
static constexpr auto kWaitLong =
    MZ(u8"Plik telefonów zajęty przez inne stanowisko od %d s - połączenia czekające na wpisanie: %d");
static constexpr auto kWaitEnded =
    MZ(u8"Plik telefonów zwolniony po %d s - wpisano czekające połączenia: %d");
static constexpr auto kQueueFull =
    MZ(u8"Zbyt wiele połączeń czeka na plik telefonów - połączenie %s - > %s jest tylko w logu dnia");
static constexpr auto kLeftWaiting =
    MZ(u8"Zakończenie: plik telefonów nadal zajęty przez inne stanowisko - nie wpisano czekających "
       u8"połączeń: %d (są w logu dnia)");
static constexpr auto kWarning =
    MZ(u8"Plik telefonów jest od %d s zajęty przez inne stanowisko. Połączenia czekające na wpisanie: %d. "
       u8"Zostaną wpisane, gdy tylko tamto stanowisko zwolni plik.");

static CallRecord g_waiting[kWaitingCapacity];
static int g_count = 0;
static int64_t g_since = 0;      // when the first waiting call came
static bool g_told = false;      // the long wait is in the day log

// What the window reads: 0 calls when nothing waits long.
static std::atomic<int> g_publishedCount{0};

// The batch read after a hold: open while the socket still holds what came
// during it; the calls then wait for the whole batch.
struct LateBatch {
    bool open;
    bool complete;
    int heldSeconds;
};
static LateBatch g_late = {false, false, 0};
// The slots as the listener last filed them: what it saw before a hold.
static CallRecord g_slotsSeen[kSlotCount];
static bool g_seenSlots = false;
static std::atomic<int64_t> g_publishedSince{0};

static int SecondsWaited() { return static_cast<int>((MonotonicNanoseconds() - g_since) / 1'000'000'000); }

static void Publish() {
    g_publishedSince.store(g_since);
    g_publishedCount.store(g_told ? g_count : 0);
}

static void Enqueue(const CallRecord& record, CallsFiled why) {
    if (g_count == kWaitingCapacity) {
        char phone[sizeof record.phone + 1] = {};
        char target[sizeof record.target + 1] = {};
        std::snprintf(phone, sizeof phone, "%.*s", static_cast<int>(sizeof record.phone), record.phone);
        std::snprintf(target, sizeof target, "%.*s", static_cast<int>(sizeof record.target), record.target);
        WriteEventLogF(kQueueFull, phone, target);
        return;
    }
    if (g_count == 0) {
        g_since = MonotonicNanoseconds();
        if (why != CallsFiled::Filed) WriteEventLog(why == CallsFiled::HeldByProgram ? kHeldByProgram : kWaitBegins);
    }
    g_waiting[g_count++] = record;
    Publish();
}

// Files with the rules for late calls when a batch read after a hold is
// complete, and keeps what the file holds afterwards.
static CallsFiled FileCalls(const CallRecord* calls, int count) {
    HoldInfo hold = {g_late.heldSeconds, g_seenSlots ? g_slotsSeen : nullptr};
    CallsFiled filed = UpdatePhoneSlots(calls, count, kWaitingCallTryMilliseconds, g_late.open ? &hold : nullptr, g_slotsSeen);
    if (filed == CallsFiled::Filed) {
        g_seenSlots = true;
        g_late = {false, false, 0};
    }
    return filed;
}

bool FileOrQueueCall(const CallRecord& record) {
    if (g_late.open) {
        Enqueue(record, CallsFiled::Filed);   // a batch of late calls is no wait for another station
        // A socket that a flood never lets go empty still has its batch filed.
        if (g_count >= kLateBatchMost) g_late.complete = true;
        return false;
    }
    CallsFiled filed = g_count == 0 ? FileCalls(&record, 1) : CallsFiled::Busy;
    if (filed == CallsFiled::Filed) return true;
    Enqueue(record, filed);
    return false;
}

void OpenLateBatch(int heldSeconds) {
    if (!g_late.open || heldSeconds > g_late.heldSeconds) g_late.heldSeconds = heldSeconds;
    g_late.open = true;
    g_late.complete = false;
}

// A batch that took no call (rings, repeats) ends here.
void CompleteLateBatch() {
    if (!g_late.open) return;
    if (g_count == 0) g_late = {false, false, 0};
    else g_late.complete = true;
}

bool CallsAreWaiting() { return g_count > 0; }

void FileWaitingCalls() {
    if (g_count == 0 || (g_late.open && !g_late.complete)) return;
    if (FileCalls(g_waiting, g_count) != CallsFiled::Filed) {
        if (!g_told && MonotonicNanoseconds() - g_since > ListenerMilliseconds(kTellAfterMilliseconds) * 1'000'000LL) {
            g_told = true;
            WriteEventLogF(kWaitLong, SecondsWaited(), g_count);
            Publish();
        }
        return;
    }
    for (int i = 0; i < g_count; ++i) WriteEventLog(kCallFiledLine);
    if (g_told) WriteEventLogF(kWaitEnded, SecondsWaited(), g_count);
    g_count = 0;
    g_told = false;
    Publish();
}

void FinishWaitingCalls() {
    CompleteLateBatch();
    FileWaitingCalls();
    if (g_count == 0) return;
    WriteEventLogF(kLeftWaiting, g_count);
    g_count = 0;
    g_told = false;
    Publish();
}

bool UDPSlotFileWaitWarning(char* text, std::size_t size) {
    int count = g_publishedCount.load();
    if (size == 0 || count == 0) return false;
    int seconds = static_cast<int>((MonotonicNanoseconds() - g_publishedSince.load()) / 1'000'000'000);
    std::snprintf(text, size, kWarning, seconds, count);
    return true;
}
