// The rules by which the listener and the call handler judge a datagram's
// first field and time: rings, repeats of one phone, control words. Plain
// functions of their arguments, shared with the callerid tool's listen.
#pragma once

#include <cstdint>

#include "storage/call_record.h"

inline constexpr int kPingPauseMilliseconds = 25000;
inline constexpr int kRestartPauseMilliseconds = 5000;

// Seconds from the time of day `earlier` to `later` (both "hh:mm:ss");
// dates take no part, so there is no wrap at midnight.
int64_t TimeDiffSeconds(const char* later, const char* earlier);

// A ring notice is never recorded.
bool IsRingPhone(const char* phone);

// Whether a call of `phone` at `time` repeats the previous call of the
// same phone, at most 19 seconds away either way.
bool RepeatsPhone(const char* phone, const char* time, const char* previousPhone,
                  const char* previousTime);

// The listener's pause in milliseconds after a control word ("ping",
// "PING", "restart", matched exactly) in the first field; 0 for any other.
int ControlWordPauseMilliseconds(const char* phone);

// Whom a datagram's sender may speak for: calls and control words (an
// allowed sender), control words alone (a station of the local subnets
// that the list does not name), or nothing.
enum class SenderPermit { Calls, ControlWords, Refused };

// The permit of a sender (host order) under the list "Nadawcy" and the
// local subnets (this station's, with loopback). An empty list takes calls
// from the local subnets; "*" from anywhere.
struct SenderList;
SenderPermit PermitOf(const SenderList& allowed, const SenderList& local, uint32_t address);

// What becomes of one datagram, in the order the rules are applied.
enum class DatagramVerdict {
    Refused,       // its sender may not send it: not filed, not remembered
    ControlWord,   // "ping", "PING", "restart": a pause, never a call
    SameAgain,     // the sender's last record byte for byte, not handed on
    Ring,          // a ring notice, never recorded
    Repeat,        // the sender's last phone again within 19 seconds
    Call,          // filed: call line and slot
};

// What the rules remember of one sender. The record last built is
// forgotten when listening begins again; the phone last handled is not,
// so that a repeat across a restart is still caught.
struct SenderRecall {
    bool anyBuilt;
    bool builtRecorded;   // the last record built was filed as a call
    CallRecord built;
    char handledPhone[sizeof CallRecord{}.phone];
    char handledTime[sizeof CallRecord{}.time];
};

// The verdict on a freshly built record from a sender with this permit.
// A datagram from one sender is judged against that sender's recall
// alone, so it neither suppresses nor lets through another sender's call.
DatagramVerdict JudgeDatagram(const CallRecord& record, SenderPermit permit, const SenderRecall& recall);
// Keeps what the verdict leaves behind: refused datagrams and control
// words leave nothing.
void RememberDatagram(SenderRecall& recall, const CallRecord& record, DatagramVerdict verdict);
