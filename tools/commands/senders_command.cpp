// callerid senders [list | add ADDRESS... | remove ADDRESS...] [--dir DIR]:
// the senders a station takes calls from, Nadawcy= in [Ornitel] of
// DIR\Ornitel.ini (the host's working folder, default .), the file and key
// the plug-in reads at every start and restart. A bad address changes
// nothing and is named.
#include <cstring>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "output/exit_codes.h"
#include "output/messages.h"
#include "output/text_layout.h"
#include "reading/host_directory.h"
#include "reading/senders_setting.h"

namespace {

void PrintInForce(const SendersSetting& setting) {
    std::string file = Shown(setting.file);
    if (setting.list.anywhere) Print("%s", Wrapped(Say(Msg::SendersAnywhere, file.c_str()), 0).c_str());
    else if (setting.list.count == 0) Print("%s", Wrapped(Say(Msg::SendersNotSet, file.c_str()), 0).c_str());
    else Print("%s", Wrapped(Say(Msg::SendersListed, file.c_str(), SendersText(setting.list).c_str()), 0).c_str());
    if (setting.bad > 0)
        Print("%s", Wrapped(Say(Msg::SendersBadStored, file.c_str(), Escaped(setting.firstBad).c_str()), 0).c_str());
}

bool SameRange(const AddressRange& a, const AddressRange& b) { return a.first == b.first && a.last == b.last; }

// Adds or removes the entries; false (with the exit code in *code) when one
// is bad or, on removal, not in the list.
bool Change(SenderList& list, bool adding, const std::vector<std::string>& entries, int* code) {
    for (const std::string& entry : entries) {
        AddressRange range{};
        bool anywhere = false;
        if (!ParseSenderEntry(entry.c_str(), entry.size(), &range, &anywhere)) {
            *code = Fail(kBadUsage, "senders", Msg::BadSender, Escaped(entry).c_str());
            return false;
        }
        if (adding) {
            if (anywhere) list.anywhere = true;
            else if (!AddSenderRange(&list, range)) {
                *code = Fail(kBadUsage, "senders", Msg::BadSender, Escaped(entry).c_str());
                return false;
            }
            continue;
        }
        int kept = 0;
        for (int i = 0; i < list.count; ++i)
            if (anywhere || !SameRange(list.ranges[i], range)) list.ranges[kept++] = list.ranges[i];
        bool found = anywhere ? list.anywhere : kept < list.count;
        if (anywhere) {
            kept = list.count;
            list.anywhere = false;
        }
        list.count = kept;
        if (!found) {
            *code = Fail(kBadUsage, "senders", Msg::SenderNotListed, Escaped(entry).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

int RunSendersCommand(int argc, char** args) {
    std::string dir = ".", action;
    std::vector<std::string> entries;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--dir") == 0) {
            if (i + 1 >= argc) return Fail(kBadUsage, "senders", Msg::NeedsValue, "--dir");
            dir = args[++i];
        } else if (action.empty() && (!std::strcmp(args[i], "list") || !std::strcmp(args[i], "add") ||
                                      !std::strcmp(args[i], "remove"))) {
            action = args[i];
        } else if (action == "add" || action == "remove") {
            entries.push_back(args[i]);
        } else {
            return Fail(kBadUsage, "senders", Msg::UnexpectedArgument, args[i]);
        }
    }
    if (action.empty()) action = "list";
    if (action != "list" && entries.empty()) return Fail(kBadUsage, "senders", Msg::SendersUsage);
    SendersSetting setting = ReadSenders(HostPath({}, dir));
    if (action == "list") {
        PrintInForce(setting);
        return kDone;
    }
    SenderList list = setting.list;
    int code = kDone;
    if (!Change(list, action == "add", entries, &code)) return code;
    std::string value = SendersText(list), error;
    if (!WriteSenders(setting, value, error))
        return Fail(kUnreadable, "senders", Msg::SendersNotWritten, Shown(setting.file).c_str(), error.c_str());
    Print("%s", Wrapped(Say(Msg::SendersWritten, value.c_str(), Shown(setting.file).c_str()), 0).c_str());
    return kDone;
}
