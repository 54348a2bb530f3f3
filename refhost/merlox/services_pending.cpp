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
int HOSTAPI ordinal_52308(const void*, int, int, FILE*) { return NotProvided(52308); }
int HOSTAPI ordinal_52305(FILE*) { return NotProvided(52305); }
int HOSTAPI ordinal_51711(const char*) { return NotProvided(51711); }
int HOSTAPI ordinal_52205(const char*, int) { return NotProvided(52205); }
int HOSTAPI ordinal_52046(int16_t*) { return NotProvided(52046); }
int HOSTAPI ordinal_30204(char* date) {
    date[0] = '\0';
    return NotProvided(30204);
}
void* HOSTAPI ordinal_38020(const char*, int, char*, int, int, int) {
    NotProvided(38020);
    return nullptr;
}
int HOSTAPI ordinal_30909(const char*, const char*) { return NotProvided(30909); }
int HOSTAPI ordinal_52043(int, int16_t*) { return NotProvided(52043); }
int HOSTAPI ordinal_52045(int16_t*) { return NotProvided(52045); }
int HOSTAPI ordinal_52307(void*, int, int, FILE*) { return NotProvided(52307); }
int HOSTVA ordinal_52026(const void*, int, void*, WindowProcedure) { return NotProvided(52026); }
int HOSTAPI ordinal_51704(int, char*, const char*, int, int, int, int) {
    NotProvided(51704);
    return -1;
}
int HOSTAPI ordinal_52247(const char*) { return NotProvided(52247); }
int HOSTAPI ordinal_52040(void*, int) { return NotProvided(52040); }
int HOSTVA ordinal_41399(const char*, int, const char*, const char*, const char*, va_list) {
    return NotProvided(41399);
}
char* HOSTAPI ordinal_35385(char* out, int capacity, const char*, int, int, int) {
    if (out && capacity > 0) out[0] = '\0';
    NotProvided(35385);
    return out;
}
int HOSTAPI ordinal_30908(const char*, const char*) { return NotProvided(30908); }
int HOSTAPI ordinal_52056(int, const char*) { return NotProvided(52056); }
int HOSTAPI ordinal_52251(int) { return NotProvided(52251); }
FILE* HOSTAPI ordinal_52534(const char*, const char*, int, int, int) {
    NotProvided(52534);
    return nullptr;
}
int HOSTAPI ordinal_52034(int, int, int) { return NotProvided(52034); }
int HOSTAPI ordinal_52161(char* out, const char*, int) {
    out[0] = '\0';
    return NotProvided(52161);
}
int HOSTAPI ordinal_52130(char*, int) { return NotProvided(52130); }
int HOSTAPI ordinal_30308(char* time, int) {
    time[0] = '\0';
    return NotProvided(30308);
}
int HOSTVA ordinal_52224(int, const char*, const char*, const char*, va_list) {
    return NotProvided(52224);
}
int HOSTAPI ordinal_52248(const uint16_t*) { return NotProvided(52248); }
const char* HOSTAPI ordinal_32500() {
    NotProvided(32500);
    return nullptr;
}
int HOSTAPI ordinal_32008(char* out, const char*) {
    out[0] = '\0';
    return NotProvided(32008);
}
int HOSTAPI ordinal_51434(const char*) { return NotProvided(51434); }
int HOSTAPI ordinal_52435(int, const char*, char* out, int, int, const char*) {
    out[0] = '\0';
    return NotProvided(52435);
}
int HOSTAPI ordinal_37970() { return NotProvided(37970); }
int HOSTAPI ordinal_52407(const char*, const char*) { return NotProvided(52407); }

}  // extern "C"
