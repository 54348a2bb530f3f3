// The tool's own main: the arguments in UTF-8, whatever the system gave.
#pragma once

int CalleridMain(int argc, char** argv);
