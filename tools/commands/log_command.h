// callerid log: a day log as readable text.
#pragma once

// args are the words after the command name.
int RunLogCommand(int argc, char** args);
