// The clipboard (52205), the suggestion for the input being edited (52247)
// and the keys handed to the host to process after it (52248): kept, and
// shown on the console.
#include <cstring>

#include "plumbing/host.h"
#include "plumbing/host_lock.h"
#include "services/host_screen.h"
#include "services/services.h"
#include "window/window_keys.h"

using namespace refhost;

namespace {

// A key list longer than this is taken for one without its end.
constexpr int kLongestKeyList = 64;

}  // namespace

extern "C" {

// Length -1 takes the text to its NUL; another length takes that many
// bytes, but never past a NUL.
int HOSTAPI ordinal_52205(const char* text, int length) {
    HostLockScope held(52205);
    std::string copied;
    if (text) copied.assign(text, length < 0 ? std::strlen(text) : strnlen(text, static_cast<std::size_t>(length)));
    Trace(52205, "\"%s\", %d", copied.c_str(), length);
    PrintLine("clipboard: \"" + Readable(copied) + "\"");
    SetClipboardText(std::move(copied));
    return 0;
}

int HOSTAPI ordinal_52247(const char* text) {
    HostLockScope held(52247);
    std::string suggestion = text ? text : "";
    Trace(52247, "\"%s\"", suggestion.c_str());
    PrintLine("suggestion: \"" + Readable(suggestion) + "\"");
    SetSuggestion(std::move(suggestion));
    return 0;
}

int HOSTAPI ordinal_52248(const uint16_t* keys) {
    HostLockScope held(52248);
    std::vector<uint16_t> list;
    for (int i = 0; keys && i < kLongestKeyList && keys[i] != 0; ++i) list.push_back(keys[i]);
    std::string names, codes;
    for (uint16_t key : list) {
        names += ' ';
        names += KeyName(key);
        char code[16];
        std::snprintf(code, sizeof code, "0x%04X, ", key);
        codes += code;
    }
    Trace(52248, "%s0", codes.c_str());
    PrintLine("keys for the host:" + (names.empty() ? std::string(" none") : names));
    SetPushedKeys(std::move(list));
    return 0;
}

}  // extern "C"
