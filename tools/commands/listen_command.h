// callerid listen: every datagram on the caller-ID port as it arrives, and
// what the plug-in would make of it.
#pragma once

// args are the words after the command name.
int RunListenCommand(int argc, char** args);
