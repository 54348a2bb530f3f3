// callerid send: a caller-ID datagram from the command line. Phone, target
// and text are typed in UTF-8 and sent in the Mazovia code page in which the
// host shows texts; a character Mazovia has no byte for is named and nothing
// is sent, rather than a "?" in its place. --raw sends exactly the bytes
// given, with escapes for tabs, carriage returns and any other byte.
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "commands/commands.h"
#include "commands/destination.h"
#include "output/counted_words.h"
#include "output/exit_codes.h"
#include "text/mazovia_utf8.h"

namespace {

// The datagram of one call: phone, target and text as fields 0, 1 and 4,
// fields 2 and 3 empty.
std::string CallDatagram(std::string_view phone, std::string_view target, std::string_view text) {
    std::string datagram;
    datagram.append(phone).append("\t").append(target).append("\t\t\t").append(text);
    return datagram;
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Resolves \t, \r, \n, \0, \\ and \xHH; false on a broken escape.
bool Unescape(std::string_view text, std::string& bytes) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size()) return false;
        switch (text[i]) {
            case 't': bytes += '\t'; break;
            case 'r': bytes += '\r'; break;
            case 'n': bytes += '\n'; break;
            case '0': bytes += '\0'; break;
            case '\\': bytes += '\\'; break;
            case 'x': {
                int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
                int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
                if (high < 0 || low < 0) return false;
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                return false;
        }
    }
    return true;
}

// The characters of a UTF-8 text, quoted and apart: "€", "–".
std::string Listed(std::string_view utf8) {
    std::string listed;
    for (std::size_t at = 0; at < utf8.size();) {
        std::size_t next = at + 1;
        while (next < utf8.size() && (static_cast<unsigned char>(utf8[next]) & 0xC0) == 0x80) ++next;
        listed += (listed.empty() ? "\"" : ", \"") + std::string(utf8.substr(at, next - at)) + "\"";
        at = next;
    }
    return listed;
}

}  // namespace

int RunSendCommand(int argc, char** args) {
    Destination destination;
    std::vector<std::string> words;
    const char* raw = nullptr;
    std::string error;
    for (int i = 0; i < argc && error.empty(); ++i) {
        if (TakeDestinationOption(argc, args, i, destination, error)) continue;
        if (std::strcmp(args[i], "--raw") == 0) {
            if (i + 1 >= argc) error = Say(Msg::SendRawNeedsText);
            else raw = args[++i];
        } else {
            words.emplace_back(args[i]);
        }
    }
    if (error.empty() && raw && !words.empty()) error = Say(Msg::SendRawTakesNoFields);
    if (error.empty() && !raw && (words.size() < 2 || words.size() > 3))
        error = Say(Msg::SendUsage);
    if (!error.empty()) {
        PrintTo(stderr, "callerid send: %s\n", error.c_str());
        return kBadUsage;
    }
    std::string payload;
    if (raw && !Unescape(raw, payload)) return Fail(kBadUsage, "send", Msg::SendBadEscape);
    if (!raw) {
        std::string typed = CallDatagram(words[0], words[1], words.size() > 2 ? words[2] : "");
        if (std::string missing = refhost::Utf8NotInMazovia(typed); !missing.empty())
            return Fail(kBadUsage, "send", Msg::SendNotInMazovia, Listed(missing).c_str());
        payload = refhost::Utf8ToMazovia(typed);
    }
    int code = SendTo("send", destination, payload);
    if (code == kDone) Print("%s\n", Say(Msg::Sent, Counted(payload.size(), Noun::Byte).c_str(), destination.address.c_str(), static_cast<int>(destination.port)).c_str());
    return code;
}
