// Fields of a text separated by single bytes (a datagram's tabs, a day
// log's call line): the one split that the reference host's field
// service, the tool's datagram judge and its day log reader all use.
#pragma once

#include <string_view>

// Field `field` (counted from 0) of text, fields separated by any byte of
// separators; empty when the text has fewer fields.
inline std::string_view FieldOf(std::string_view text, int field, std::string_view separators = "\t") {
    std::size_t start = 0;
    for (int skipped = 0; skipped < field; ++skipped) {
        std::size_t at = text.find_first_of(separators, start);
        if (at == std::string_view::npos) return {};
        start = at + 1;
    }
    std::size_t stop = text.find_first_of(separators, start);
    return text.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start);
}
