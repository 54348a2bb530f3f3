// The caller-ID window description, written as a table that reads like the
// screen: one row per record, in the order the host reads them. Each helper
// emits one record's bytes at compile time, and the records are joined
// behind the header into one constant array, so the binary holds exactly the
// bytes the host parses.
#include "ui/window_description.h"

#include <array>

#include "text/mazovia.h"

namespace {

// Record kinds as the host knows them.
enum Kind : uint16_t {
    kButton = 0,
    kRadio = 1,
    kCheckBox = 2,
    kStatic = 3,
    kDisplay = 4,
    kInput = 5,
    kWindow = 0xFFFF,
};

// Flags the helpers set on their own. The host binds a data field to every
// control with kCarriesData and hands kReachesProcedure controls to the
// window procedure as commands; the other bits are the host's own business
// and are written as the host expects them.
constexpr uint16_t kCarriesData = 0x0400;
constexpr uint16_t kReachesProcedure = 0x0100;
constexpr uint16_t kWindowFlags = 0x0200;
constexpr uint16_t kRadioGroupFlags = 0x0800;
constexpr uint16_t kRadioFlags = kCarriesData | kReachesProcedure;
constexpr uint16_t kCheckBoxFlags = kCarriesData;
constexpr uint16_t kInputFlags = kCarriesData | 0x0040;

// Static texts carry this in their hotkey field instead of a key.
constexpr uint16_t kStaticHotkey = 0x0800;
constexpr uint16_t kKeyF12 = 0x8600;

constexpr uint16_t kPhoneLength = kRowPhoneSize - 1;
constexpr uint16_t kTargetLength = kRowTargetSize - 1;
constexpr uint16_t kNipLength = kRowNipSize - 1;
constexpr uint16_t kFileNameLength = kFileNameSize - 1;

// One record's bytes. The longest record, the first check box, takes 111;
// a record that outgrows the room stops the build.
struct Record {
    unsigned char bytes[128] = {};
    std::size_t size = 0;

