// callerid slots: lists a phone-slot file for a person or, with --json, for
// a script.
#pragma once

// args are the words after the command name.
int RunSlotsCommand(int argc, char** args);

