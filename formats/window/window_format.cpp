// Reading a window description and laying out its window data record. Every
// read is checked against the end the description's first word gives, and
// that end against the bytes at hand, so damage shows as an error naming the
// record and its offset.
#include "window/window_format.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>

namespace refhost {
namespace {

constexpr std::size_t kHeaderSize = 8;
// A plain record: kind, then id, flags, hotkey, x, y, width, height and the
// reserved double word, then the text.
constexpr std::size_t kPlainFieldsSize = 20;
// An input line counts its header length from its repeated kind, which is
// followed by the same 18 bytes of fields as a plain record.
constexpr std::size_t kInputPrefixSize = 4;
constexpr std::size_t kInputFixedSize = 20;
constexpr uint16_t kTextInputHeaderLength = 38;
constexpr uint16_t kNumberInputHeaderLength = 40;
// The maximum length sits after eight bytes of the extension, the numeric
// bounds after sixteen.
constexpr std::size_t kExtensionMaxLength = 8;
constexpr std::size_t kExtensionBounds = 16;
// The record length is a 16-bit field and equals the total length less 4.
constexpr uint32_t kLargestTotalLength = 0xFFFF + 4;
// A run of check boxes shares one 16-bit set.
constexpr int kMaxCheckBoxesInRun = 16;

uint16_t ReadU16(std::span<const uint8_t> bytes, std::size_t at) {
    return static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

uint32_t ReadU32(std::span<const uint8_t> bytes, std::size_t at) {
    return static_cast<uint32_t>(ReadU16(bytes, at)) | static_cast<uint32_t>(ReadU16(bytes, at + 2)) << 16;
}

__attribute__((format(gnu_printf, 2, 3))) void SetError(std::string& error, const char* format, ...) {
    char text[256];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    error = "window description: ";
    error += text;
}

bool IsControlKind(uint16_t kind) {
    return kind <= static_cast<uint16_t>(RecordKind::InputLine);
}

// Reads the records one after another from a description already cut to
// the extent its header gives.
class RecordReader {
public:
    RecordReader(std::span<const uint8_t> description, std::string& error)
        : bytes_(description), error_(error) {}

    bool Read(std::size_t index, WindowRecord& record);
    std::size_t position() const { return at_; }

private:
    bool Fail(std::size_t index, const char* problem);
    bool Need(std::size_t index, std::size_t count);
    bool ReadInputHeader(std::size_t index, WindowRecord& record, std::size_t& textAt);
    void ReadFields(std::size_t fieldsAt, WindowRecord& record);
    bool ReadText(std::size_t index, std::size_t textAt, WindowRecord& record);

    std::span<const uint8_t> bytes_;
    std::string& error_;
    std::size_t at_ = kHeaderSize;
};

bool RecordReader::Fail(std::size_t index, const char* problem) {
    SetError(error_, "record %zu at offset %zu: %s", index + 1, at_, problem);
    return false;
}

bool RecordReader::Need(std::size_t index, std::size_t count) {
    if (bytes_.size() - at_ >= count) return true;
    char problem[128];
    std::snprintf(problem, sizeof problem, "needs %zu bytes, the description ends after %zu", count,
                  bytes_.size() - at_);
    return Fail(index, problem);
}

bool RecordReader::Read(std::size_t index, WindowRecord& record) {
    if (!Need(index, 2)) return false;
    uint16_t kind = ReadU16(bytes_, at_);
    if (index == 0 && kind != static_cast<uint16_t>(RecordKind::Window))
        return Fail(index, "the first record is not the window record (kind 0xFFFF)");
    if (index != 0 && !IsControlKind(kind)) {
        char problem[64];
        std::snprintf(problem, sizeof problem, "unknown control kind 0x%04X", kind);
        return Fail(index, problem);
    }
    record = WindowRecord{};
    record.offset = at_;
    record.kind = static_cast<RecordKind>(kind);

    std::size_t textAt = 0;
    if (record.kind == RecordKind::InputLine) {
        if (!ReadInputHeader(index, record, textAt)) return false;
    } else {
        if (!Need(index, kPlainFieldsSize)) return false;
        ReadFields(at_ + 2, record);
        textAt = at_ + kPlainFieldsSize;
    }
    if (!ReadText(index, textAt, record)) return false;
    record.length = textAt + record.text.size() + 1 - at_;
    at_ += record.length;
    return true;
}

bool RecordReader::ReadInputHeader(std::size_t index, WindowRecord& record, std::size_t& textAt) {
    if (!Need(index, kInputPrefixSize)) return false;
    uint16_t headerLength = ReadU16(bytes_, at_ + 2);
    char problem[128];
    if (headerLength < kInputFixedSize) {
        std::snprintf(problem, sizeof problem,
                      "input line header length %u is shorter than its %zu bytes of fields",
                      headerLength, kInputFixedSize);
        return Fail(index, problem);
    }
    if (!Need(index, kInputPrefixSize + headerLength)) return false;
    if (ReadU16(bytes_, at_ + 4) != static_cast<uint16_t>(RecordKind::InputLine))
        return Fail(index, "the input line's repeated kind is not 5");

    InputLine input{};
    input.headerLength = headerLength;
    std::size_t extension = at_ + kInputPrefixSize + kInputFixedSize;
    if (headerLength == kTextInputHeaderLength) {
        input.type = InputLine::Type::Text;
        input.maxLength = ReadU16(bytes_, extension + kExtensionMaxLength);
    } else if (headerLength == kNumberInputHeaderLength) {
        input.type = InputLine::Type::Number;
        input.maxLength = ReadU16(bytes_, extension + kExtensionMaxLength);
        input.lowerBound = static_cast<int16_t>(ReadU16(bytes_, extension + kExtensionBounds));
        input.upperBound = static_cast<int16_t>(ReadU16(bytes_, extension + kExtensionBounds + 2));
    } else {
        std::snprintf(problem, sizeof problem,
                      "input line header length %u is neither %u (text) nor %u (number)",
                      headerLength, kTextInputHeaderLength, kNumberInputHeaderLength);
        return Fail(index, problem);
    }
    ReadFields(at_ + kInputPrefixSize + 2, record);
    record.input = input;
    textAt = at_ + kInputPrefixSize + headerLength;
    return true;
}

// The 18 bytes that follow the kind in every record.
void RecordReader::ReadFields(std::size_t fieldsAt, WindowRecord& record) {
    record.id = ReadU16(bytes_, fieldsAt);
    record.flags = ReadU16(bytes_, fieldsAt + 2);
    record.hotkey = ReadU16(bytes_, fieldsAt + 4);
    record.x = static_cast<int16_t>(ReadU16(bytes_, fieldsAt + 6));
    record.y = static_cast<int16_t>(ReadU16(bytes_, fieldsAt + 8));
    record.width = static_cast<int16_t>(ReadU16(bytes_, fieldsAt + 10));
    record.height = static_cast<int16_t>(ReadU16(bytes_, fieldsAt + 12));
    record.reserved = ReadU32(bytes_, fieldsAt + 14);
}

bool RecordReader::ReadText(std::size_t index, std::size_t textAt, WindowRecord& record) {
    const uint8_t* start = bytes_.data() + textAt;
    const void* end = std::memchr(start, 0, bytes_.size() - textAt);
    if (end == nullptr) return Fail(index, "the text has no NUL before the description ends");
    record.text.assign(reinterpret_cast<const char*>(start), static_cast<const uint8_t*>(end) - start);
    return true;
}

// Radio buttons right after a static text form its group; the opener gets
// the group's index field and every item the index it stands for. Returns
// the index of the first record after the group.
std::size_t BindRadioGroup(std::vector<WindowRecord>& records, std::size_t opener, std::size_t& offset) {
    records[opener].data = DataField{DataField::Type::RadioGroup, offset, 2, 0};
    std::size_t next = opener + 1;
    for (uint16_t item = 0; next < records.size() && records[next].kind == RecordKind::RadioButton;
         ++next, ++item)
        records[next].data = DataField{DataField::Type::RadioButton, offset, 2, item};
    offset += 2;
    return next;
}

// Consecutive check boxes share a bit set, the first box holding bit 1.
// Returns the index of the first record after the run, or 0 when the run
// has more boxes than the set has bits.
std::size_t BindCheckBoxRun(std::vector<WindowRecord>& records, std::size_t first, std::size_t& offset) {
    std::size_t next = first;
    for (int bit = 0; next < records.size() && records[next].kind == RecordKind::CheckBox; ++next, ++bit) {
        if (bit == kMaxCheckBoxesInRun) return 0;
        records[next].data = DataField{DataField::Type::CheckBox, offset, 2, static_cast<uint16_t>(1u << bit)};
    }
    offset += 2;
    return next;
}

bool BindDataRecord(WindowDescription& description, std::string& error) {
    std::vector<WindowRecord>& records = description.records;
    std::size_t offset = 0;
    for (std::size_t i = 1; i < records.size();) {
        WindowRecord& record = records[i];
        if (record.kind == RecordKind::StaticText && i + 1 < records.size() &&
            records[i + 1].kind == RecordKind::RadioButton) {
            i = BindRadioGroup(records, i, offset);
            continue;
        }
        if (record.kind == RecordKind::RadioButton) {
            SetError(error, "record %zu at offset %zu: a radio button without the static text that opens its group",
                     i + 1, record.offset);
            return false;
        }
        if (record.kind == RecordKind::CheckBox) {
            std::size_t next = BindCheckBoxRun(records, i, offset);
            if (next == 0) {
                SetError(error, "record %zu at offset %zu: a run of more than %d check boxes", i + 1,
                         record.offset, kMaxCheckBoxesInRun);
                return false;
            }
            i = next;
            continue;
        }
        if (record.kind == RecordKind::InputLine) {
            if (record.input->type == InputLine::Type::Text) {
                record.data = DataField{DataField::Type::Text, offset, record.input->maxLength + 1u, 0};
            } else {
                record.data = DataField{DataField::Type::Number, offset, 2, 0};
            }
            offset += record.data->size;
        }
        ++i;
    }
    description.dataSize = offset;
    return true;
}

}  // namespace

const char* RecordKindName(RecordKind kind) {
    switch (kind) {
        case RecordKind::Button: return "button";
        case RecordKind::RadioButton: return "radio button";
        case RecordKind::CheckBox: return "check box";
        case RecordKind::StaticText: return "static text";
        case RecordKind::DisplayField: return "display field";
        case RecordKind::InputLine: return "input line";
        case RecordKind::Window: return "window";
    }
    return "unknown";
}

std::vector<const WindowRecord*> WindowDescription::FindControls(uint16_t id) const {
    std::vector<const WindowRecord*> found;
    for (const WindowRecord& control : controls())
        if (control.id == id) found.push_back(&control);
    return found;
}

std::optional<WindowDescription> ParseWindowDescription(std::span<const uint8_t> bytes,
                                                        std::string& error) {
    if (bytes.size() < kHeaderSize) {
        SetError(error, "%zu bytes are too few for the %zu-byte header", bytes.size(), kHeaderSize);
        return std::nullopt;
    }
    uint32_t totalLength = ReadU32(bytes, 0);
    if (totalLength < kHeaderSize - 4) {
        SetError(error, "the total length %u does not cover the header", totalLength);
        return std::nullopt;
    }
    if (bytes.size() - 4 < totalLength) {
        SetError(error, "truncated: the header counts %u bytes after its first word, %zu are there",
                 totalLength, bytes.size() - 4);
        return std::nullopt;
    }
    std::span<const uint8_t> extent = bytes.first(4 + static_cast<std::size_t>(totalLength));
    uint16_t recordsLength = ReadU16(extent, 4);
    if (recordsLength != totalLength - 4) {
        SetError(error, "the records' length %u is not the total length %u less 4", recordsLength,
                 totalLength);
        return std::nullopt;
    }

    uint16_t controlCount = ReadU16(extent, 6);
    WindowDescription description{};
    description.size = extent.size();
    RecordReader reader(extent, error);
    for (std::size_t i = 0; i <= controlCount; ++i) {
        WindowRecord record;
        if (!reader.Read(i, record)) return std::nullopt;
        description.records.push_back(std::move(record));
    }
    if (reader.position() != extent.size()) {
        SetError(error, "%zu bytes follow the last of the %u controls before the end the header gives",
                 extent.size() - reader.position(), controlCount);
        return std::nullopt;
    }
    if (!BindDataRecord(description, error)) return std::nullopt;
    return description;
}

std::optional<WindowDescription> ParseWindowDescriptionAt(const void* header, std::string& error) {
    uint32_t totalLength = ReadU32(std::span(static_cast<const uint8_t*>(header), 4), 0);
    if (totalLength > kLargestTotalLength) {
        SetError(error, "the total length %u exceeds what a 16-bit records' length allows", totalLength);
        return std::nullopt;
    }
    return ParseWindowDescription(std::span(static_cast<const uint8_t*>(header), 4 + totalLength), error);
}

}  // namespace refhost
