// callerid slots: lists a phone-slot file for a person or, with --json, for
// a script.
#pragma once

#include <string>
#include <string_view>

// args are the words after the command name.
int RunSlotsCommand(int argc, char** args);

// The NIP of a slot's text: the digits right after the first "NIP:", at
// most 16, as ddd-dd-dd-ddd when there are exactly ten.
std::string NipOf(std::string_view text);