    constexpr void Word(int value) {
        bytes[size++] = static_cast<unsigned char>(value & 0xFF);
        bytes[size++] = static_cast<unsigned char>((value >> 8) & 0xFF);
    }
    constexpr void Text(const char* text) {
        do bytes[size++] = static_cast<unsigned char>(*text);
        while (*text++ != '\0');
    }
    // Fields that every record has after its kind: id, flags, hotkey, place
    // and size in cells, and the reserved double word.
    constexpr void Common(uint16_t id, uint16_t flags, uint16_t hotkey, int x, int y, int width,
                          int height) {
        Word(id);
        Word(flags);
        Word(hotkey);
        Word(x);
        Word(y);
        Word(width);
        Word(height);
        Word(0);
        Word(0);
    }
};

// The letter between tildes is the control's accelerator, and its
// character code is the hotkey ("~W~ybierz" is chosen with W).
consteval uint16_t Accelerator(const char* text) {
    for (; *text != '\0'; ++text)
        if (text[0] == '~' && text[1] != '\0') return static_cast<unsigned char>(text[1]);
    return 0;
}

// A bottom button's text: the key's name set off by the markup bytes 0x05
// and 0x01, then the action word ("\x05F5\x01 Zapisz").
struct KeyCaption {
    char bytes[48] = {};
    constexpr operator const char*() const { return bytes; }
};

consteval KeyCaption KeyLabel(const char* key, const char* action) {
    KeyCaption caption;
    std::size_t out = 0;
    caption.bytes[out++] = '\x05';
    while (*key != '\0') caption.bytes[out++] = *key++;
    caption.bytes[out++] = '\x01';
    caption.bytes[out++] = ' ';
    while (*action != '\0') caption.bytes[out++] = *action++;
    return caption;
}

consteval Record Plain(Kind kind, uint16_t id, uint16_t flags, uint16_t hotkey, int x, int y,
                       int width, int height, const char* text) {
    Record record;
    record.Word(kind);
    record.Common(id, flags, hotkey, x, y, width, height);
    record.Text(text);
    return record;
}

consteval Record Window(uint16_t id, int width, int height, const char* title) {
    return Plain(kWindow, id, kWindowFlags, 0, 0, 0, width, height, title);
}

// A push button is chosen by its accelerator unless a key is given.
constexpr int kHotkeyFromText = -1;
consteval Record Button(uint16_t id, uint16_t flags, int x, int y, int width, const char* text,
                        int hotkey = kHotkeyFromText) {
    uint16_t key = hotkey == kHotkeyFromText ? Accelerator(text) : static_cast<uint16_t>(hotkey);
    return Plain(kButton, id, flags, key, x, y, width, 1, text);
}

consteval Record Static(int x, int y, int width, const char* text) {
    return Plain(kStatic, kUnaddressedId, 0, kStaticHotkey, x, y, width, 1, text);
}

// The static text that opens a radio group; the radio buttons follow it.
consteval Record RadioGroup(uint16_t id, int x, int y, int width) {
    return Plain(kStatic, id, kRadioGroupFlags, 0, x, y, width, 1, "");
}

consteval Record Radio(uint16_t id, int x, int y, int width, const char* text) {
    return Plain(kRadio, id, kRadioFlags, Accelerator(text), x, y, width, 1, text);
}

consteval Record CheckBox(int x, int y, int width, const char* text) {
    return Plain(kCheckBox, kUnaddressedId, kCheckBoxFlags, Accelerator(text), x, y, width, 1, text);
}

consteval Record Display(uint16_t id, int x, int y, int width) {
    return Plain(kDisplay, id, 0, 0, x, y, width, 1, "");
}

// An input line's header grows by its extension, so its header length,
// counted from the repeated kind to the text, is filled in once the
// extension is written.
consteval Record InputHeader(uint16_t id, int x, int y, int width) {
    Record record;
    record.Word(kInput);
    record.Word(0);
    record.Word(kInput);
    record.Common(id, kInputFlags, 0, x, y, width, 1);
    return record;
}

consteval Record FinishInput(Record record) {
    int headerLength = static_cast<int>(record.size) - 4;
    record.bytes[2] = static_cast<unsigned char>(headerLength);
    record.bytes[3] = static_cast<unsigned char>(headerLength >> 8);
    record.Text("");
    return record;
}

consteval Record TextInput(uint16_t id, int x, int y, int width, uint16_t maxLength) {
    Record record = InputHeader(id, x, y, width);
    for (int i = 0; i < 4; ++i) record.Word(0);
    record.Word(maxLength);
    record.Word(8);
    record.Word(0);
    record.Word(maxLength);
    record.Word(1);
    return FinishInput(record);
}

// A numeric input takes up to six typed characters, "-32767" at most; the
// lower bound stops one short of the 16-bit minimum.
consteval Record NumberInput(uint16_t id, int x, int y, int width) {
    Record record = InputHeader(id, x, y, width);
    for (int i = 0; i < 4; ++i) record.Word(0);
    record.Word(6);
    record.Word(1);
    record.Word(0);
    record.Word(0);
    record.Word(-32767);
    record.Word(32767);
    return FinishInput(record);
}

// The window record first, then the controls; x, y, width in cells.
consteval auto CallerIdWindowRecords() {
    return std::array{
        /*  1 */ Window(kCallerIdWindowId, 110, 23, MZ(u8"Wybierz")),
        /*  2 */ Button(kExitButtonId,     0x0004,  5, 20, 11, KeyLabel("F12", MZ(u8"Wyjdz")), kKeyF12),
        /*  3 */ Button(kCopyButtonId,     0x0000, 20, 20, 12, KeyLabel("ESC", MZ(u8"Kopiuj"))),
        /*  4 */ Button(kShowLogButtonId,  0x0100, 36, 20,  8, KeyLabel("F3", MZ(u8"LOG"))),
        /*  5 */ Button(kClearLogButtonId, 0x0100, 48, 20, 22, KeyLabel("F4", MZ(u8"Czyść LOG i listę"))),
        /*  6 */ Button(kSaveButtonId,     0x0100, 74, 20, 11, KeyLabel("F5", MZ(u8"Zapisz"))),
        /*  7 */ Button(kRefreshButtonId,  0x0100, 89, 20, 14, KeyLabel("F6", MZ(u8"Odświeżaj"))),
        // Beyond the right edge: it is never seen and only catches Ctrl-P.
        /*  8 */ Button(kPingButtonId,     0x0180, 1000, 1, 1, ""),

        /*  9 */ RadioGroup(kSlotRadioGroupId, 2, 2, 0),
        /* 10 */ Radio(kFirstSlotRadioId + 0, 2,  2, 8, MZ(u8"~1~")),
        /* 11 */ Radio(kFirstSlotRadioId + 1, 2,  3, 8, MZ(u8"~2~")),
        /* 12 */ Radio(kFirstSlotRadioId + 2, 2,  4, 8, MZ(u8"~3~")),
        /* 13 */ Radio(kFirstSlotRadioId + 3, 2,  5, 8, MZ(u8"~4~")),
        /* 14 */ Radio(kFirstSlotRadioId + 4, 2,  6, 8, MZ(u8"~5~")),
        /* 15 */ Radio(kFirstSlotRadioId + 5, 2,  7, 8, MZ(u8"~6~")),
        /* 16 */ Radio(kFirstSlotRadioId + 6, 2,  8, 8, MZ(u8"~7~")),
        /* 17 */ Radio(kFirstSlotRadioId + 7, 2,  9, 8, MZ(u8"~8~")),
        /* 18 */ Radio(kFirstSlotRadioId + 8, 2, 10, 8, MZ(u8"~9~")),
        /* 19 */ Radio(kFirstSlotRadioId + 9, 2, 11, 8, MZ(u8"1~0~")),

        /* 20 */ Display(kStatusLineId, 2, 13, 100),
        /* 21 */ CheckBox(3, 15, 100, MZ(u8"~P~odczas szukania (Cltr-F, Ctrl-Z w rubryce NIP) podpowiedz NIP wpisany przez użytkownika")),
        /* 22 */ CheckBox(3, 16, 100, MZ(u8"~S~tosuj schowek dla (Cltr-F, Ctrl-Z w rubryce NIP)")),
        /* 23 */ CheckBox(3, 17, 100, MZ(u8"~T~worz LOG")),

        // The slot rows, slot k on line k + 2: phone, target, NIP, call time.
        /* 24 */ Static(2, 2, 0, ""),
        /* 25 */ TextInput(SlotPhoneInputId(0), 10, 2, 15, kPhoneLength),
        /* 26 */ TextInput(SlotTargetInputId(0), 26, 2, 15, kTargetLength),
        /* 27 */ Static(42, 2, 4, MZ(u8"NIP:")),
        /* 28 */ TextInput(SlotNipInputId(0), 46, 2, 20, kNipLength),
        /* 29 */ Display(SlotCallTimeFieldId(0), 70, 2, 39),

        /* 30 */ Static(2, 3, 0, ""),
        /* 31 */ TextInput(SlotPhoneInputId(1), 10, 3, 15, kPhoneLength),
        /* 32 */ TextInput(SlotTargetInputId(1), 26, 3, 15, kTargetLength),
        /* 33 */ Static(42, 3, 4, MZ(u8"NIP:")),
        /* 34 */ TextInput(SlotNipInputId(1), 46, 3, 20, kNipLength),
        /* 35 */ Display(SlotCallTimeFieldId(1), 70, 3, 39),

        /* 36 */ Static(2, 4, 0, ""),
        /* 37 */ TextInput(SlotPhoneInputId(2), 10, 4, 15, kPhoneLength),
        /* 38 */ TextInput(SlotTargetInputId(2), 26, 4, 15, kTargetLength),
        /* 39 */ Static(42, 4, 4, MZ(u8"NIP:")),
        /* 40 */ TextInput(SlotNipInputId(2), 46, 4, 20, kNipLength),
        /* 41 */ Display(SlotCallTimeFieldId(2), 70, 4, 39),

        /* 42 */ Static(2, 5, 0, ""),
        /* 43 */ TextInput(SlotPhoneInputId(3), 10, 5, 15, kPhoneLength),
        /* 44 */ TextInput(SlotTargetInputId(3), 26, 5, 15, kTargetLength),
        /* 45 */ Static(42, 5, 4, MZ(u8"NIP:")),
        /* 46 */ TextInput(SlotNipInputId(3), 46, 5, 20, kNipLength),
        /* 47 */ Display(SlotCallTimeFieldId(3), 70, 5, 39),

        /* 48 */ Static(2, 6, 0, ""),
        /* 49 */ TextInput(SlotPhoneInputId(4), 10, 6, 15, kPhoneLength),
        /* 50 */ TextInput(SlotTargetInputId(4), 26, 6, 15, kTargetLength),
        /* 51 */ Static(42, 6, 4, MZ(u8"NIP:")),
        /* 52 */ TextInput(SlotNipInputId(4), 46, 6, 20, kNipLength),
        /* 53 */ Display(SlotCallTimeFieldId(4), 70, 6, 39),

        /* 54 */ Static(2, 7, 0, ""),
        /* 55 */ TextInput(SlotPhoneInputId(5), 10, 7, 15, kPhoneLength),
        /* 56 */ TextInput(SlotTargetInputId(5), 26, 7, 15, kTargetLength),
        /* 57 */ Static(42, 7, 4, MZ(u8"NIP:")),
        /* 58 */ TextInput(SlotNipInputId(5), 46, 7, 20, kNipLength),
        /* 59 */ Display(SlotCallTimeFieldId(5), 70, 7, 39),

        /* 60 */ Static(2, 8, 0, ""),
        /* 61 */ TextInput(SlotPhoneInputId(6), 10, 8, 15, kPhoneLength),
        /* 62 */ TextInput(SlotTargetInputId(6), 26, 8, 15, kTargetLength),
        /* 63 */ Static(42, 8, 4, MZ(u8"NIP:")),
        /* 64 */ TextInput(SlotNipInputId(6), 46, 8, 20, kNipLength),
        /* 65 */ Display(SlotCallTimeFieldId(6), 70, 8, 39),

        /* 66 */ Static(2, 9, 0, ""),
        /* 67 */ TextInput(SlotPhoneInputId(7), 10, 9, 15, kPhoneLength),
        /* 68 */ TextInput(SlotTargetInputId(7), 26, 9, 15, kTargetLength),
        /* 69 */ Static(42, 9, 4, MZ(u8"NIP:")),
        /* 70 */ TextInput(SlotNipInputId(7), 46, 9, 20, kNipLength),
        /* 71 */ Display(SlotCallTimeFieldId(7), 70, 9, 39),

        /* 72 */ Static(2, 10, 0, ""),
        /* 73 */ TextInput(SlotPhoneInputId(8), 10, 10, 15, kPhoneLength),
        /* 74 */ TextInput(SlotTargetInputId(8), 26, 10, 15, kTargetLength),
        /* 75 */ Static(42, 10, 4, MZ(u8"NIP:")),
        /* 76 */ TextInput(SlotNipInputId(8), 46, 10, 20, kNipLength),
        /* 77 */ Display(SlotCallTimeFieldId(8), 70, 10, 39),

        /* 78 */ Static(2, 11, 0, ""),
        /* 79 */ TextInput(SlotPhoneInputId(9), 10, 11, 15, kPhoneLength),
        /* 80 */ TextInput(SlotTargetInputId(9), 26, 11, 15, kTargetLength),
        /* 81 */ Static(42, 11, 4, MZ(u8"NIP:")),
        /* 82 */ TextInput(SlotNipInputId(9), 46, 11, 20, kNipLength),
        /* 83 */ Display(SlotCallTimeFieldId(9), 70, 11, 39),

        /* 84 */ Static(3, 18, 18, MZ(u8"Port UDP nasłuchu:")),
        /* 85 */ NumberInput(kPortInputId, 22, 18, 10),
        /* 86 */ Static(33, 18, 5, MZ(u8"Plik:")),
        /* 87 */ TextInput(kFileNameInputId, 39, 18, 54, kFileNameLength),
        /* 88 */ Button(kChooseFileButtonId, 0x0180, 93, 18, 10, MZ(u8"~W~ybierz")),
    };
}

template <std::size_t Count>
consteval std::size_t RecordsLength(const std::array<Record, Count>& records) {
    std::size_t length = 0;
    for (const Record& record : records) length += record.size;
    return length;
}

// Header: the number of bytes after the first word, the records' length
// and the number of controls after the window record.
constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kRecordsLength = RecordsLength(CallerIdWindowRecords());
static_assert(kRecordsLength <= 0xFFFF, "the records' length is a 16-bit field");

struct Description {
    alignas(4) unsigned char bytes[kHeaderSize + kRecordsLength];
};

consteval Description Assemble() {
    Description description{};
    const auto records = CallerIdWindowRecords();
    std::size_t out = 0;
    auto put = [&](std::size_t value, int width) {
        for (int i = 0; i < width; ++i) description.bytes[out++] = static_cast<unsigned char>(value >> (8 * i));
    };
    put(kRecordsLength + 4, 4);
    put(kRecordsLength, 2);
    put(records.size() - 1, 2);
    for (const Record& record : records)
        for (std::size_t i = 0; i < record.size; ++i) description.bytes[out++] = record.bytes[i];
    return description;
}

constexpr Description kDescription = Assemble();

}  // namespace

const unsigned char* CallerIdWindowDescription() { return kDescription.bytes; }

std::size_t CallerIdWindowDescriptionSize() { return sizeof kDescription.bytes; }
