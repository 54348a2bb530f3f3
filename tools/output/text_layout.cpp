// Column layout of UTF-8 text.
#include "output/text_layout.h"

#include <cstdio>
#include <vector>

std::string OnOneLine(std::string text) {
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20) c = ' ';
    return text;
}

std::string Escaped(std::string_view text) {
    std::string shown;
    for (char c : text) {
        unsigned char byte = static_cast<unsigned char>(c);
        if (c == '\t') {
            shown += "\\t";
        } else if (c == '\r') {
            shown += "\\r";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
            shown += escape;
        } else {
            shown += c;
        }
    }
    return shown;
}

static std::size_t CharacterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (char c : utf8)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++count;
    return count;
}

std::string Padded(std::string_view utf8, std::size_t width) {
    std::string padded(utf8);
    std::size_t count = CharacterCount(utf8);
    if (count < width) padded.append(width - count, ' ');
    return padded;
}

// The byte length of the first count characters.
static std::size_t BytesOfCharacters(std::string_view utf8, std::size_t count) {
    std::size_t at = 0;
    for (std::size_t taken = 0; at < utf8.size(); ++at) {
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && taken++ == count) break;
    }
    return at;
}

std::string Wrapped(std::string_view utf8, std::size_t indent, std::size_t firstIndent) {
    std::string lines;
    std::size_t lead = firstIndent;
    do {
        const std::size_t room = kTableWidth > lead + 10 ? kTableWidth - lead : 10;
        std::string_view line = utf8;
        if (CharacterCount(utf8) > room) {
            std::size_t cut = BytesOfCharacters(utf8, room);
            std::size_t blank = utf8.substr(0, cut + 1).find_last_of(' ');
            line = utf8.substr(0, blank != std::string_view::npos && blank > 0 ? blank : cut);
        }
        lines += TrimmedRight(std::string(lead, ' ') + std::string(line)) + "\n";
        lead = indent;
        utf8.remove_prefix(line.size());
        while (!utf8.empty() && utf8.front() == ' ') utf8.remove_prefix(1);
    } while (!utf8.empty());
    return lines;
}

// Where a line's further lines start: under its text past a leading word
// of capitals and its blanks ("PROBLEM ", "OK      "), else two further in
// than the line, so that a reader sees they go on from it.
static std::size_t HangingIndent(std::string_view line) {
    std::size_t at = line.find_first_not_of(' ');
    if (at == std::string_view::npos) return 0;
    std::size_t word = at;
    while (word < line.size() && line[word] >= 'A' && line[word] <= 'Z') ++word;
    std::size_t text = word - at >= 2 && word < line.size() && line[word] == ' ' ? line.find_first_not_of(' ', word) : at + 2;
    return text == std::string_view::npos || text > kTableWidth / 2 ? 2 : text;
}

std::string FittedToWidth(std::string_view utf8) {
    std::string fitted;
    while (!utf8.empty()) {
        std::size_t end = utf8.find('\n');
        std::string_view line = utf8.substr(0, end);
        bool lineEnd = end != std::string_view::npos;
        if (CharacterCount(line) <= kTableWidth) {
            fitted.append(line);
            if (lineEnd) fitted += '\n';
        } else {
            std::size_t lead = line.find_first_not_of(' ');
            if (lead == std::string_view::npos) lead = line.size();
            std::string wrapped = Wrapped(line.substr(lead), HangingIndent(line), lead);
            if (!lineEnd) wrapped.pop_back();
            fitted += wrapped;
        }
        utf8.remove_prefix(lineEnd ? end + 1 : utf8.size());
    }
    return fitted;
}

std::string CommandWrapped(std::string_view command, std::size_t indent) {
    std::vector<std::string_view> words;
    bool quoted = false;
    std::size_t start = 0;
    for (std::size_t at = 0; at <= command.size(); ++at) {
        if (at < command.size() && command[at] == '"') quoted = !quoted;
        if (at == command.size() || (command[at] == ' ' && !quoted)) {
            if (at > start) words.push_back(command.substr(start, at - start));
            start = at + 1;
        }
    }
    std::string lines, line(indent, ' ');
    std::size_t lineStart = indent;
    for (std::string_view word : words) {
        bool first = line.size() == lineStart;
        if (!first && CharacterCount(line) + 1 + CharacterCount(word) + 2 > kTableWidth) {
            lines += line + " ^\n";
            line.assign(indent + 2, ' ');
            lineStart = indent + 2;
            first = true;
        }
        if (!first) line += ' ';
        line += word;
    }
    return lines + line + "\n";
}

std::string TrimmedRight(std::string text) {
    text.erase(text.find_last_not_of(' ') + 1);
    return text;
}
