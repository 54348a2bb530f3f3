// What the listener keeps per sender: the rules' recall (call_rules.h),
// a rate above which a sender's datagrams are counted and not handled,
// and the day log's budget for the lines that are not filed calls.
// Whatever arrives, those lines cost at most a few kilobytes a minute per
// sender: beyond the budget, refused datagrams and datagrams over the
// rate, they are summed in one line a minute. Listener thread only.
#pragma once

#include <cstdint>

#include "udp/call_rules.h"

struct SenderEntry;

// The sender's entry, made when it is new; a full book gives up the entry
// longest unheard, its sums written first.
SenderEntry& SenderEntryOf(uint32_t address);
SenderRecall& RecallOf(SenderEntry& entry);

// False when the sender is beyond its rate: the datagram is then counted
// and not handled at all, so that a flood cannot keep the listener from
// the other senders' calls.
bool TakeRateToken(SenderEntry& entry);
// True when a line of this many bytes that is not a filed call may still
// be written this minute.
bool TakeLogBudget(SenderEntry& entry, int bytes);

// A refused datagram, one that is over the rate, or one whose lines did
// not fit the budget. The first of a minute is written at once, with the
// count; the rest are summed into the next line, a minute later.
void CountRefused(SenderEntry& entry);
void CountOverRate(SenderEntry& entry);
void CountUnlogged(SenderEntry& entry);

// Writes the sums that are due (a minute after the last line), or all of
// them when the listener ends.
void WriteDueSums();
void WriteAllSums();
// Listening begins again: every sender's last record built is forgotten.
void ForgetBuiltRecords();
