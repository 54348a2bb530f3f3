// callerid doctor: checks a host working directory as the plug-in sees it.
#pragma once

// args are the words after the command name.
int RunDoctorCommand(int argc, char** args);
