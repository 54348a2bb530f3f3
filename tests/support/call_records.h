// A call record as the plug-in builds it, for tests: every byte after a
// field's terminator zero.
#pragma once

#include <cstdio>

#include "storage/call_record.h"

namespace test {

inline CallRecord CallOf(const char* phone, const char* target, const char* text, const char* time,
                         const char* date = "01.03.2024") {
    CallRecord record{};
    std::snprintf(record.phone, sizeof record.phone, "%s", phone);
    std::snprintf(record.target, sizeof record.target, "%s", target);
    std::snprintf(record.text, sizeof record.text, "%s", text);
    std::snprintf(record.date, sizeof record.date, "%s", date);
    std::snprintf(record.time, sizeof record.time, "%s", time);
    return record;
}

}  // namespace test
