// The caller-ID datagram: how its text becomes a call record, and the
// handler that decides whether a call is recorded.
#pragma once

#include <cstdint>

#include "storage/call_record.h"

// The listener's receive buffer: at most 1023 bytes of datagram and a NUL.
inline constexpr int kDatagramCapacity = 1024;

// Fills record from datagram fields 0, 1 and 4, stamped with the host's
// time and date of now. The datagram text is NUL-terminated and held in a
// buffer of kDatagramCapacity bytes.
void UDPBuildRecord(const char* datagram, CallRecord& record);

// Files a record that the rules judged a call (call_rules.h): its date
// becomes its display form, the call line goes to the day log and the
// record to the phone slots. False when the record waits for the slot
// file, which another station holds (waiting_calls.h); true when filed.
bool UDPFileCall(CallRecord& record);

// Judges a record as one sender's (no control word is a call, rings and
// repeats of the previous phone within 19 seconds are not recorded) and
// files it when it is a call; for callers that know no sender. False
// when the record waits for the slot file; true when it was filed or is
// not to be.
bool UDPRecordCall(CallRecord& record);
