// callerid listen [--port PORT] [--dir DIR] [--json]: binds the UDP port
// as the plug-in's listener does and prints each datagram as it arrives
// (time, sender, length, fields 0, 1 and 4, the NIP) with the verdict this
// station would give it, by the plug-in's own rules and the senders of
// DIR\Ornitel.ini (default .), until Ctrl-C. Control bytes from the wire
// are printed as escapes. A held port is named with its likely holder.

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "commands/commands.h"
#include "commands/destination.h"
#include "output/exit_codes.h"
#include "output/messages.h"
#include "reading/datagram_judge.h"
#include "output/json_text.h"
#include "reading/host_directory.h"
#include "reading/nip_check.h"
#include "reading/senders_setting.h"
#include "system/station.h"
#include "text/mazovia_utf8.h"
#include "output/text_layout.h"
#include "system/udp_receiver.h"

namespace {

constexpr int kWaitMilliseconds = 200;

Reception Now() {
    std::time_t now = std::time(nullptr);
    std::tm local = *std::localtime(&now);
    char date[16], time[16];
    std::strftime(date, sizeof date, "%d-%m-%Y", &local);
    std::strftime(time, sizeof time, "%H:%M:%S", &local);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
    return {date, time, seconds};
}

// printf into a string.
std::string FormattedLine(const char* format, ...) __attribute__((format(CALLERID_PRINTF_STYLE, 1, 2)));
std::string FormattedLine(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    std::string text = FormattedText(format, arguments);
    va_end(arguments);
    return text;
}

void PrintLine(const Reception& when, const ReceivedDatagram& datagram, const Judgement& judgement) {
    DatagramFields fields = FieldsOf(datagram.bytes);
    std::string nip = NipDigitsOf(fields.text);
    std::string phone = refhost::MazoviaToUtf8(fields.phone), target = refhost::MazoviaToUtf8(fields.target),
                text = refhost::MazoviaToUtf8(fields.text);
    bool shortEnough = judgement.verdict != Verdict::TooLong;
    // Within 80 columns: the time, sender, length and fields, then the
    // verdict, each wrapped under the time.
    std::string heard = FormattedLine("%s  %-15s %5zu B", when.time.c_str(), datagram.sender.c_str(), datagram.bytes.size());
    if (shortEnough && judgement.verdict != Verdict::Empty)
        heard += "  " + Escaped(phone) + " | " + Escaped(target) + " | " + Escaped(text) + (nip.empty() ? "" : "  NIP ") +
                 NipShown(nip);
    Print("%s", Wrapped(heard, 10, 0).c_str());
    Print("%s", Wrapped("-> " + VerdictSentence(judgement, {Escaped(phone), Escaped(target), Escaped(text)},
                                                datagram.bytes.size(), datagram.sender),
                        10).c_str());
}

void PrintJson(const Reception& when, const ReceivedDatagram& datagram, const Judgement& judgement) {
    DatagramFields fields = FieldsOf(datagram.bytes);
    std::string nip = NipDigitsOf(fields.text);
    PrintAsIs("{\"time\":%s,\"sender\":%s,\"length\":%zu,\"phone\":%s,\"target\":%s,\"text\":%s,\"nip\":%s,"
                "\"nipValid\":%s,\"verdict\":\"%s\",\"recorded\":%s,\"pauseSeconds\":%d}\n",
                JsonString(when.time).c_str(), JsonString(datagram.sender).c_str(), datagram.bytes.size(),
                JsonString(refhost::MazoviaToUtf8(fields.phone)).c_str(),
                JsonString(refhost::MazoviaToUtf8(fields.target)).c_str(),
                JsonString(refhost::MazoviaToUtf8(fields.text)).c_str(), JsonString(NipGrouped(nip)).c_str(),
                NipValidJson(nip),
                VerdictName(judgement.verdict), judgement.recorded ? "true" : "false", judgement.pauseSeconds);
}

uint32_t AddressOf(const std::string& sender) {
    uint32_t address = 0;
    return ParseIPv4(sender.c_str(), sender.size(), &address) ? address : 0;
}

int ExplainHeldPort(long port) {
    return Fail(kNetworkFailed, "listen", Msg::PortHeld, port, PortHolderCommand(), ProgramListCommand());
}

}  // namespace

int RunListenCommand(int argc, char** args) {
    long port = 1338;
    bool json = false;
    std::string dir = ".";
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--json") == 0) {
            json = true;
        } else if (std::strcmp(args[i], "--dir") == 0) {
            if (i + 1 >= argc) return Fail(kBadUsage, "listen", Msg::NeedsValue, "--dir");
            dir = args[++i];
        } else if (std::strcmp(args[i], "--port") == 0) {
            if (i + 1 >= argc) return Fail(kBadUsage, "listen", Msg::NeedsValue, "--port");
            if (!ParsePort(args[++i], port)) return Fail(kBadUsage, "listen", Msg::BadPort, args[i]);
        } else {
            return Fail(kBadUsage, "listen", Msg::UnexpectedArgument, args[i]);
        }
    }
    UdpReceiver receiver;
    std::string error;
    switch (receiver.BindPort(static_cast<uint16_t>(port), error)) {
        case UdpReceiver::Bind::Bound: break;
        case UdpReceiver::Bind::InUse: return ExplainHeldPort(port);
        case UdpReceiver::Bind::Failed: return Fail(kNetworkFailed, "listen", Msg::CannotListen, port, error.c_str());
    }
    CatchInterrupt();
    PrintTo(stderr, "%s\n", Say(Msg::Listening, port).c_str());
    std::fflush(stdout);
    PluginModel plugin;
    SendersSetting senders = ReadSenders(HostPath({}, dir));
    SenderList local;
    ListLocalSubnets(local);
    while (!Interrupted()) {
        ReceivedDatagram datagram;
        UdpReceiver::Wait wait = receiver.Receive(kWaitMilliseconds, datagram, error);
        if (wait == UdpReceiver::Wait::Failed) return Fail(kNetworkFailed, "listen", Msg::CannotListen, port, error.c_str());
        if (wait == UdpReceiver::Wait::Nothing) continue;
        Reception when = Now();
        uint32_t sender = AddressOf(datagram.sender);
        Judgement judgement = plugin.Judge(datagram.bytes, when, sender, PermitOf(senders.list, local, sender));
        if (json) PrintJson(when, datagram, judgement);
        else PrintLine(when, datagram, judgement);
        std::fflush(stdout);
    }
    return kDone;
}
