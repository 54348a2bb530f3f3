// Fuzz target: arbitrary slot images and settings behind the caller-ID
// window. A slot file may hold anything (another program's bytes, a torn
// copy), so FillWindowData must fill every row within its fields, and each
// row's NIP must be the digits right after the first "NIP:" of the slot's
// text, dashed when there are ten. NIP extraction is also fed raw texts of
// any size, terminated or not.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#include "fuzz_support.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "ui/caller_id_window.h"
#include "ui/nip.h"

namespace {

// The NIP of a text of `size` bytes that need not be terminated.
std::string NipOf(const char* text, std::size_t size) {
    std::string whole(text, strnlen(text, size));
    std::size_t marker = whole.find("NIP:");
    if (marker == std::string::npos) return "";
    std::string digits;
    for (std::size_t i = marker + 4; i < whole.size() && digits.size() < kMaxNipDigits; ++i) {
        if (whole[i] < '0' || whole[i] > '9') break;
        digits += whole[i];
    }
    return digits;
}

std::string Shown(const std::string& nip) {
    if (nip.size() != 10) return nip;
    return nip.substr(0, 3) + "-" + nip.substr(3, 2) + "-" + nip.substr(5, 2) + "-" + nip.substr(7);
}

bool Terminated(const char* field, std::size_t size) { return strnlen(field, size) < size; }

// What the window shows of a text from the wire: control bytes as '?'.
std::string Showable(const char* text, std::size_t length) {
    std::string shown(text, length);
    for (char& c : shown)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
    return shown;
}

void CheckRow(const WindowDataRow& row, const CallRecord& slot) {
    fuzz::Require(Terminated(row.phone, sizeof row.phone), "a row's phone is terminated");
    fuzz::Require(Terminated(row.target, sizeof row.target), "a row's target is terminated");
    fuzz::Require(Terminated(row.nip, sizeof row.nip), "a row's NIP is terminated");
    fuzz::Require(row.nip == Shown(NipOf(slot.text, sizeof slot.text)),
                  "a row's NIP is the digits after the first NIP: of its slot");
    fuzz::Require(row.phone == Showable(slot.phone, strnlen(row.phone, sizeof row.phone)),
                  "a row's phone is its slot's phone, control bytes shown as '?'");
}

void FuzzRawText(FuzzedDataProvider& input) {
    std::string bytes = input.ConsumeRandomLengthString(1200);
    // A heap block of exactly the text's size, so a read past it shows.
    std::unique_ptr<char[]> text(new char[bytes.size() + 1]);
    std::memcpy(text.get(), bytes.data(), bytes.size());
    char nip[kMaxNipDigits + 1];
    ExtractNip(text.get(), bytes.size(), nip);
    fuzz::Require(nip == NipOf(text.get(), bytes.size()), "ExtractNip gives the digits after NIP:");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::EnterScratchDirectory();
    fuzz::QuietHost();
    fuzz::FixHostClock();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    FuzzRawText(input);

    g_settings.noticeFlag = input.ConsumeIntegral<int16_t>();
    g_settings.options = input.ConsumeIntegral<int16_t>();
    g_settings.selectedSlot = input.ConsumeIntegral<int16_t>();
    g_settings.port = input.ConsumeIntegral<int32_t>();
    std::string name = input.ConsumeRandomLengthString(sizeof g_settings.slotFileName - 1);
    std::memset(g_settings.slotFileName, 0, sizeof g_settings.slotFileName);
    std::memcpy(g_settings.slotFileName, name.data(), name.size());

    std::string image = input.ConsumeRemainingBytesAsString();
    image.resize(sizeof g_phoneSlots, '\0');
    std::memcpy(g_phoneSlots, image.data(), sizeof g_phoneSlots);

    std::memset(&g_windowData, 0x5A, sizeof g_windowData);
    SlotView view{};
    std::memcpy(view.slots, g_phoneSlots, sizeof view.slots);
    view.settings = g_settings;
    FillWindowData(view);
    for (int k = 0; k < kSlotCount; ++k) CheckRow(g_windowData.rows[k], g_phoneSlots[k]);
    fuzz::Require(Terminated(g_windowData.fileName, sizeof g_windowData.fileName), "the file name is terminated");
    fuzz::Require(std::strncmp(g_windowData.fileName, g_settings.slotFileName, sizeof g_windowData.fileName - 1) == 0,
                  "the file name field begins the slot file name");
    int selected = g_settings.selectedSlot;
    const char* nip = SelectedNip();
    bool inRange = selected >= 0 && selected < kSlotCount;
    fuzz::Require(std::strcmp(nip, inRange ? g_windowData.rows[selected].nip : "") == 0,
                  "the selected NIP is the selected row's, or empty");
    fuzz::ForgetConsoleLines();
    return 0;
}
