// The text services: taking one field out of a separated text.
#include <cstring>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/services.h"
#include "text/fields.h"

using namespace refhost;

static int CopyField(int field, const char* text, char* out, int textSize, int outSize, const char* separators) {
    if (!out || outSize <= 0) return 0;
    out[0] = '\0';
    if (!text || textSize <= 0 || field < 0) return 0;
    const char* end = static_cast<const char*>(std::memchr(text, '\0', static_cast<std::size_t>(textSize)));
    if (!end) end = text + textSize;
    std::string_view value = FieldOf(std::string_view(text, static_cast<std::size_t>(end - text)), field,
                                      separators ? std::string_view(separators) : std::string_view());
    int length = static_cast<int>(value.size());
    if (length > outSize - 1) length = outSize - 1;
    if (length > 0) std::memcpy(out, value.data(), static_cast<std::size_t>(length));
    out[length] = '\0';
    return length;
}

extern "C" {

// Copies field `field` (counted from 0) of `text` into `out`. Fields are
// separated by any byte of `separators`; the text ends at its NUL or after
// textSize bytes, whichever comes first. The copy is cut to outSize - 1
// bytes and always terminated; a missing field gives an empty text. The
// result is the number of bytes copied.
int HOSTAPI ordinal_52435(int field, const char* text, char* out, int textSize, int outSize,
                          const char* separators) {
    HostLockScope held(52435);
    int length = CopyField(field, text, out, textSize, outSize, separators);
    Trace(52435, "%d, \"%s\", %d, %d, \"%s\" -> \"%s\"", field, text ? text : "", textSize, outSize,
          separators ? separators : "", out ? out : "");
    return length;
}

}  // extern "C"
