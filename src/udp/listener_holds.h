// How the listener knows it was held up. Its waits last at most 100 ms and
// its work between them little more, so the monotonic clock moves only a
// little from one of its steps to the next. A far larger step (a wait that
// took seconds, the process frozen or stalled on a share, the clock jumping
// after a suspend) means that what it reads next may have waited for it:
// those datagrams are stamped late, when they are read. They are then
// filed together, once the socket is empty, by the rules for late calls
// (storage/late_calls.h).
#pragma once

#include <cstdint>

// A step of the listener longer than this is a hold.
inline constexpr int64_t kHeldAfterNanoseconds = 2'000'000'000;

// The steps between the listener's looks at the clock. Plain data, so that
// the rule can be tested on its own.
struct ListenerPace {
    int64_t last;       // the last look, 0 before the first
    int64_t held;       // the longest step since the socket was last empty; 0: none was a hold
};
// Takes a look at `now`; true when the step since the last look was a hold.
bool TakePaceStep(ListenerPace& pace, int64_t now);

// The listener thread's side. Called as a wait begins and as it ends;
// true when the step since the last call was a hold.
bool NoteListenerStep();
// A socket that begins listening holds nothing that waited for it: the
// pause or bind retries before it are no hold. Its steps count from now.
void ForgetListenerPace();
// A wait found the socket empty: nothing read after a hold is waiting to
// be read, and a batch of late calls is complete.
void NoteSocketEmpty();
// Called before a datagram's record is stamped: after a hold, the datagram
// and those read after it until the socket is empty are filed as late.
void NoteDatagramRead();
// Asked once per datagram: true from the first datagram read after a hold
// until the socket is empty again (and for no more datagrams than its
// queue holds), since what is read then was queued during the hold.
bool CatchingUpAfterHold();
