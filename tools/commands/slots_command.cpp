// callerid slots FILE [--json]: the ten phone slots of a slot file, with
// slot, phone, target, date, time, NIP and text; texts are shown in UTF-8.
// A file of another size than 5620 bytes is named as such, and the whole
// records it holds are still listed.
#include "commands/slots_command.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "output/json_text.h"
#include "reading/nip_check.h"
#include "system/station.h"
#include "text/mazovia_utf8.h"
#include "output/text_layout.h"

namespace {

constexpr std::size_t kRecordSize = 562;
constexpr std::size_t kSlotCount = 10;
constexpr std::size_t kFileSize = kRecordSize * kSlotCount;
constexpr std::size_t kLongestNip = 16;

enum ExitCode { kListed = 0, kListedWithWrongSize = 1, kUsage = 2, kUnreadable = 3 };

// A field of the record: its text up to the first NUL, never past the field.
struct Field {
    std::size_t offset;
    std::size_t size;
};
constexpr Field kText{0, 500}, kPhone{500, 21}, kTarget{521, 21}, kDate{542, 11}, kTime{553, 9};

std::string_view FieldOf(const std::string& record, Field field) {
    std::string_view bytes(record.data() + field.offset, field.size);
    return bytes.substr(0, bytes.find('\0'));
}

struct Slot {
    std::size_t index;
    bool free;
    std::string phone, target, date, time, nip, text;   // UTF-8
};

Slot SlotOf(std::size_t index, const std::string& record) {
    Slot slot{index, record.find_first_not_of('\0') == std::string::npos, {}, {}, {}, {}, {}, {}};
    slot.phone = refhost::MazoviaToUtf8(FieldOf(record, kPhone));
    slot.target = refhost::MazoviaToUtf8(FieldOf(record, kTarget));
    slot.date = refhost::MazoviaToUtf8(FieldOf(record, kDate));
    slot.time = refhost::MazoviaToUtf8(FieldOf(record, kTime));
    slot.nip = NipDigitsOf(FieldOf(record, kText));
    slot.text = refhost::MazoviaToUtf8(FieldOf(record, kText));
    return slot;
}

// What is wrong with the file's size, in one sentence; empty when nothing.
std::string SizeWarning(std::size_t size) {
    if (size == kFileSize) return {};
    std::string warning = "the file is ";
    warning.append(std::to_string(size)).append(" bytes, not ").append(std::to_string(kFileSize));
    if (size > kFileSize) {
        warning.append(": the ").append(std::to_string(size - kFileSize));
        return warning.append(" bytes after the ten slots belong to no slot");
    }
    std::size_t whole = size / kRecordSize, partial = size % kRecordSize;
    warning.append(": it holds ").append(std::to_string(whole)).append(whole == 1 ? " whole record" : " whole records");
    if (partial) warning.append(" and ").append(std::to_string(partial)).append(" bytes of another, not listed");
    return warning.append("; the plug-in reads the missing slots as free");
}

void PrintTable(const std::string& file, std::size_t size, const std::vector<Slot>& slots,
                const std::string& warning) {
    Print("%s: %zu bytes, %zu slot%s\n", file.c_str(), size, slots.size(), slots.size() == 1 ? "" : "s");
    if (!warning.empty()) Print("warning: %s\n", warning.c_str());
    Print("%-4s  %-20s  %-20s  %-10s  %-8s  %-16s  %s\n", "slot", "phone", "target", "date", "time", "NIP",
                "text");
    for (const Slot& slot : slots) {
        if (slot.free) {
            Print("%-4zu  (free)\n", slot.index);
            continue;
        }
        Print("%-4zu  %-20s  %-20s  %-10s  %-8s  %-16s  %s\n", slot.index, OnOneLine(slot.phone).c_str(),
                    OnOneLine(slot.target).c_str(), OnOneLine(slot.date).c_str(), OnOneLine(slot.time).c_str(),
                    NipShown(slot.nip).c_str(), OnOneLine(slot.text).c_str());
    }
    for (const Slot& slot : slots)
        if (NipIsMarked(slot.nip)) {
            Print("%s\n", kWrongNipLegend);
            break;
        }
}

void PrintJson(const std::string& file, std::size_t size, const std::vector<Slot>& slots,
               const std::string& warning) {
    std::string json = "{\"file\":" + JsonString(file) + ",\"size\":" + std::to_string(size) +
                       ",\"expectedSize\":" + std::to_string(kFileSize) +
                       ",\"complete\":" + (size == kFileSize ? "true" : "false") +
                       ",\"warning\":" + (warning.empty() ? std::string("null") : JsonString(warning)) +
                       ",\"slots\":[";
    for (const Slot& slot : slots) {
        if (slot.index > 0) json += ",";
        json += "{\"slot\":" + std::to_string(slot.index) + ",\"free\":" + (slot.free ? "true" : "false") +
                ",\"phone\":" + JsonString(slot.phone) + ",\"target\":" + JsonString(slot.target) +
                ",\"date\":" + JsonString(slot.date) + ",\"time\":" + JsonString(slot.time) +
                ",\"nip\":" + JsonString(NipGrouped(slot.nip)) + ",\"nipValid\":" +
                (slot.nip.size() == 10 ? (NipCheckDigitIsRight(slot.nip) ? "true" : "false") : "null") + ",\"text\":" + JsonString(slot.text) + "}";
    }
    Print("%s]}\n", json.c_str());
}

// The file as given, or with '\' read as '/' when it is a Windows path.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
    for (std::string candidate : {path, std::string()}) {
        if (candidate.empty()) {
            if (path.find('\\') == std::string::npos) break;
            candidate = path;
            for (char& c : candidate)
                if (c == '\\') c = '/';
        }
        std::ifstream in(candidate, std::ios::binary);
        if (!in) continue;
        bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        return !in.bad();
    }
    return false;
}

}  // namespace

int RunSlotsCommand(int argc, char** args) {
    std::string file;
    bool json = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(args[i], "--json") == 0) {
            json = true;
        } else if (file.empty() && args[i][0] != '-') {
            file = args[i];
        } else {
            PrintTo(stderr, "callerid slots: unexpected argument %s\n", args[i]);
            return kUsage;
        }
    }
    if (file.empty()) {
        PrintTo(stderr, "%s", "usage: callerid slots FILE [--json]\n");
        return kUsage;
    }
    std::string bytes;
    if (!ReadWholeFile(file, bytes)) {
        PrintTo(stderr, "callerid slots: cannot read %s\n", file.c_str());
        return kUnreadable;
    }
    std::vector<Slot> slots;
    for (std::size_t i = 0; i < kSlotCount && (i + 1) * kRecordSize <= bytes.size(); ++i)
        slots.push_back(SlotOf(i, bytes.substr(i * kRecordSize, kRecordSize)));
    std::string warning = SizeWarning(bytes.size());
    if (json)
        PrintJson(file, bytes.size(), slots, warning);
    else
        PrintTable(file, bytes.size(), slots, warning);
    return warning.empty() ? kListed : kListedWithWrongSize;
}
