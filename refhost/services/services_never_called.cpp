// The six services the plug-in binds (so that a host lacking one refuses
// it) but never calls. Should one be called all the same, the console says
// so and the call gets a neutral result.
#include "plumbing/host.h"
#include "services/services.h"

using refhost::NotProvided;

extern "C" {

int HOSTAPI ordinal_40008() { return NotProvided(40008); }
int HOSTAPI ordinal_41611() { return NotProvided(41611); }
int HOSTAPI ordinal_41613() { return NotProvided(41613); }
int HOSTAPI ordinal_30005() { return NotProvided(30005); }
int HOSTAPI ordinal_38417() { return NotProvided(38417); }
int HOSTAPI ordinal_32108() { return NotProvided(32108); }

}  // extern "C"
