// The reference host program; everything it does lives in the MERLOX
// module, which the plug-in finds as its host.
#include "refhost_main.h"

int main(int argc, char** argv) { return refhost::RefhostMain(argc, argv); }
