// Keeping the console's lines and picking the host events among them.
#include "screen/event_feed.h"

#include "plumbing/host.h"

namespace refhost::screen {
namespace {

constexpr std::size_t kKeptLines = 2000;

// The line breaks of a message box's text become spaces, and the
// indentation of its lines one space.
std::string OneLine(std::string_view text) {
    std::string line;
    bool space = false;
    for (char c : text) {
        bool blank = c == '\n' || c == '\r' || c == ' ' || c == '\t';
        if (blank) {
            space = !line.empty();
            continue;
        }
        if (space) line += ' ';
        space = false;
        line += c;
    }
    return line;
}

}  // namespace

bool IsHostEvent(std::string_view line) {
    if (line.empty() || line[0] == '[' || line[0] == ' ') return false;
    return line.substr(0, 6) != "trace:";
}

void EventFeed::Add(std::string_view line) {
    std::lock_guard lock(mutex_);
    std::size_t start = 0;
    while (start <= line.size()) {
        std::size_t end = line.find('\n', start);
        if (end == std::string_view::npos) end = line.size();
        lines_.emplace_back(line.substr(start, end - start));
        if (lines_.size() > kKeptLines) lines_.pop_front();
        start = end + 1;
    }
    if (IsHostEvent(line)) latestEvent_ = OneLine(line);
    ++generation_;
}

std::vector<std::string> EventFeed::All() const {
    std::lock_guard lock(mutex_);
    return {lines_.begin(), lines_.end()};
}

std::string EventFeed::LatestEvent() const {
    std::lock_guard lock(mutex_);
    return latestEvent_;
}

ScopedConsoleFeed::ScopedConsoleFeed(EventFeed& feed) {
    SetConsoleSink([&feed](std::string_view line) { feed.Add(line); });
}

ScopedConsoleFeed::~ScopedConsoleFeed() { SetConsoleSink(nullptr); }

}  // namespace refhost::screen
