// The start checks: is the host the one this plug-in was built for?
#pragma once

#include <cstdint>

// One row of the record-size report: a table whose records the plug-in and
// the host size differently (host size 0: the host has no such table).
struct RecordSizeMismatch {
    int32_t expectedSize;
    int32_t hostSize;
    const char* tableName;
    RecordSizeMismatch* next;
};

inline constexpr int kContractorTable = 35;
inline constexpr char kContractorTableName[] = "k4";
inline constexpr int kContractorRecordSize = 1536;
inline constexpr int kInterfaceLevel = 112;
inline constexpr char kMinimumHostDate[] = "Jan  1 2023";

// Appends an entry unless it is already in the list.
void ListRecordSizeMismatch(RecordSizeMismatch* entry);
RecordSizeMismatch* FirstRecordSizeMismatch();

int CheckTableSizes();
int RunStartChecks();

// The contractor table's record size as the host reports it (0: no table).
int HostRecordSize(const void* descriptor);
