// The day log: one text file per day of event lines and call lines.
#pragma once

// Fills path (capacity bytes) with today's day log path, having the
// directory "LOGS\TELEFONY\" made first.
void DayLogPath(char* path, int capacity);
// Appends one event line when the log option is set; otherwise does nothing.
// A line longer than its buffer is cut at the buffer's end.
void WriteEventLog(const char* message);
// WriteEventLog with a message composed from a format, cut to fit.
void WriteEventLogF(const char* format, ...) __attribute__((format(printf, 1, 2)));
