// A call record as the datagram handling builds it (zero-filled, then the
// texts), dated 08.12.2026 unless told: for tests with and without the
// reference host.
#pragma once

#include <cstdio>

#include "storage/call_record.h"

namespace test {

inline CallRecord MakeCallRecord(const char* phone, const char* target, const char* text = "",
                                 const char* time = "10:00:00", const char* date = "08.12.2026") {
    CallRecord record{};
    std::snprintf(record.phone, sizeof record.phone, "%s", phone);
    std::snprintf(record.target, sizeof record.target, "%s", target);
    std::snprintf(record.text, sizeof record.text, "%s", text);
    std::snprintf(record.date, sizeof record.date, "%s", date);
    std::snprintf(record.time, sizeof record.time, "%s", time);
    return record;
}

}  // namespace test
