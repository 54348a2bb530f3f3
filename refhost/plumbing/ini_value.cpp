// Reading stored INI values into the caller's fields and making stored
// values from a write format.
#include "plumbing/ini_value.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

namespace refhost {

bool CollectTargets(const char* format, va_list* arguments, const std::vector<int>& numberWidths,
                    std::vector<IniTarget>& targets, std::string& problem) {
    std::size_t numbers = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        int width = -1;
        if (*p == '*') {
            width = va_arg(*arguments, int);
            ++p;
        } else if (std::isdigit(static_cast<unsigned char>(*p))) {
            width = 0;
            while (std::isdigit(static_cast<unsigned char>(*p))) width = width * 10 + (*p++ - '0');
        }
        int numberSize = 0;
        if (*p == 'h') numberSize = 2, ++p;
        else if (*p == 'l') numberSize = 4, ++p;
        if (*p == 'd') {
            if (numberSize == 0) numberSize = numbers < numberWidths.size() ? numberWidths[numbers] : 4;
            ++numbers;
            targets.push_back({IniTarget::Kind::Number, numberSize, va_arg(*arguments, void*)});
        } else if (*p == 's' && numberSize == 0 && width >= 0) {
            targets.push_back({IniTarget::Kind::Text, width, va_arg(*arguments, void*)});
        } else if (*p == 's' && numberSize == 0) {
            problem = "a text without a width cannot be read safely";
            return false;
        } else {
            problem = std::string("the conversion \"%") + (*p ? std::string(1, *p) : std::string()) +
                      "\" is not one this host reads";
            return false;
        }
        if (!*p) break;
    }
    return true;
}

namespace {

// A field's value: the number for a numeric target, the text otherwise.
struct Parsed {
    const IniTarget* target;
    long long number;
    std::string text;
};

bool FitsField(long long value, int size) {
    if (size == 2) return value >= INT16_MIN && value <= INT16_MAX;
    return value >= INT32_MIN && value <= INT32_MAX;
}

void Store(const Parsed& parsed) {
    const IniTarget& target = *parsed.target;
    if (target.kind == IniTarget::Kind::Number) {
        long long value = parsed.number;
        if (target.size == 2) {
            int16_t narrow = static_cast<int16_t>(value);
            std::memcpy(target.address, &narrow, sizeof narrow);
        } else {
            int32_t wide = static_cast<int32_t>(value);
            std::memcpy(target.address, &wide, sizeof wide);
        }
        return;
    }
    const std::string& text = parsed.text;
    std::memcpy(target.address, text.data(), text.size());
    static_cast<char*>(target.address)[text.size()] = '\0';
}

}  // namespace

bool ScanIntoTargets(std::string_view value, const char* format, const std::vector<IniTarget>& targets,
                     std::string& problem, bool& cut) {
    std::vector<Parsed> parsed;
    std::size_t at = 0;
    std::size_t next = 0;
    cut = false;
    for (const char* p = format; *p; ++p) {
        if (*p != '%' || p[1] == '%') {
            if (*p == '%') ++p;
            if (at >= value.size() || value[at] != *p) {
                problem = std::string(1, '\'').append(1, *p).append("' expected at character ") + std::to_string(at + 1);
                return false;
            }
            ++at;
            continue;
        }
        while (*p && !std::isalpha(static_cast<unsigned char>(*p)) ) ++p;  // flags and width
        if (*p == 'h' || *p == 'l') ++p;
        if (!*p || next >= targets.size()) break;
        const IniTarget& target = targets[next++];
        std::size_t field = parsed.size() + 1;
        if (target.kind == IniTarget::Kind::Number) {
            std::size_t start = at;
            if (at < value.size() && (value[at] == '-' || value[at] == '+')) ++at;
            std::size_t digits = at;
            while (at < value.size() && std::isdigit(static_cast<unsigned char>(value[at])) && at - digits < 12) ++at;
            if (at == digits) {
                problem = "field " + std::to_string(field) + " is not a number";
                return false;
            }
            long long number = std::stoll(std::string(value.substr(start, at - start)));
            if (!FitsField(number, target.size)) {
                problem = "field " + std::to_string(field) + " (" + std::to_string(number) + ") does not fit its " +
                          std::to_string(target.size * 8) + "-bit field";
                return false;
            }
            parsed.push_back({&target, number, {}});
        } else {
            char stop = p[1];
            std::size_t end = stop ? value.find(stop, at) : value.size();
            if (end == std::string_view::npos) end = value.size();
            std::string text(value.substr(at, end - at));
            if (text.size() > static_cast<std::size_t>(target.size)) {
                text.resize(static_cast<std::size_t>(target.size));
                cut = true;
            }
            parsed.push_back({&target, 0, std::move(text)});
            at = end;
        }
    }
    if (at != value.size()) {
        problem = "\"" + std::string(value.substr(at)) + "\" follows the last field";
        return false;
    }
    if (parsed.size() != targets.size()) {
        problem = "the value has fewer fields than the format";
        return false;
    }
    for (const Parsed& p : parsed) Store(p);
    return true;
}

std::string FormatValue(const char* format, va_list arguments) {
    va_list measure;
    va_copy(measure, arguments);
    int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length <= 0) return {};
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.resize(static_cast<std::size_t>(length));
    for (char& c : text)
        if (c == '\r' || c == '\n') c = ' ';
    return text;
}

}  // namespace refhost
