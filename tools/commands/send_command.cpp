// callerid send: a caller-ID datagram from the command line. Phone, target
// and text are typed in UTF-8 and sent in the Mazovia code page in which the
// host shows texts; --raw sends exactly the bytes given, with escapes for
// tabs, carriage returns and any other byte.
#include "commands/send_command.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "commands/destination.h"
#include "text/mazovia_utf8.h"

std::string CallDatagram(std::string_view phone, std::string_view target, std::string_view text) {
    std::string datagram;
    datagram.append(phone).append("\t").append(target).append("\t\t\t").append(text);
    return datagram;
}

static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool Unescape(std::string_view text, std::string& bytes, std::string& error) {
    bytes.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            bytes += text[i];
            continue;
        }
        if (++i == text.size()) {
            error = "a lone \\ ends the text";
            return false;
        }
        switch (text[i]) {
            case 't': bytes += '\t'; break;
            case 'r': bytes += '\r'; break;
            case 'n': bytes += '\n'; break;
            case '0': bytes += '\0'; break;
            case '\\': bytes += '\\'; break;
            case 'x': {
                int high = i + 1 < text.size() ? HexValue(text[i + 1]) : -1;
                int low = i + 2 < text.size() ? HexValue(text[i + 2]) : -1;
                if (high < 0 || low < 0) {
                    error = "\\x needs two hexadecimal digits";
                    return false;
                }
                bytes += static_cast<char>(high * 16 + low);
                i += 2;
                break;
            }
            default:
                error = std::string("unknown escape \\") + text[i];
                return false;
        }
    }
    return true;
}

int RunSendCommand(int argc, char** args) {
    Destination destination;
    std::vector<std::string> words;
    const char* raw = nullptr;
    std::string error;
    for (int i = 0; i < argc && error.empty(); ++i) {
        if (TakeDestinationOption(argc, args, i, destination, error)) continue;
        if (std::strcmp(args[i], "--raw") == 0) {
            if (i + 1 >= argc) error = "--raw needs a text";
            else raw = args[++i];
        } else {
            words.emplace_back(args[i]);
        }
    }
    if (error.empty() && raw && !words.empty()) error = "--raw takes no phone, target or text";
    if (error.empty() && !raw && (words.size() < 2 || words.size() > 3))
        error = "send needs PHONE TARGET [TEXT] or --raw TEXT";
    std::string payload;
    if (error.empty()) {
        if (raw)
            Unescape(raw, payload, error);
        else
            payload = refhost::Utf8ToMazovia(
                CallDatagram(words[0], words[1], words.size() > 2 ? words[2] : ""));
    }
    if (!error.empty()) {
        std::fprintf(stderr, "callerid send: %s\n", error.c_str());
        return 2;
    }
    return SendTo(destination, payload);
}
