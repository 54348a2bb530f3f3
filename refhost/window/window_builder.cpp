// The description writer. Input lines carry the extension the reader
// expects: the maximum length after eight zero bytes, and for numbers the
// bounds after sixteen.
#include "window/window_builder.h"

#include <algorithm>
#include <iterator>

namespace refhost {
namespace {

constexpr uint16_t kTextInputHeaderLength = 38;
constexpr uint16_t kNumberInputHeaderLength = 40;
constexpr uint16_t kNumberInputTypedLength = 6;

}  // namespace

WindowDescriptionBuilder::WindowDescriptionBuilder(uint16_t id, std::string_view title, Place place,
                                                   uint16_t flags) {
    PutU16(static_cast<uint16_t>(RecordKind::Window));
    PutFields(id, flags, 0, place);
    PutText(title);
}

WindowDescriptionBuilder& WindowDescriptionBuilder::Plain(RecordKind kind, uint16_t id, uint16_t flags,
                                                          uint16_t hotkey, Place place,
                                                          std::string_view text) {
    PutU16(static_cast<uint16_t>(kind));
    PutFields(id, flags, hotkey, place);
    PutText(text);
    ++controlCount_;
    return *this;
}

WindowDescriptionBuilder& WindowDescriptionBuilder::Button(uint16_t id, uint16_t flags, uint16_t hotkey,
                                                           Place place, std::string_view text) {
    return Plain(RecordKind::Button, id, flags, hotkey, place, text);
}

WindowDescriptionBuilder& WindowDescriptionBuilder::RadioButton(uint16_t id, uint16_t flags, uint16_t hotkey,
                                                                Place place, std::string_view text) {
    return Plain(RecordKind::RadioButton, id, flags, hotkey, place, text);
}

WindowDescriptionBuilder& WindowDescriptionBuilder::CheckBox(uint16_t id, uint16_t flags, uint16_t hotkey,
                                                             Place place, std::string_view text) {
    return Plain(RecordKind::CheckBox, id, flags, hotkey, place, text);
}

WindowDescriptionBuilder& WindowDescriptionBuilder::StaticText(uint16_t id, Place place, std::string_view text,
                                                               uint16_t hotkey) {
    return Plain(RecordKind::StaticText, id, 0, hotkey, place, text);
}

WindowDescriptionBuilder& WindowDescriptionBuilder::DisplayField(uint16_t id, Place place) {
    return Plain(RecordKind::DisplayField, id, 0, 0, place, "");
}

WindowDescriptionBuilder& WindowDescriptionBuilder::TextInput(uint16_t id, uint16_t flags, Place place,
                                                              uint16_t maxLength) {
    PutU16(static_cast<uint16_t>(RecordKind::InputLine));
    PutU16(kTextInputHeaderLength);
    PutU16(static_cast<uint16_t>(RecordKind::InputLine));
    PutFields(id, flags, 0, place);
    for (int i = 0; i < 4; ++i) PutU16(0);
    for (unsigned value : {unsigned{maxLength}, 8u, 0u, unsigned{maxLength}, 1u}) PutU16(value);
    PutText("");
    ++controlCount_;
    return *this;
}

WindowDescriptionBuilder& WindowDescriptionBuilder::NumberInput(uint16_t id, uint16_t flags, Place place,
                                                                int16_t lowerBound, int16_t upperBound) {
    PutU16(static_cast<uint16_t>(RecordKind::InputLine));
    PutU16(kNumberInputHeaderLength);
    PutU16(static_cast<uint16_t>(RecordKind::InputLine));
    PutFields(id, flags, 0, place);
    for (int i = 0; i < 4; ++i) PutU16(0);
    for (unsigned value : {unsigned{kNumberInputTypedLength}, 1u, 0u, 0u}) PutU16(value);
    PutU16(static_cast<uint16_t>(lowerBound));
    PutU16(static_cast<uint16_t>(upperBound));
    PutText("");
    ++controlCount_;
    return *this;
}

std::vector<uint8_t> WindowDescriptionBuilder::Bytes() const {
    std::size_t totalLength = 4 + records_.size();
    const uint8_t header[] = {
        static_cast<uint8_t>(totalLength),       static_cast<uint8_t>(totalLength >> 8),
        static_cast<uint8_t>(totalLength >> 16), static_cast<uint8_t>(totalLength >> 24),
        static_cast<uint8_t>(records_.size()),   static_cast<uint8_t>(records_.size() >> 8),
        static_cast<uint8_t>(controlCount_),     static_cast<uint8_t>(controlCount_ >> 8),
    };
    std::vector<uint8_t> bytes(sizeof header + records_.size());
    std::copy(std::begin(header), std::end(header), bytes.begin());
    std::copy(records_.begin(), records_.end(), bytes.begin() + sizeof header);
    return bytes;
}

void WindowDescriptionBuilder::PutFields(uint16_t id, uint16_t flags, uint16_t hotkey, Place place) {
    for (unsigned value : {unsigned{id}, unsigned{flags}, unsigned{hotkey}}) PutU16(value);
    for (int16_t value : {place.x, place.y, place.width, place.height}) PutU16(static_cast<uint16_t>(value));
    PutU16(0);
    PutU16(0);
}

void WindowDescriptionBuilder::PutU16(unsigned value) {
    records_.push_back(static_cast<uint8_t>(value));
    records_.push_back(static_cast<uint8_t>(value >> 8));
}

void WindowDescriptionBuilder::PutText(std::string_view text) {
    records_.insert(records_.end(), text.begin(), text.end());
    records_.push_back(0);
}

}  // namespace refhost
