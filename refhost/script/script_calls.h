// Calls that a script makes arrive at the plug-in's port, as the caller-ID
// box would send them: each datagram goes out from a socket of the host's
// own, and the script then waits, with a bound, until the listener has
// filed it. Filed means that the day log holds the datagram's "R[...]"
// line followed, on the same station, by "Zapis" or "Bez zapisu": the
// listener writes that line only after the slot file was updated.
#pragma once

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace refhost {

struct CallsToSend {
    std::string phone, target, text;  // Mazovia; "{n}" becomes the call's number
    int count = 1;
    std::string address = "127.0.0.1";
    int port = 0;                     // 0: the port of the host's settings (MERLOX.INI)
};

class CallFeed {
public:
    // Sends the calls one after another; with wait, each is filed before
    // the next is sent (by `stations` stations sharing the day log).
    bool Send(const CallsToSend& calls, bool wait, int stations, std::string& error);
    // Waits until every call sent and not yet waited for has been filed by
    // `stations` stations. Fails when none more was filed for 10 s.
    bool WaitFiled(int stations, std::string& error);
    // Waits, at most 10 s, until this station's listener has logged that
    // it listens (any such line of today's day log counts).
    static bool WaitListening(std::string& error);

private:
    struct Pending {
        std::string datagram;             // as the day log shows it
        std::set<int> received, filed;    // stations
    };
    void LookAtDayLog();

    std::vector<Pending> pending_;
    std::string dayLog_;                  // the file followed since the first call sent
    unsigned long long offset_ = 0;
    std::string partial_;                 // a line not yet ended
    // station -> the datagrams it received and has not yet filed, oldest
    // first: the pending call each named, or -1 for another datagram. A
    // station files them in the order they came, though a call may wait
    // for another station's hold of the slot file while more arrive.
    std::map<int, std::deque<long>> unfiled_;
};

// A datagram as the caller-ID box sends it: phone, target, two empty
// fields and the text, separated by tabs.
std::string CallDatagram(const std::string& phone, const std::string& target, const std::string& text);

}  // namespace refhost
