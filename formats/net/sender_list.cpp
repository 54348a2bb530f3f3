// Reading and matching the allowed senders: dotted IPv4 addresses, ranges
// and subnets, without the heap and without locale-dependent functions.
#include "net/sender_list.h"

#include <cstdio>

static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool ParseIPv4(const char* text, std::size_t length, uint32_t* address) {
    uint32_t value = 0;
    std::size_t at = 0;
    for (int part = 0; part < 4; ++part) {
        if (part > 0) {
            if (at >= length || text[at] != '.') return false;
            ++at;
        }
        int digits = 0;
        uint32_t number = 0;
        while (at < length && IsDigit(text[at]) && digits < 4) {
            number = number * 10 + static_cast<uint32_t>(text[at] - '0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || number > 255) return false;
        value = value << 8 | number;
    }
    if (at != length) return false;
    *address = value;
    return true;
}

void FormatIPv4(uint32_t address, char* text, std::size_t size) {
    std::snprintf(text, size, "%u.%u.%u.%u", address >> 24, (address >> 16) & 0xFF, (address >> 8) & 0xFF,
                  address & 0xFF);
}

static uint32_t MaskOfPrefix(unsigned bits) { return bits == 0 ? 0 : 0xFFFFFFFFu << (32 - bits); }

AddressRange SubnetOf(uint32_t address, uint32_t mask) { return {address & mask, address | ~mask}; }

static bool ParsePrefix(const char* text, std::size_t length, unsigned* bits) {
    if (length == 0 || length > 2) return false;
    unsigned value = 0;
    for (std::size_t i = 0; i < length; ++i) {
        if (!IsDigit(text[i])) return false;
        value = value * 10 + static_cast<unsigned>(text[i] - '0');
    }
    if (value > 32) return false;
    *bits = value;
    return true;
}

static std::size_t Find(const char* text, std::size_t length, char c) {
    for (std::size_t i = 0; i < length; ++i)
        if (text[i] == c) return i;
    return length;
}

bool ParseSenderEntry(const char* text, std::size_t length, AddressRange* range, bool* anywhere) {
    if (length == 1 && text[0] == '*') {
        *anywhere = true;
        return true;
    }
    std::size_t slash = Find(text, length, '/');
    std::size_t dash = Find(text, length, '-');
    uint32_t first = 0, last = 0;
    if (slash < length) {
        unsigned bits = 0;
        if (!ParseIPv4(text, slash, &first) || !ParsePrefix(text + slash + 1, length - slash - 1, &bits))
            return false;
        *range = SubnetOf(first, MaskOfPrefix(bits));
        return true;
    }
    if (dash < length) {
        if (!ParseIPv4(text, dash, &first) || !ParseIPv4(text + dash + 1, length - dash - 1, &last) || last < first)
            return false;
        *range = {first, last};
        return true;
    }
    if (!ParseIPv4(text, length, &first)) return false;
    *range = {first, first};
    return true;
}

static bool IsSeparator(char c) { return c == ',' || c == ';' || c == ' ' || c == '\t'; }

bool RangeHolds(const AddressRange& range, uint32_t address) {
    return address >= range.first && address <= range.last;
}

bool AddSenderRange(SenderList* list, const AddressRange& range) {
    for (int i = 0; i < list->count; ++i)
        if (list->ranges[i].first == range.first && list->ranges[i].last == range.last) return true;
    if (list->count == kMostSenderRanges) return false;
    list->ranges[list->count++] = range;
    return true;
}

int ParseSenderList(const char* text, SenderList* list, std::size_t* badOffset, std::size_t* badLength) {
    *list = SenderList{};
    int bad = 0;
    std::size_t at = 0;
    while (text[at] != '\0') {
        if (IsSeparator(text[at])) {
            ++at;
            continue;
        }
        std::size_t start = at;
        while (text[at] != '\0' && !IsSeparator(text[at])) ++at;
        AddressRange range{};
        bool anywhere = false;
        bool good = ParseSenderEntry(text + start, at - start, &range, &anywhere);
        if (good && anywhere) list->anywhere = true;
        else if (good) good = AddSenderRange(list, range);
        if (!good && bad++ == 0) {
            *badOffset = start;
            *badLength = at - start;
        }
    }
    return bad;
}

bool SenderListAllows(const SenderList& list, uint32_t address) {
    if (list.anywhere) return true;
    for (int i = 0; i < list.count; ++i)
        if (RangeHolds(list.ranges[i], address)) return true;
    return false;
}

void FormatSenderRange(const AddressRange& range, char* text, std::size_t size) {
    char first[16], last[16];
    FormatIPv4(range.first, first, sizeof first);
    if (range.first == range.last) {
        std::snprintf(text, size, "%s", first);
        return;
    }
    for (unsigned bits = 0; bits <= 32; ++bits) {
        AddressRange subnet = SubnetOf(range.first, MaskOfPrefix(bits));
        if (subnet.first == range.first && subnet.last == range.last) {
            std::snprintf(text, size, "%s/%u", first, bits);
            return;
        }
    }
    FormatIPv4(range.last, last, sizeof last);
    std::snprintf(text, size, "%s-%s", first, last);
}
