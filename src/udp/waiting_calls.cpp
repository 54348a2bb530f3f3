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
#include "storage/phone_slots.h"
#include "text/mazovia.h"
#include "udp/listener_pauses.h"

// Ten minutes of one call every five seconds is 120; this is well past it.
static constexpr int kWaitingCapacity = 512;
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
        WriteEventLog(why == CallsFiled::HeldByProgram ? kHeldByProgram : kWaitBegins);
    }
    g_waiting[g_count++] = record;
    Publish();
}

bool FileOrQueueCall(const CallRecord& record) {
    CallsFiled filed = g_count == 0 ? UpdatePhoneSlots(&record, 1, kWaitingCallTryMilliseconds) : CallsFiled::Busy;
    if (filed == CallsFiled::Filed) return true;
    Enqueue(record, filed);
    return false;
}

bool CallsAreWaiting() { return g_count > 0; }

void FileWaitingCalls() {
    if (g_count == 0) return;
    if (UpdatePhoneSlots(g_waiting, g_count, kWaitingCallTryMilliseconds) != CallsFiled::Filed) {
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
