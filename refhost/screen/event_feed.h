// The host's console lines while a screen owns the terminal: every line for
// the list of events, and the newest host event (the clipboard, a
// suggestion, a message, a search) for the status line. The windows' own
// steps and the trace are kept but are not host events.
#pragma once

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace refhost::screen {

bool IsHostEvent(std::string_view line);

class EventFeed {
public:
    // From any thread. A line with line breaks is one event.
    void Add(std::string_view line);
    std::vector<std::string> All() const;
    std::string LatestEvent() const;
    // Grows with every line, so that a screen knows when to draw again.
    uint64_t generation() const { return generation_.load(); }

private:
    mutable std::mutex mutex_;
    std::deque<std::string> lines_;
    std::string latestEvent_;
    std::atomic<uint64_t> generation_{0};
};

// The feed takes the console's lines for as long as this object lives.
class ScopedConsoleFeed {
public:
    explicit ScopedConsoleFeed(EventFeed& feed);
    ~ScopedConsoleFeed();
    ScopedConsoleFeed(const ScopedConsoleFeed&) = delete;
    ScopedConsoleFeed& operator=(const ScopedConsoleFeed&) = delete;
};

}  // namespace refhost::screen
