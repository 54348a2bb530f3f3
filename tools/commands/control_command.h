// callerid ping and callerid restart: the two control commands that make
// a listener pause, re-read its settings and listen again.
#pragma once

// word is "ping" or "restart"; args are the words after the command name.
int RunControlCommand(const char* word, int argc, char** args);
