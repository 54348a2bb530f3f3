// The caller-ID window as the host builds it: the constant window
// description handed to host service 52026, the identifiers of its
// controls, and the window data record the host binds to them.
#pragma once

#include <cstddef>
#include <cstdint>

// The description starts with its header; the host takes only this address
// and learns the extent from the first word.
const unsigned char* CallerIdWindowDescription();
// Bytes from the header's first word to the end of the last record.
std::size_t CallerIdWindowDescriptionSize();

// The window record's id, passed to host service 52026 beside the description.
inline constexpr uint16_t kCallerIdWindowId = 1001;

// Controls the window procedure and UDPSetup address. The function-key
// buttons carry their key's keyboard code as id, so the key reaches the
// window procedure as the command of its button.
inline constexpr uint16_t kExitButtonId = 0x5001;          // F12, leaves without copying
inline constexpr uint16_t kCopyButtonId = 0x5002;          // ESC, leaves and copies the NIP
inline constexpr uint16_t kShowLogButtonId = 0x3D00;       // F3
inline constexpr uint16_t kClearLogButtonId = 0x3E00;      // F4
inline constexpr uint16_t kSaveButtonId = 0x3F00;          // F5
inline constexpr uint16_t kRefreshButtonId = 0x4000;       // F6
inline constexpr uint16_t kPingButtonId = 0x0010;          // Ctrl-P, invisible
inline constexpr uint16_t kSlotRadioGroupId = 0x4101;
inline constexpr uint16_t kFirstSlotRadioId = 0x4102;     // slot k is 0x4102 + k
inline constexpr uint16_t kStatusLineId = 0x4165;
inline constexpr uint16_t kPortInputId = 0x4184;
inline constexpr uint16_t kFileNameInputId = 0x4185;
inline constexpr uint16_t kChooseFileButtonId = 0x4186;
inline constexpr uint16_t kUnaddressedId = 0xFFFF;

inline constexpr int kSlotRowCount = 10;

// The first id of the controls of the row that shows slot k (0..9). The
// tenth row breaks the stride of ten, so its base is listed on its own.
constexpr uint16_t SlotRowBaseId(int slot) {
    return slot < kSlotRowCount - 1 ? static_cast<uint16_t>(0x410B + 10 * slot) : 0x4179;
}
constexpr uint16_t SlotPhoneInputId(int slot) { return SlotRowBaseId(slot); }
constexpr uint16_t SlotTargetInputId(int slot) { return SlotRowBaseId(slot) + 1; }
constexpr uint16_t SlotNipInputId(int slot) { return SlotRowBaseId(slot) + 2; }
constexpr uint16_t SlotCallTimeFieldId(int slot) { return SlotRowBaseId(slot) + 3; }

// Field capacities of the window data record, terminator included.
inline constexpr std::size_t kRowPhoneSize = 21;
inline constexpr std::size_t kRowTargetSize = 21;
inline constexpr std::size_t kRowNipSize = 17;
inline constexpr std::size_t kFileNameSize = 201;

// The window data record. The host lays it out from the description, one
// field per data-carrying control in description order, without padding;
// the 16-bit port at the odd-sized rows' end is why it is packed.
#pragma pack(push, 1)
struct WindowDataRow {
    char phone[kRowPhoneSize];
    char target[kRowTargetSize];
    char nip[kRowNipSize];
};

struct WindowData {
    uint16_t selectedSlot;  // the radio group: index of the chosen slot, 0..9
    uint16_t optionBits;    // the three check boxes, the settings' option bits
    WindowDataRow rows[kSlotRowCount];
    int16_t port;
    char fileName[kFileNameSize];
};
#pragma pack(pop)

inline constexpr std::size_t kWindowDataSize = 797;
inline constexpr std::size_t kSelectedSlotOffset = 0;
inline constexpr std::size_t kOptionBitsOffset = 2;
inline constexpr std::size_t kRowStride = 59;
inline constexpr std::size_t kPortOffset = 594;
inline constexpr std::size_t kFileNameOffset = 596;
constexpr std::size_t RowPhoneOffset(int slot) { return 4 + kRowStride * slot; }
constexpr std::size_t RowTargetOffset(int slot) { return 25 + kRowStride * slot; }
constexpr std::size_t RowNipOffset(int slot) { return 46 + kRowStride * slot; }

// The host fills the record by these offsets, on every build, the 32-bit
// Windows one above all.
static_assert(sizeof(WindowDataRow) == kRowStride);
static_assert(sizeof(WindowData) == kWindowDataSize);
static_assert(alignof(WindowData) == 1);
static_assert(offsetof(WindowData, selectedSlot) == kSelectedSlotOffset);
static_assert(offsetof(WindowData, optionBits) == kOptionBitsOffset);
static_assert(offsetof(WindowData, rows) == RowPhoneOffset(0));
static_assert(offsetof(WindowData, rows) + offsetof(WindowDataRow, target) == RowTargetOffset(0));
static_assert(offsetof(WindowData, rows) + offsetof(WindowDataRow, nip) == RowNipOffset(0));
static_assert(offsetof(WindowData, rows) + 9 * sizeof(WindowDataRow) == RowPhoneOffset(9));
static_assert(offsetof(WindowData, port) == kPortOffset);
static_assert(offsetof(WindowData, fileName) == kFileNameOffset);
static_assert(kFileNameOffset + kFileNameSize == kWindowDataSize);
