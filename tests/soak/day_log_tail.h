// Follows a growing day log, counting the lines the soak steers by: one
// per datagram the listener took in ("R[...]" or a receive error), and the
// starts of listening. The file is read from where the last look ended,
// so following a log of many megabytes costs only what was appended.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace soak {

class DayLogTail {
public:
    explicit DayLogTail(std::string path) : path_(std::move(path)) {}
    ~DayLogTail() {
        if (fd_ >= 0) close(fd_);
    }
    DayLogTail(const DayLogTail&) = delete;
    DayLogTail& operator=(const DayLogTail&) = delete;

    // Reads what was appended since the last look.
    void Look() {
        if (fd_ < 0 && (fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC)) < 0) return;
        char buffer[65536];
        for (ssize_t count; (count = read(fd_, buffer, sizeof buffer)) > 0;) {
            pending_.append(buffer, static_cast<std::size_t>(count));
            std::size_t start = 0;
            for (std::size_t end; (end = pending_.find('\n', start)) != std::string::npos; start = end + 1)
                Count(std::string_view(pending_).substr(start, end - start));
            pending_.erase(0, start);
        }
    }

    long taken() const { return taken_; }
    long listening() const { return listening_; }

private:
    // An event line has a blank after its date and its message after the
    // user's name; a call line has a tab after the date, whatever random
    // bytes its fields hold.
    void Count(std::string_view line) {
        if (line.size() < 11 || line[10] != ' ') return;
        std::size_t user = line.find(":u=");
        if (user == std::string_view::npos) return;
        std::size_t blank = line.find(' ', user);
        if (blank == std::string_view::npos) return;
        std::string_view message = line.substr(blank + 1);
        if (message.starts_with("R[127.0.0.1]:") || message.starts_with("recvfrom() error: "))
            ++taken_;
        else if (message.starts_with(kSummed))
            taken_ += SummedCount(message);
        else if (message.starts_with("UDPoling() - rozpoczeto nasluch"))
            ++listening_;
    }

    // Datagrams beyond the sender's budget of lines are summed in a line a
    // minute: "... bez wpisu w dzienniku: N, nieprzyjęte ponad R na sekundę: M".
    static constexpr std::string_view kSummed = "Datagramy od 127.0.0.1 bez wpisu";
    static long SummedCount(std::string_view message) {
        std::size_t unlogged = message.find("dzienniku: "), overRate = message.rfind(": ");
        if (unlogged == std::string_view::npos || overRate == std::string_view::npos) return 0;
        return std::atol(std::string(message.substr(unlogged + 11)).c_str()) +
               std::atol(std::string(message.substr(overRate + 2)).c_str());
    }

    std::string path_;
    int fd_ = -1;
    std::string pending_;
    long taken_ = 0;
    long listening_ = 0;
};

}  // namespace soak
