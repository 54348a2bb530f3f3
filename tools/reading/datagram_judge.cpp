// The plug-in's judgement of a datagram: its field rule and the text made
// one line as the listener makes it, then the plug-in's own verdict
// (JudgeDatagram) against the sender's recall.
#include "reading/datagram_judge.h"

#include "output/counted_words.h"
#include "output/messages.h"
#include "text/fields.h"
#include "text/wire_text.h"
#include "udp/call_rules.h"

#include <cstring>

namespace {

constexpr std::size_t kPhoneLength = 20, kTargetLength = 20, kTextLength = 499;

std::string FieldAt(std::string_view text, int field, std::size_t longest) {
    return std::string(FieldOf(text, field).substr(0, longest));
}

void CopyInto(char* field, std::size_t size, const std::string& text) {
    std::size_t length = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), length);
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
        case Verdict::Refused: return "refused";
    }
    return "?";
}

std::string VerdictSentence(const Judgement& judgement, const DatagramFields& fields, std::size_t length,
                            const std::string& sender) {
    switch (judgement.verdict) {
        case Verdict::Call: return Say(Msg::VerdictCall, fields.target.c_str());
        case Verdict::Ring: return T(Msg::VerdictRing);
        case Verdict::Repeat: return Say(Msg::VerdictRepeat, fields.phone.c_str());
        case Verdict::SameAgain: return T(Msg::VerdictSameAgain);
        case Verdict::ControlWord:
            return (judgement.withinPause ? Say(Msg::VerdictControlWordInPause, fields.phone.c_str())
                                          : Say(Msg::VerdictControlWord, fields.phone.c_str(), judgement.pauseSeconds)) +
                   (judgement.recorded ? Say(Msg::VerdictAlsoFiled, fields.target.c_str()) : "");
        case Verdict::Refused: return Say(Msg::VerdictRefused, sender.c_str());
        case Verdict::TooLong: return Say(Msg::VerdictTooLong, Counted(length, Noun::Byte).c_str(), kLongestDatagram);
        case Verdict::Empty: return T(Msg::VerdictEmpty);
    }
    return {};
}

Judgement PluginModel::Judge(std::string_view payload, const Reception& reception, uint32_t sender,
                             SenderPermit permit) {
    Judgement judgement;
    if (payload.empty()) return judgement;
    if (payload.size() > kLongestDatagram) {
        judgement.verdict = Verdict::TooLong;
        return judgement;
    }
    if (pausing_ && reception.seconds >= pauseEnds_) {
        pausing_ = false;
        // The next listening cycle forgets every sender's last record.
        for (auto& [address, recall] : recalls_) recall.anyBuilt = false;
    }
    std::string text(payload.substr(0, payload.find('\0')));
    MakeOneLine(text.data(), text.size());
    DatagramFields fields = FieldsOf(text);
    CallRecord record{};
    CopyInto(record.phone, sizeof record.phone, fields.phone);
    CopyInto(record.target, sizeof record.target, fields.target);
    CopyInto(record.text, sizeof record.text, fields.text);
    CopyInto(record.date, sizeof record.date, reception.date);
    CopyInto(record.time, sizeof record.time, reception.time);
    // A station that may send only control words is refused anything else.
    SenderRecall& recall = recalls_[sender];
    DatagramVerdict verdict = JudgeDatagram(record, permit, recall);
    RememberDatagram(recall, record, verdict);
    switch (verdict) {
        case DatagramVerdict::Refused: judgement.verdict = Verdict::Refused; break;
        case DatagramVerdict::SameAgain: judgement.verdict = Verdict::SameAgain; break;
        case DatagramVerdict::Ring: judgement.verdict = Verdict::Ring; break;
        case DatagramVerdict::Repeat: judgement.verdict = Verdict::Repeat; break;
        case DatagramVerdict::Call: judgement.verdict = Verdict::Call; break;
        case DatagramVerdict::ControlWord: judgement.verdict = Verdict::ControlWord; break;
    }
    judgement.recorded = verdict == DatagramVerdict::Call;
    if (verdict == DatagramVerdict::ControlWord) {
        // A control word within a pause starts no pause of its own: the
        // one under way ends as it would.
        judgement.withinPause = pausing_;
        if (!pausing_) {
            int pause = ControlWordPauseMilliseconds(record.phone);
            judgement.pauseSeconds = pause / 1000;
            pausing_ = true;
            pauseEnds_ = reception.seconds + pause / 1000.0;
        }
    }
    return judgement;
}
