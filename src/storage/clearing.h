// Clearing today's day log and the phone slots together (F4 of the
// caller-ID window): both are cleared, or neither.
#pragma once

#include <cstddef>

// Runs on the user-interface thread and waits for no lock longer than the
// bounded time. True when both were cleared (a file that was not there
// counts as cleared); false when neither was, with the reason for the
// user's box in why.
bool ClearDayLogAndSlots(char* why, std::size_t whySize);
