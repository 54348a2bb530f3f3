// The listener's pace, watched on the monotonic clock (listener_holds.h).
#include "udp/listener_holds.h"

#include "platform/platform.h"
#include "storage/day_log.h"
#include "text/mazovia.h"
#include "udp/waiting_calls.h"

static constexpr auto kHeldUp =
    MZ(u8"Nasłuch był wstrzymany przez %d s - połączenia odebrane potem wpisano razem, jako spóźnione");

// Only the listener thread touches it.
static ListenerPace g_pace = {0, 0};
// Datagrams still to be read as queued during a hold: the socket's queue
// holds no more than this, so a flood that never lets it go empty is not
// taken for a hold's backlog for ever.
static constexpr int kQueuedAtMost = 512;
static int g_queuedLeft = 0;

bool TakePaceStep(ListenerPace& pace, int64_t now) {
    int64_t step = pace.last == 0 ? 0 : now - pace.last;
    pace.last = now;
    if (step <= kHeldAfterNanoseconds) return false;
    if (step > pace.held) pace.held = step;
    return true;
}

bool NoteListenerStep() { return TakePaceStep(g_pace, MonotonicNanoseconds()); }

void ForgetListenerPace() {
    g_pace = {MonotonicNanoseconds(), 0};
    g_queuedLeft = 0;
}

void NoteSocketEmpty() {
    g_pace.held = 0;
    g_queuedLeft = 0;
    CompleteLateBatch();
}

bool CatchingUpAfterHold() {
    if (g_queuedLeft == 0) return false;
    --g_queuedLeft;
    return true;
}

void NoteDatagramRead() {
    TakePaceStep(g_pace, MonotonicNanoseconds());
    if (g_pace.held == 0) return;
    int seconds = static_cast<int>((g_pace.held + 500'000'000) / 1'000'000'000);
    g_pace.held = 0;
    g_queuedLeft = kQueuedAtMost;
    WriteEventLogF(kHeldUp, seconds);
    OpenLateBatch(seconds);
}
