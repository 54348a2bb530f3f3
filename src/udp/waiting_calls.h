// Calls that wait for the slot file while another station holds it. The
// listener never waits for the other stations' lock: it hands each call
// over here, and calls what waits again at every wake-up (at least every
// 100 ms), so that it keeps receiving, sees a stop at once and files the
// waiting calls in the order they came as soon as the lock is free.
#pragma once

#include <cstddef>

#include "storage/call_record.h"

// The day log's line for a call in the slot file (or not to be filed).
inline constexpr char kCallFiledLine[] = "Zapis";

// Files the call at once when nothing waits and the slot file is free;
// else it waits behind the others. True when it was filed now.
bool FileOrQueueCall(const CallRecord& record);
// Files what waits, in order, if the slot file is free now.
void FileWaitingCalls();
// True while calls wait; each try for the lock takes up to this long, and
// the listener shortens its wait by it, to look at its stop as often.
bool CallsAreWaiting();
inline constexpr int kWaitingCallTryMilliseconds = 20;
// At the listener's end: one last short try; calls still waiting are
// named in the day log (their call lines are there already).
void FinishWaitingCalls();

// Calls read after the listener was held up (listener_holds.h) wait here
// until the socket is empty, then go to the file in one transaction by the
// rules for late calls. A batch already open takes the longer hold.
void OpenLateBatch(int heldSeconds);
void CompleteLateBatch();

// For the caller-ID window: when calls have waited for another station
// longer than a few seconds, the text that tells the user so.
bool UDPSlotFileWaitWarning(char* text, std::size_t size);
