// callerid window-description: the caller-ID window's description, raw or
// as a listing of its records.
#pragma once

// args are the words after the command name.
int RunWindowDescriptionCommand(int argc, char** args);
