// callerid slots FILE [--json]: the ten phone slots of a slot file, with
// slot, phone, target, date, time, NIP and text; texts are shown in UTF-8.
// Slots are numbered 1-10 for a person, as the window numbers its rows;
// --json keeps 0-9 under "slot". A file of another size than 5620 bytes
// is named as such, and the whole records it holds are still listed.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands/commands.h"
#include "output/counted_words.h"
#include "output/exit_codes.h"
#include "output/json_text.h"
#include "output/messages.h"
#include "output/text_layout.h"
#include "reading/host_directory.h"
#include "reading/nip_check.h"
#include "reading/slot_file.h"
#include "text/mazovia_utf8.h"

namespace {

struct Slot {
    std::size_t index;
    bool free;
    std::string phone, target, date, time, nip, text;   // UTF-8
};

Slot SlotOf(std::size_t index, const SlotRecord& record) {
    return {index, record.free, refhost::MazoviaToUtf8(record.phone), refhost::MazoviaToUtf8(record.target),
            refhost::MazoviaToUtf8(record.date), refhost::MazoviaToUtf8(record.time), NipDigitsOf(record.text),
            refhost::MazoviaToUtf8(record.text)};
}

// What is wrong with the file's size, in one sentence; empty when nothing.
std::string SizeWarning(std::size_t size) {
    if (size == kSlotFileBytes) return {};
    std::string bytes = Counted(size, Noun::Byte);
    if (size > kSlotFileBytes)
        return Say(Msg::SlotFileOverlong, bytes.c_str(), kSlotFileBytes, Counted(size - kSlotFileBytes, Noun::Byte).c_str());
    return Say(Msg::SlotFileWrongSize, bytes.c_str(), kSlotFileBytes, Counted(size / kSlotRecordSize, Noun::WholeRecord).c_str(),
               Counted(size % kSlotRecordSize, Noun::Byte).c_str());
}

void PrintTable(const std::string& file, std::size_t size, const std::vector<Slot>& slots) {
    Print("%s", Wrapped(Say(Msg::SlotsHeading, file.c_str(), Counted(size, Noun::Byte).c_str(),
                            Counted(slots.size(), Noun::Slot).c_str()), 0).c_str());
    Print("%s\n", T(Msg::SlotsColumns));
    for (const Slot& slot : slots) {
        if (slot.free) {
            Print("%-4zu  %s\n", slot.index + 1, T(Msg::SlotFree));
            continue;
        }
        // Two lines a slot, within 80 columns: phone, target, date and
        // time; under them the NIP and the text, wrapped.
        std::string first = Padded(std::to_string(slot.index + 1), 4) + "  " + Padded(OnOneLine(slot.phone), 20) + "  " +
                            Padded(OnOneLine(slot.target), 20) + "  " + Padded(OnOneLine(slot.date), 10) + "  " +
                            OnOneLine(slot.time);
        Print("%s\n%s", TrimmedRight(first).c_str(),
              Wrapped(Padded(NipShown(slot.nip), 16) + "  " + OnOneLine(slot.text), 6).c_str());
    }
    bool anyFree = slots.size() < kSlotFileSize / kSlotRecordSize;
    for (const Slot& slot : slots) anyFree = anyFree || slot.free;
    if (!anyFree) Print("%s", Wrapped(T(Msg::SlotsNoFreeSlot), 0).c_str());
    for (const Slot& slot : slots)
        if (NipIsMarked(slot.nip)) {
            Print("%s\n", T(Msg::WrongNipLegend));
            break;
        }
}

void PrintJson(const std::string& file, std::size_t size, const std::vector<Slot>& slots, const std::string& warning) {
    std::string json = "{\"file\":" + JsonString(file) + ",\"size\":" + std::to_string(size) +
                       ",\"expectedSize\":" + std::to_string(kSlotFileBytes) +
                       ",\"complete\":" + (size == kSlotFileBytes ? "true" : "false") +
                       ",\"warning\":" + (warning.empty() ? std::string("null") : JsonString(warning)) + ",\"slots\":[";
    for (const Slot& slot : slots) {
        if (slot.index > 0) json += ",";
        json += "{\"slot\":" + std::to_string(slot.index) + ",\"free\":" + (slot.free ? "true" : "false") +
                ",\"phone\":" + JsonString(slot.phone) + ",\"target\":" + JsonString(slot.target) +
                ",\"date\":" + JsonString(slot.date) + ",\"time\":" + JsonString(slot.time) +
                ",\"nip\":" + JsonString(NipGrouped(slot.nip)) + ",\"nipValid\":" +
                NipValidJson(slot.nip) +
                ",\"text\":" + JsonString(slot.text) + "}";
    }
    PrintAsIs("%s]}\n", json.c_str());
}

}  // namespace

int RunSlotsCommand(int argc, char** args) {
    std::string file;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--json") == 0) json = true;
        else if (file.empty() && args[i][0] != '-') file = args[i];
        else return Fail(kBadUsage, "slots", Msg::UnexpectedArgument, args[i]);
    }
    if (file.empty()) return Fail(kBadUsage, "slots", Msg::SlotsUsage);
    std::string bytes;
    std::filesystem::path path = HostPath({}, file);
    if (FileRead read = ReadWholeFile(path, bytes); read != FileRead::Read) return FailOnFile("slots", path, read);
    SlotFile read = ReadSlotRecords(bytes);
    if (read.fieldWithoutEnd >= 0)
        return Fail(kUnreadable, "slots", Msg::NotSlotFile, Shown(path).c_str(), read.fieldWithoutEnd + 1);
    if (read.slots.empty())
        return Fail(kUnreadable, "slots", Msg::NoWholeSlot, Shown(path).c_str(), Counted(bytes.size(), Noun::Byte).c_str(), kSlotRecordSize);
    std::vector<Slot> slots;
    for (std::size_t i = 0; i < read.slots.size(); ++i) slots.push_back(SlotOf(i, read.slots[i]));
    std::string warning = SizeWarning(bytes.size());
    if (json) PrintJson(Shown(path), bytes.size(), slots, warning);
    else PrintTable(Shown(path), bytes.size(), slots);
    if (warning.empty()) return kDone;
    PrintTo(stderr, "callerid slots: %s\n", warning.c_str());
    return kUnreadable;
}
