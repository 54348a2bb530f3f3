// The failure report: one message box that tells the user why the plug-in
// refused to start.
#pragma once

#include <cstddef>

inline constexpr std::size_t kReportSize = 3072;

int FormatMissingServices(char* buffer);
int FormatRecordSizes(char* buffer);
void ReportLoadFailure();
