// The controls' values of a running window: the data record shown in the
// controls and collected from them, text typed into inputs within their
// limits, display field texts, rectangles, and reading them back.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>

#include "plumbing/host.h"
#include "window/window_keys.h"
#include "window/window_runner.h"

namespace refhost {
namespace {

uint16_t ReadU16(const uint8_t* bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }

void WriteU16(uint8_t* bytes, uint16_t value) {
    bytes[0] = static_cast<uint8_t>(value);
    bytes[1] = static_cast<uint8_t>(value >> 8);
}

std::string Hex(unsigned value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%04X", value);
    return text;
}

// A number input takes digits and a leading minus sign; other characters
// do not reach it.
std::string NumberCharacters(std::string_view text, bool& dropped) {
    std::string kept;
    dropped = false;
    for (char c : text) {
        if (std::isdigit(static_cast<unsigned char>(c)) || (c == '-' && kept.empty()))
            kept += c;
        else
            dropped = true;
    }
    return kept;
}

}  // namespace

std::size_t RunningWindow::IndexOf(const WindowRecord& record) const {
    return static_cast<std::size_t>(&record - description_.records.data());
}

// The static text that opens the group the radio button at index belongs to.
std::size_t RunningWindow::GroupOpener(std::size_t radioIndex) const {
    std::size_t i = radioIndex;
    while (i > 0 && description_.records[i].kind == RecordKind::RadioButton) --i;
    return i;
}

const WindowRecord* RunningWindow::FindInput(uint16_t id) const {
    for (const WindowRecord& control : description_.controls())
        if (control.kind == RecordKind::InputLine && control.id == id) return &control;
    return nullptr;
}

void RunningWindow::ShowRecord(const void* record) {
    const auto* bytes = static_cast<const uint8_t*>(record);
    for (std::size_t i = 1; i < description_.records.size(); ++i) {
        const WindowRecord& control = description_.records[i];
        if (!control.data) continue;
        const DataField& field = *control.data;
        ControlState& state = states_[i];
        switch (field.type) {
            case DataField::Type::RadioGroup:
                state.choice = ReadU16(bytes + field.offset);
                break;
            case DataField::Type::RadioButton:
                break;
            case DataField::Type::CheckBox:
                state.checked = (ReadU16(bytes + field.offset) & field.value) != 0;
                break;
            case DataField::Type::Text: {
                // An unterminated field shows no more than the input holds.
                const char* text = reinterpret_cast<const char*>(bytes + field.offset);
                std::size_t length = strnlen(text, field.size);
                if (length > control.input->maxLength) length = control.input->maxLength;
                state.text.assign(text, length);
                break;
            }
            case DataField::Type::Number:
                state.number = static_cast<int16_t>(ReadU16(bytes + field.offset));
                break;
        }
    }
}

void RunningWindow::CollectRecord(void* record) const {
    auto* bytes = static_cast<uint8_t*>(record);
    // A run of check boxes gives one bit set made of the boxes alone.
    std::map<std::size_t, uint16_t> checkBoxSets;
    for (std::size_t i = 1; i < description_.records.size(); ++i) {
        const WindowRecord& control = description_.records[i];
        if (!control.data) continue;
        const DataField& field = *control.data;
        const ControlState& state = states_[i];
        switch (field.type) {
            case DataField::Type::RadioGroup:
                WriteU16(bytes + field.offset, state.choice);
                break;
            case DataField::Type::RadioButton:
                break;
            case DataField::Type::CheckBox:
                checkBoxSets[field.offset] |= state.checked ? field.value : 0;
                break;
            case DataField::Type::Text:
                std::memset(bytes + field.offset, 0, field.size);
                std::memcpy(bytes + field.offset, state.text.data(), std::min(state.text.size(), field.size - 1));
                break;
            case DataField::Type::Number:
                WriteU16(bytes + field.offset, static_cast<uint16_t>(state.number));
                break;
        }
    }
    for (const auto& [offset, bits] : checkBoxSets) WriteU16(bytes + offset, bits);
}

bool RunningWindow::Type(uint16_t id, std::string_view text, std::string& note) {
    note.clear();
    const WindowRecord* input = FindInput(id);
    if (!input) {
        note = "the window has no input " + Hex(id);
        return false;
    }
    ControlState& state = states_[IndexOf(*input)];
    std::size_t limit = input->input->maxLength;
    if (input->input->type == InputLine::Type::Text) {
        if (text.size() > limit) note = "cut to its " + std::to_string(limit) + " characters";
        state.text = std::string(text.substr(0, limit));
        Print("input " + Hex(id) + " holds \"" + Readable(state.text) + "\"" + (note.empty() ? "" : ", " + note));
        return true;
    }
    bool dropped = false;
    std::string typed = NumberCharacters(text, dropped);
    if (dropped) note = "it takes only digits and a leading minus";
    if (typed.size() > limit) {
        typed.resize(limit);
        note += std::string(note.empty() ? "" : "; ") + "cut to its " + std::to_string(limit) + " characters";
    }
    long value = (typed.empty() || typed == "-") ? 0 : std::strtol(typed.c_str(), nullptr, 10);
    const InputLine& line = *input->input;
    if (value < line.lowerBound || value > line.upperBound) {
        note = "it refuses " + typed + ": outside " + std::to_string(line.lowerBound) + ".." +
               std::to_string(line.upperBound) + "; it keeps " + std::to_string(state.number);
        Print("input " + Hex(id) + " " + note);
        return false;
    }
    state.number = static_cast<int16_t>(value);
    Print("input " + Hex(id) + " holds " + std::to_string(state.number) + (note.empty() ? "" : ", " + note));
    return true;
}

bool RunningWindow::ShowText(uint16_t id, std::string_view text) {
    if (id == 0) {
        if (extraLine_ != text) Print("extra line shows \"" + Readable(text) + "\"");
        extraLine_ = text;
        return true;
    }
    bool found = false;
    for (std::size_t i = 1; i < description_.records.size(); ++i) {
        const WindowRecord& control = description_.records[i];
        if (control.kind != RecordKind::DisplayField || control.id != id) continue;
        if (!found && states_[i].text != text) Print("field " + Hex(id) + " shows \"" + Readable(text) + "\"");
        states_[i].text = text;
        found = true;
    }
    return found;
}

Rectangle RunningWindow::WindowRectangle() const { return states_[0].rectangle; }
void RunningWindow::SetWindowRectangle(const Rectangle& rectangle) { states_[0].rectangle = rectangle; }

std::optional<Rectangle> RunningWindow::ControlRectangle(uint16_t id) const {
    auto found = description_.FindControls(id);
    if (found.empty()) return std::nullopt;
    return states_[IndexOf(*found.front())].rectangle;
}

bool RunningWindow::SetControlRectangle(uint16_t id, const Rectangle& rectangle) {
    auto found = description_.FindControls(id);
    if (found.empty()) return false;
    states_[IndexOf(*found.front())].rectangle = rectangle;
    return true;
}

std::optional<std::string> RunningWindow::InputText(uint16_t id) const {
    const WindowRecord* input = FindInput(id);
    if (!input) return std::nullopt;
    const ControlState& state = states_[IndexOf(*input)];
    if (input->input->type == InputLine::Type::Number) return std::to_string(state.number);
    return state.text;
}

std::optional<std::string> RunningWindow::FieldText(uint16_t id) const {
    if (id == 0) return extraLine_;
    for (const WindowRecord& control : description_.controls())
        if (control.kind == RecordKind::DisplayField && control.id == id) return states_[IndexOf(control)].text;
    return std::nullopt;
}

std::optional<uint16_t> RunningWindow::RadioChoice(uint16_t id) const {
    for (const WindowRecord& control : description_.controls()) {
        if (control.id != id || !control.data) continue;
        if (control.data->type == DataField::Type::RadioGroup) return states_[IndexOf(control)].choice;
        if (control.data->type == DataField::Type::RadioButton)
            return states_[GroupOpener(IndexOf(control))].choice;
    }
    return std::nullopt;
}

std::optional<bool> RunningWindow::CheckBoxState(uint16_t idOrKey) const {
    for (const WindowRecord& control : description_.controls()) {
        if (control.kind != RecordKind::CheckBox) continue;
        bool named = (control.id == idOrKey && control.id != 0xFFFF) || HotkeyCatches(control.hotkey, idOrKey);
        if (named) return states_[IndexOf(control)].checked;
    }
    return std::nullopt;
}

}  // namespace refhost
