// Reading a window description: the byte format a plug-in hands to host
// service 52026 and the rule that lays out the window data record from it.
// The reader trusts nothing in the bytes; a damaged description yields an
// error text, never a read outside the bytes it was given.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace refhost {

enum class RecordKind : uint16_t {
    Button = 0,
    RadioButton = 1,
    CheckBox = 2,
    StaticText = 3,
    DisplayField = 4,
    InputLine = 5,
    Window = 0xFFFF,
};

// Name of a kind for listings and messages ("button", "input line", ...).
const char* RecordKindName(RecordKind kind);

// Flag bits whose meaning the window runner relies on.
inline constexpr uint16_t kFlagReachesProcedure = 0x0100;  // chosen: a command to the procedure
inline constexpr uint16_t kFlagCarriesData = 0x0400;       // bound to the data record

// The extension of an input line. Its header length tells the two kinds
// apart: 38 bytes for text, 40 for a number.
struct InputLine {
    enum class Type { Text, Number };
    Type type;
    uint16_t headerLength;
    uint16_t maxLength;       // characters the user may type
    int16_t lowerBound = 0;   // numbers only
    int16_t upperBound = 0;   // numbers only
};

// Where a control's value lives in the window data record. A radio group
// and a run of check boxes share one 16-bit field among their records.
struct DataField {
    enum class Type {
        RadioGroup,   // the group's opener: the u16 index of the chosen item
        RadioButton,  // value: the index it stores when chosen
        CheckBox,     // value: its bit in the run's u16 bit set
        Text,         // NUL-terminated, maxLength + 1 bytes
        Number,       // i16
    };
    Type type;
    std::size_t offset;
    std::size_t size;
    uint16_t value = 0;
};

struct WindowRecord {
    std::size_t offset;  // of the record within the description
    std::size_t length;  // bytes, text and its NUL included
    RecordKind kind;
    uint16_t id;
    uint16_t flags;
    uint16_t hotkey;
    int16_t x;
    int16_t y;
    int16_t width;
    int16_t height;
    uint32_t reserved;
    std::string text;                 // Mazovia bytes, without the NUL
    std::optional<InputLine> input;   // input lines only
    std::optional<DataField> data;    // controls bound to the data record

    bool HasFlag(uint16_t flag) const { return (flags & flag) == flag; }
};

struct WindowDescription {
    std::size_t size;                    // bytes read: the first word and what it counts
    std::vector<WindowRecord> records;   // the window record, then the controls in order
    std::size_t dataSize;                // bytes of the window data record

    const WindowRecord& window() const { return records.front(); }
    std::span<const WindowRecord> controls() const { return std::span(records).subspan(1); }
    // Controls with this id, in description order. Ids are not unique: every
    // unaddressed control has 0xFFFF, and a plug-in may reuse an id.
    std::vector<const WindowRecord*> FindControls(uint16_t id) const;
};

// Parses the description at the start of bytes. The description ends where
// its first word says; bytes after it are not looked at.
std::optional<WindowDescription> ParseWindowDescription(std::span<const uint8_t> bytes,
                                                        std::string& error);

// For the host service, which receives only the header's address: the
// extent comes from the first word, so the caller vouches that the first
// word and as many bytes as it counts are readable.
std::optional<WindowDescription> ParseWindowDescriptionAt(const void* header, std::string& error);

}  // namespace refhost
