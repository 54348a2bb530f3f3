// The code conversions: in place (52158) and into an output buffer (35385).
// The codes are those of code_pages.h.
#include <algorithm>
#include <cstring>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/services.h"
#include "text/code_pages.h"

using namespace refhost;

extern "C" {

// Converts the text in to out, byte by byte, so that out may be in itself.
int HOSTAPI ordinal_52158(char* out, const char* in, int from, int to) {
    HostLockScope held(52158);
    Trace(52158, "%s, \"%s\", %d, %d", out == in ? "in place" : TraceAddress(out).c_str(), in ? in : "", from, to);
    if (!out || !in) return -1;
    std::size_t length = std::strlen(in);
    for (std::size_t i = 0; i < length; ++i) out[i] = ConvertCodeByte(in[i], from, to);
    out[length] = '\0';
    return IsKnownCode(from) && IsKnownCode(to) ? 0 : -1;
}

// Converts at most length bytes (-1: up to the NUL) and never more than the
// output holds with its NUL; the source is not read past that either.
char* HOSTAPI ordinal_35385(char* out, int capacity, const char* in, int length, int from, int to) {
    HostLockScope held(35385);
    Trace(35385, "%s, %d, \"%s\", %d, %d, %d", TraceAddress(out).c_str(), capacity, in ? in : "", length, from, to);
    if (!out || capacity <= 0) return out;
    std::size_t room = static_cast<std::size_t>(capacity) - 1;
    if (length >= 0) room = std::min(room, static_cast<std::size_t>(length));
    std::size_t count = in ? strnlen(in, room) : 0;
    std::string converted = ConvertCodes(std::string_view(in ? in : "", count), from, to);
    std::memcpy(out, converted.data(), count);
    out[count] = '\0';
    return out;
}

}  // extern "C"
