// Fuzz target: what the callerid tool's doctor reads of a host directory.
// An input is both the host's INI file and a slot file. Properties: a
// Pytaj value the doctor accepts gives the same four numbers when written
// back and read again; the slot file gives every whole record up to ten,
// each field within its size.
#include <cstdint>
#include <cstdio>
#include <string>

#include "fuzz_support.h"
#include "reading/host_directory.h"
#include "reading/slot_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::EnterScratchDirectory();
    std::string bytes(reinterpret_cast<const char*>(data), size);
    fuzz::WriteWhole("MERLOX.INI", bytes);
    long numbers[4];
    if (std::optional<std::string> pytaj = IniValue("MERLOX.INI", "Ornitel", "Pytaj"); pytaj && ParsePytaj(*pytaj, numbers)) {
        char again[96];
        std::snprintf(again, sizeof again, "%ld,%ld,%ld,%ld", numbers[0], numbers[1], numbers[2], numbers[3]);
        long reread[4];
        fuzz::Require(ParsePytaj(again, reread), "an accepted Pytaj written back is accepted");
        for (int i = 0; i < 4; ++i) fuzz::Require(reread[i] == numbers[i], "an accepted Pytaj reads back the same");
    }
    IniValue("MERLOX.INI", "Ornitel", "Filename");
    SlotFile slots = ReadSlotRecords(bytes);
    fuzz::Require(slots.slots.size() <= kSlotRecords && slots.slots.size() == std::min(kSlotRecords, size / kSlotRecordSize),
                  "every whole record and no more");
    // A field without its NUL is taken whole and makes the file no slot file.
    bool whole = slots.fieldWithoutEnd < 0;
    for (const SlotRecord& slot : slots.slots)
        fuzz::Require(slot.text.size() + whole <= 500 && slot.phone.size() + whole <= 21 && slot.target.size() + whole <= 21 &&
                          slot.date.size() + whole <= 11 && slot.time.size() + whole <= 9,
                      "each field within its size, its NUL too when the file has every end");
    return 0;
}
