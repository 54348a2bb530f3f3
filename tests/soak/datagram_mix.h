// The soak's traffic: what an open office network throws at a station in
// months. Calls of ever new phones, repeats, rings, the control words,
// empty and oversize datagrams, datagrams holding NUL bytes, and random
// bytes, drawn from a seeded generator so a run can be repeated. Each
// datagram says what the day log must show for it.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace soak {

struct Datagram {
    enum class Kind { Call, Repeat, Ring, Control, Empty, Oversize, NulHolding, Random };
    Kind kind;
    std::string bytes;
    // The call line the day log must hold exactly once (recorded calls), or empty.
    std::string callLine;
    // Whether the listener writes a line for it ("R[...]" or a receive error).
    bool leavesALine;
};

class DatagramMix {
public:
    explicit DatagramMix(uint32_t seed) : random_(seed) {}

    // The host's clock stands still in the soak, so every recorded call
    // carries the same date and time.
    static constexpr char kStamp[] = "08.12.2026\t10:00:00\t";

    Datagram Next() {
        int draw = Draw(0, 999);
        if (draw < 3) return Control(draw);
        if (draw < 400) return Call();
        if (draw < 500) return Repeat();
        if (draw < 600) return Ring();
        if (draw < 650) return {Datagram::Kind::Empty, "", "", false};
        if (draw < 700) return {Datagram::Kind::Oversize, std::string(Draw(1024, 2000), 'x'), "", true};
        if (draw < 800) return NulHolding();
        return Random();
    }

    // A call no earlier datagram can have recorded.
    Datagram Call() {
        std::string phone = "6" + std::to_string(100000000 + ++calls_);
        std::string target = Target();
        std::string text = "Klient " + std::to_string(calls_) + " NIP:" + std::to_string(1000000000 + calls_);
        last_ = phone + "\t" + target + "\tx\ty\t" + text;
        lastPhone_ = phone;
        return {Datagram::Kind::Call, last_, kStamp + phone + "\t" + target + "\t" + text + "\t", true};
    }

private:
    int Draw(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    std::string Target() { return std::to_string(200 + Draw(1, 12)); }

    // A ring or a control word is the handler's previous record too, so
    // the phone after it is a new call: there is nothing to repeat.
    Datagram Ring() {
        last_.clear();
        return {Datagram::Kind::Ring, "Ring\t" + Target() + "\t\t\tdzwoni", "", true};
    }

    Datagram Control(int which) {
        static const char* const kWords[] = {"ping\tping\tping\r", "PING\tPING\tPING\r", "restart\trestart\trestart\r"};
        last_.clear();
        return {Datagram::Kind::Control, kWords[which], "", true};
    }

    // The last call again, whole or with another text: within 19 seconds
    // it is no new call.
    Datagram Repeat() {
        if (last_.empty()) return Call();
        std::string bytes = Draw(0, 1) ? last_ : lastPhone_ + "\t" + Target() + "\t\t\tznowu";
        return {Datagram::Kind::Repeat, bytes, "", true};
    }

    // A NUL ends the text: behind the phone it leaves the target and text
    // empty, inside the text it cuts the text.
    Datagram NulHolding() {
        std::string phone = "5" + std::to_string(100000000 + ++calls_);
        lastPhone_ = phone;
        last_.clear();
        if (Draw(0, 1)) {
            std::string bytes = phone + std::string(1, '\0') + "\t201\t\t\tniewidoczny";
            return {Datagram::Kind::NulHolding, bytes, kStamp + phone + "\t\t\t", true};
        }
        std::string target = Target();
        std::string bytes = phone + "\t" + target + "\t\t\tprzed NUL" + std::string(1, '\0') + "po NUL\tx";
        return {Datagram::Kind::NulHolding, bytes, kStamp + phone + "\t" + target + "\tprzed NUL\t", true};
    }

    // Random bytes, never beginning with a control word (which would make
    // the listener pause and drop what follows) nor with a phone of ours.
    Datagram Random() {
        std::string bytes(static_cast<std::size_t>(Draw(1, 1023)), '\0');
        for (char& c : bytes) c = static_cast<char>(Draw(0, 255));
        if (bytes[0] == 'p' || bytes[0] == 'P' || bytes[0] == 'r' || (bytes[0] >= '5' && bytes[0] <= '6'))
            bytes[0] = '#';
        last_.clear();
        lastPhone_.clear();
        return {Datagram::Kind::Random, bytes, "", true};
    }

    std::mt19937 random_;
    long calls_ = 0;
    std::string last_;        // the last call's bytes, for repeats
    std::string lastPhone_;
};

}  // namespace soak
