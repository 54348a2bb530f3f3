// Writing a window description in the byte format that host service 52026
// reads: for the host's own windows (the contractor search window) and for
// tests that need a small window of their own.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "window/window_format.h"

namespace refhost {

struct Place {
    int16_t x, y, width, height;
};

class WindowDescriptionBuilder {
public:
    // Texts are Mazovia bytes, written as given.
    WindowDescriptionBuilder(uint16_t id, std::string_view title, Place place, uint16_t flags = 0x0200);

    WindowDescriptionBuilder& Button(uint16_t id, uint16_t flags, uint16_t hotkey, Place place,
                                     std::string_view text);
    WindowDescriptionBuilder& RadioButton(uint16_t id, uint16_t flags, uint16_t hotkey, Place place,
                                          std::string_view text);
    WindowDescriptionBuilder& CheckBox(uint16_t id, uint16_t flags, uint16_t hotkey, Place place,
                                       std::string_view text);
    WindowDescriptionBuilder& StaticText(uint16_t id, Place place, std::string_view text,
                                         uint16_t hotkey = 0x0800);
    WindowDescriptionBuilder& DisplayField(uint16_t id, Place place);
    WindowDescriptionBuilder& TextInput(uint16_t id, uint16_t flags, Place place, uint16_t maxLength);
    WindowDescriptionBuilder& NumberInput(uint16_t id, uint16_t flags, Place place,
                                          int16_t lowerBound = -32767, int16_t upperBound = 32767);

    // The whole description: header, window record, control records.
    std::vector<uint8_t> Bytes() const;

private:
    WindowDescriptionBuilder& Plain(RecordKind kind, uint16_t id, uint16_t flags, uint16_t hotkey,
                                    Place place, std::string_view text);
    void PutFields(uint16_t id, uint16_t flags, uint16_t hotkey, Place place);
    void PutU16(unsigned value);
    void PutText(std::string_view text);

    std::vector<uint8_t> records_;
    uint16_t controlCount_ = 0;
};

}  // namespace refhost
