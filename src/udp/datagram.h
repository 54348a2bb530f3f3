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

// Records the call unless it is a ring or repeats the previous phone within
// 19 seconds: call line to the day log, record to the phone slots. The
// record's date becomes its display form when it is recorded. False when
// the record waits for the slot file, which another station holds
// (waiting_calls.h); true when it was filed or is not to be.
bool UDPRecordCall(CallRecord& record);
