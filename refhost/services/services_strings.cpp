// Text editing services: the bounded copy (52161) and the insertion of a
// character (52130).
#include <cstring>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/services.h"

using namespace refhost;

extern "C" {

// Copies at most limit characters and always terminates out, which must
// hold limit + 1 bytes. Returns the number of characters copied.
int HOSTAPI ordinal_52161(char* out, const char* in, int limit) {
    HostLockScope held(52161);
    Trace(52161, "\"%.*s\", %d", limit > 0 ? limit : 0, in ? in : "", limit);
    if (!out) return 0;
    std::size_t count = (in && limit > 0) ? strnlen(in, static_cast<std::size_t>(limit)) : 0;
    if (count > 0) std::memmove(out, in, count);
    out[count] = '\0';
    return static_cast<int>(count);
}

// Inserts the character at position, moving the rest of the text, its NUL
// included, one place to the right; the text must have room for it.
int HOSTAPI ordinal_52130(char* position, int character) {
    HostLockScope held(52130);
    if (!position) return -1;
    std::size_t rest = std::strlen(position);
    std::memmove(position + 1, position, rest + 1);
    position[0] = static_cast<char>(character);
    Trace(52130, "'%c' before \"%s\"", static_cast<char>(character), position + 1);
    return 0;
}

}  // extern "C"
