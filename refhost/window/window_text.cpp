// Readable control texts. A key label runs from byte 0x05 to the next
// byte 0x01; the label is kept and both bytes dropped. Any other markup is
// left to Readable.
#include "window/window_text.h"

#include "plumbing/host.h"

namespace refhost {

std::string ReadableControlText(std::string_view mazovia) {
    std::string plain;
    bool inKeyLabel = false;
    for (char c : mazovia) {
        if (c == '~') continue;
        if (c == '\x05') {
            inKeyLabel = true;
            continue;
        }
        if (c == '\x01' && inKeyLabel) {
            inKeyLabel = false;
            continue;
        }
        plain += c;
    }
    return Readable(plain);
}

}  // namespace refhost
