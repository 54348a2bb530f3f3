// Services that this reference host does not provide yet. Each says so on
// the console when the plug-in calls it and gives a neutral result.
#include "host.h"
#include "services.h"

using refhost::NotProvided;

extern "C" {

int HOSTAPI ordinal_40008() { return NotProvided(40008); }
int HOSTAPI ordinal_41611() { return NotProvided(41611); }
int HOSTAPI ordinal_41613() { return NotProvided(41613); }
int HOSTAPI ordinal_30005() { return NotProvided(30005); }
int HOSTAPI ordinal_38417() { return NotProvided(38417); }
int HOSTAPI ordinal_32108() { return NotProvided(32108); }
int HOSTAPI ordinal_52158(char*, const char*, int, int) { return NotProvided(52158); }
int HOSTAPI ordinal_52044(int, int16_t*) { return NotProvided(52044); }
int HOSTAPI ordinal_51711(const char*) { return NotProvided(51711); }
int HOSTAPI ordinal_52205(const char*, int) { return NotProvided(52205); }
int HOSTAPI ordinal_52046(int16_t*) { return NotProvided(52046); }
void* HOSTAPI ordinal_38020(const char*, int, char*, int, int, int) {
    NotProvided(38020);
    return nullptr;
}
int HOSTAPI ordinal_52043(int, int16_t*) { return NotProvided(52043); }
int HOSTAPI ordinal_52045(int16_t*) { return NotProvided(52045); }
int HOSTVA ordinal_52026(const void*, int, void*, WindowProcedure) { return NotProvided(52026); }
int HOSTAPI ordinal_51704(int, char*, const char*, int, int, int, int) {
    NotProvided(51704);
    return -1;
}
int HOSTAPI ordinal_52247(const char*) { return NotProvided(52247); }
int HOSTAPI ordinal_52040(void*, int) { return NotProvided(52040); }
char* HOSTAPI ordinal_35385(char* out, int capacity, const char*, int, int, int) {
    if (out && capacity > 0) out[0] = '\0';
    NotProvided(35385);
    return out;
}
int HOSTAPI ordinal_52056(int, const char*) { return NotProvided(52056); }
int HOSTAPI ordinal_52251(int) { return NotProvided(52251); }
int HOSTAPI ordinal_52034(int, int, int) { return NotProvided(52034); }
int HOSTAPI ordinal_52161(char* out, const char*, int) {
    out[0] = '\0';
    return NotProvided(52161);
}
int HOSTAPI ordinal_52130(char*, int) { return NotProvided(52130); }
int HOSTAPI ordinal_52248(const uint16_t*) { return NotProvided(52248); }

}  // extern "C"
