// Fuzz target: datagrams on their road to the slot file. An input seeds the
// slot file (missing, short, whole or longer) and the log option, then
// delivers a few datagrams, the host's clock moving between them, through
// UDPBuildRecord and UDPRecordCall, which files recorded calls with
// UpdatePhoneSlots. Each record must be the datagram's fields cut to size
// and zero-filled, and the slot file after each call must be exactly what
// the slot rules make of the file before it.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "udp/datagram.h"

namespace {

constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
constexpr char kLogFolder[] = "LOGS/TELEFONY";
constexpr std::size_t kSlotFileSize = sizeof(CallRecord) * kSlotCount;
constexpr std::size_t kLongestDatagram = kDatagramCapacity - 1;
constexpr int kDatagramsPerInput = 6;

// Field `index` of the datagram text as the caller-ID box meant it: the
// text ends at its first NUL, fields are separated by tabs.
std::string FieldOf(const char* datagram, int index, std::size_t keep) {
    std::string text(datagram);
    std::size_t start = 0;
    for (int skipped = 0; skipped < index; ++skipped) {
        std::size_t tab = text.find('\t', start);
        if (tab == std::string::npos) return "";
        start = tab + 1;
    }
    std::size_t end = text.find('\t', start);
    std::string field = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    return field.substr(0, keep);
}

bool HoldsExactly(const char* field, std::size_t size, const std::string& text) {
    if (text.size() >= size || std::memcmp(field, text.data(), text.size()) != 0) return false;
    return std::all_of(field + text.size(), field + size, [](char c) { return c == '\0'; });
}

void CheckBuiltRecord(const char* datagram, const CallRecord& record) {
    fuzz::Require(HoldsExactly(record.phone, sizeof record.phone, FieldOf(datagram, 0, 20)),
                  "phone is datagram field 0, cut to 20 and zero-filled");
    fuzz::Require(HoldsExactly(record.target, sizeof record.target, FieldOf(datagram, 1, 20)),
                  "target is datagram field 1, cut to 20 and zero-filled");
    fuzz::Require(HoldsExactly(record.text, sizeof record.text, FieldOf(datagram, 4, 499)),
                  "text is datagram field 4, cut to 499 and zero-filled");
    fuzz::Require(HoldsExactly(record.date, sizeof record.date, "20261208"), "date is the host's date");
}

int SecondsOfDay(const char* time) {
    int hours = 0, minutes = 0, seconds = 0;
    std::sscanf(time, "%d:%d:%d", &hours, &minutes, &seconds);
    return hours * 3600 + minutes * 60 + seconds;
}

// Whether the handler must record the call, by its rules: no rings, and
// no phone again within 19 seconds of the previous datagram.
bool IsControlWord(const char* phone) {
    return std::strcmp(phone, "ping") == 0 || std::strcmp(phone, "PING") == 0 || std::strcmp(phone, "restart") == 0;
}

// A control word is never a call, and is not remembered as the previous one.
bool MustRecord(const CallRecord& record, const CallRecord& previous) {
    if (IsControlWord(record.phone)) return false;
    if (std::strcmp(record.phone, "Ring") == 0) return false;
    if (std::strcmp(record.phone, previous.phone) != 0) return true;
    int difference = SecondsOfDay(record.time) - SecondsOfDay(previous.time);
    return difference >= 20 || difference <= -20;
}

// The slot file the slot rules make of `before` for a recorded call, or
// `before` itself when no slot receives the record.
std::string ExpectedSlotFile(bool existed, const std::string& before, const CallRecord& record) {
    CallRecord image[kSlotCount] = {};
    if (existed) std::memcpy(image, before.data(), std::min(before.size(), kSlotFileSize));
    bool found = false, changed = false;
    int freeIndex = -1;
    for (int i = 0; i < kSlotCount; ++i) {
        CallRecord& slot = image[i];
        if (record.target[0] != '\0' && std::strncmp(record.target, slot.target, sizeof slot.target) == 0) {
            if (found) {
                slot = CallRecord{};
            } else if (std::memcmp(&slot, &record, sizeof slot) != 0) {
                slot = record;
                changed = true;
            }
            found = true;
        }
        if (slot.target[0] == '\0' && freeIndex < 0) freeIndex = i;
    }
    bool written = found ? changed : freeIndex >= 0;
    if (!found && freeIndex >= 0) image[freeIndex] = record;
    if (!written) return existed ? before : std::string();
    std::string after(reinterpret_cast<const char*>(image), kSlotFileSize);
    if (before.size() > kSlotFileSize) after += before.substr(kSlotFileSize);   // a longer file keeps its tail
    return after;
}

void Deliver(const std::string& bytes, CallRecord& previous) {
    char datagram[kDatagramCapacity] = {};
    std::memcpy(datagram, bytes.data(), std::min(bytes.size(), kLongestDatagram));
    bool existed = std::filesystem::exists(kSlotFile);
    std::string before = fuzz::ReadWhole(kSlotFile);

    CallRecord record;
    std::memset(&record, 0xA5, sizeof record);
    UDPBuildRecord(datagram, record);
    CheckBuiltRecord(datagram, record);
    bool recorded = MustRecord(record, previous);
    UDPRecordCall(record);
    if (recorded)
        fuzz::Require(HoldsExactly(record.date, sizeof record.date, "08.12.2026"),
                      "a recorded call's date is the display form");
    if (!IsControlWord(record.phone)) previous = record;

    std::string expected = recorded ? ExpectedSlotFile(existed, before, record) : before;
    fuzz::Require(std::filesystem::exists(kSlotFile) == (existed || recorded),
                  "the slot file is made by the first recorded call");
    fuzz::Require(fuzz::ReadWhole(kSlotFile) == expected, "the slot file is what the slot rules make of it");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchDirectory();
    fuzz::QuietHost();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    fuzz::FixHostClock();
    g_settings = {1, kOptionDayLog, 0, kDefaultPort, ""};

    // The handler remembers the previous call across inputs; any datagram
    // becomes the previous one, so one delivered here makes it known again.
    CallRecord previous;
    char reset[kDatagramCapacity] = "\x01reset\t\x01reset";
    UDPBuildRecord(reset, previous);
    UDPRecordCall(previous);
    std::filesystem::remove_all("LOGS");

    g_settings.options = static_cast<int16_t>(input.ConsumeIntegral<uint8_t>() & 7);
    switch (input.ConsumeIntegralInRange(0, 2)) {
        case 0: break;   // no slot file yet
        case 1: fuzz::WriteWhole(kSlotFile, input.ConsumeBytesAsString(input.ConsumeIntegralInRange<std::size_t>(0, 6000))); break;
        case 2: {
            // Whole slots taken from the input, repeated: ten targets of a few kinds.
            std::string slot = input.ConsumeBytesAsString(sizeof(CallRecord));
            slot.resize(sizeof(CallRecord), '\0');
            std::string file;
            for (int i = 0; i < kSlotCount; ++i) file += slot;
            fuzz::WriteWhole(kSlotFile, file);
            break;
        }
    }
    std::filesystem::create_directories(kLogFolder);

    // A few datagrams are enough to reach every rule; more would only slow
    // the run down with file work.
    for (int delivered = 0; delivered < kDatagramsPerInput && input.remaining_bytes() > 0; ++delivered) {
        refhost::AdvanceClock(input.ConsumeIntegralInRange(0, 40));
        Deliver(input.ConsumeRandomLengthString(kDatagramCapacity + 64), previous);
    }
    std::filesystem::remove_all("LOGS");
    fuzz::ForgetConsoleLines();
    return 0;
}
