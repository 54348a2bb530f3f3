// What the plug-in makes of each datagram that reaches it, by the
// plug-in's own rules (udp/call_rules.h): refused (its sender is not
// allowed), a call, a ring, a repeat of the sender's phone within 19 s,
// the same datagram again, a control word and its pause (never a call),
// one too long, an empty one. What comes during a pause is judged as at
// any other time: the listener files it as it arrives.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

#include "udp/call_rules.h"

// Datagram fields 0, 1 and 4 as the plug-in keeps them: the text ends at
// a NUL, fields are tab-separated and cut to 20, 20 and 499 bytes.
struct DatagramFields {
    std::string phone, target, text;
};
DatagramFields FieldsOf(std::string_view payload);

// The longest datagram the listener receives.
inline constexpr std::size_t kLongestDatagram = 1023;

enum class Verdict { Call, Ring, Repeat, SameAgain, ControlWord, TooLong, Empty, Refused };

struct Judgement {
    Verdict verdict = Verdict::Empty;
    bool recorded = false;       // a call line and a slot
    int pauseSeconds = 0;        // the pause a control word starts (none within a pause)
    bool withinPause = false;    // a control word that leaves the pause under way as it is
};

// The short name scripts get ("call", "ring", ...).
const char* VerdictName(Verdict verdict);
// One sentence on what the plug-in does with it (sender: its address).
std::string VerdictSentence(const Judgement& judgement, const DatagramFields& fields, std::size_t length,
                            const std::string& sender = {});

// When a datagram came: the day and the time of day as the host stamps
// them, and a steady clock for the control words' pauses.
struct Reception {
    std::string date;    // any text that changes with the day
    std::string time;    // hh:mm:ss
    double seconds;      // steady clock
};

// The plug-in's verdicts, remembered per sender as the listener does.
class PluginModel {
public:
    Judgement Judge(std::string_view payload, const Reception& reception, uint32_t sender = 0x7F000001,
                    SenderPermit permit = SenderPermit::Calls);

private:
    std::map<uint32_t, SenderRecall> recalls_;
    bool pausing_ = false;
    double pauseEnds_ = -1;
};
