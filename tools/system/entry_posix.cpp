// The entry on POSIX: the arguments are the bytes typed, UTF-8 in a UTF-8
// locale, and go on as they are.
#include "callerid.h"

int main(int argc, char** argv) { return CalleridMain(argc, argv); }
