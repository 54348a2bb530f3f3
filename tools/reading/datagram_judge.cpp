// The plug-in's judgement of a datagram, replayed: its field rule, the
// listener's drop of an unchanged record, then the call handler's rules
// for rings and repeats and the control words, taken from the plug-in.
#include "reading/datagram_judge.h"

#include "output/counted_words.h"
#include "output/messages.h"
#include "text/fields.h"
#include "udp/call_rules.h"

namespace {

constexpr std::size_t kPhoneLength = 20, kTargetLength = 20, kTextLength = 499;

std::string FieldAt(std::string_view text, int field, std::size_t longest) {
    return std::string(FieldOf(text, field).substr(0, longest));
}

bool SameFields(const DatagramFields& a, const DatagramFields& b) {
    return a.phone == b.phone && a.target == b.target && a.text == b.text;
}

}  // namespace

DatagramFields FieldsOf(std::string_view payload) {
    std::string_view text = payload.substr(0, payload.find('\0'));
    return {FieldAt(text, 0, kPhoneLength), FieldAt(text, 1, kTargetLength), FieldAt(text, 4, kTextLength)};
}

const char* VerdictName(Verdict verdict) {
    switch (verdict) {
        case Verdict::Call: return "call";
        case Verdict::Ring: return "ring";
        case Verdict::Repeat: return "repeat";
        case Verdict::SameAgain: return "same-again";
        case Verdict::ControlWord: return "control-word";
        case Verdict::TooLong: return "too-long";
        case Verdict::Empty: return "empty";
    }
    return "?";
}

std::string VerdictSentence(const Judgement& judgement, const DatagramFields& fields, std::size_t length) {
    switch (judgement.verdict) {
        case Verdict::Call: return Say(Msg::VerdictCall, fields.target.c_str());
        case Verdict::Ring: return T(Msg::VerdictRing);
        case Verdict::Repeat: return Say(Msg::VerdictRepeat, fields.phone.c_str());
        case Verdict::SameAgain: return T(Msg::VerdictSameAgain);
        case Verdict::ControlWord:
            return (judgement.withinPause ? Say(Msg::VerdictControlWordInPause, fields.phone.c_str())
                                          : Say(Msg::VerdictControlWord, fields.phone.c_str(), judgement.pauseSeconds)) +
                   (judgement.recorded ? Say(Msg::VerdictAlsoFiled, fields.target.c_str()) : "");
        case Verdict::TooLong: return Say(Msg::VerdictTooLong, Counted(length, Noun::Byte).c_str(), kLongestDatagram);
        case Verdict::Empty: return T(Msg::VerdictEmpty);
    }
    return {};
}

Judgement PluginModel::Judge(std::string_view payload, const Reception& reception) {
    Judgement judgement;
    if (payload.empty()) return judgement;
    if (payload.size() > kLongestDatagram) {
        judgement.verdict = Verdict::TooLong;
        return judgement;
    }
    if (pausing_ && reception.seconds >= pauseEnds_) {
        pausing_ = false;
        anySeen_ = false;   // the next listening cycle starts with a cleared record
    }
    Seen seen{FieldsOf(payload), reception.date, reception.time, false};
    // The listener compares whole records, date and time of reception
    // included; a recorded previous one carries its display date and so
    // never equals a fresh record.
    bool unchanged = anySeen_ && !listenerPrevious_.recorded && SameFields(seen.fields, listenerPrevious_.fields) &&
                     seen.date == listenerPrevious_.date && seen.time == listenerPrevious_.time;
    if (unchanged) {
        judgement.verdict = Verdict::SameAgain;
    } else if (IsRingPhone(seen.fields.phone.c_str())) {
        judgement.verdict = Verdict::Ring;
    } else if (RepeatsPhone(seen.fields.phone.c_str(), seen.time.c_str(), handlerPrevious_.fields.phone.c_str(),
                            handlerPrevious_.time.c_str())) {
        judgement.verdict = Verdict::Repeat;
    } else {
        judgement.verdict = Verdict::Call;
        seen.recorded = judgement.recorded = true;
    }
    if (!unchanged) handlerPrevious_ = seen;
    listenerPrevious_ = seen;
    anySeen_ = true;
    if (int pause = ControlWordPauseMilliseconds(seen.fields.phone.c_str())) {
        judgement.verdict = Verdict::ControlWord;
        // A control word within a pause is filed and starts no pause of
        // its own: the one under way ends as it would.
        judgement.withinPause = pausing_;
        if (!pausing_) {
            judgement.pauseSeconds = pause / 1000;
            pausing_ = true;
            pauseEnds_ = reception.seconds + pause / 1000.0;
        }
    }
    return judgement;
}
