// Editing an input line: insertion at the cursor, deletion on both sides
// of it, and the movements of the cursor.
#include "terminal/input_editor.h"

namespace refhost::screen {

InputEditor::InputEditor(std::string text, std::size_t maxLength, bool numeric)
    : maxLength_(maxLength), numeric_(numeric) {
    SetText(std::move(text));
}

void InputEditor::SetText(std::string text) {
    if (text.size() > maxLength_) text.resize(maxLength_);
    text_ = std::move(text);
    cursor_ = text_.size();
    firstShown_ = 0;
}

bool InputEditor::Accepts(char byte) const {
    if (text_.size() >= maxLength_) return false;
    if (!numeric_) return true;
    if (byte >= '0' && byte <= '9') return !(cursor_ == 0 && !text_.empty() && text_[0] == '-');
    return byte == '-' && cursor_ == 0 && (text_.empty() || text_[0] != '-');
}

InputEditor::Result InputEditor::Handle(const ScreenKey& key) {
    if (key.IsText() && !key.alt) {
        if (!Accepts(key.Byte())) return Result::Refused;
        text_.insert(cursor_++, 1, key.Byte());
        return Result::Taken;
    }
    if (key.kind != ScreenKey::Kind::Code || key.alt) return Result::NotMine;
    switch (key.code) {
        case pc::kLeft:
            if (cursor_ == 0) return Result::Refused;
            --cursor_;
            return Result::Taken;
        case pc::kRight:
            if (cursor_ == text_.size()) return Result::Refused;
            ++cursor_;
            return Result::Taken;
        case pc::kHome:
            cursor_ = 0;
            return Result::Taken;
        case pc::kEnd:
            cursor_ = text_.size();
            return Result::Taken;
        case pc::kBackspace:
            if (cursor_ == 0) return Result::Refused;
            text_.erase(--cursor_, 1);
            return Result::Taken;
        case pc::kDelete:
            if (cursor_ == text_.size()) return Result::Refused;
            text_.erase(cursor_, 1);
            return Result::Taken;
        default:
            return Result::NotMine;
    }
}

std::size_t InputEditor::FirstShown(std::size_t width) {
    if (width == 0) return cursor_;
    if (cursor_ < firstShown_) firstShown_ = cursor_;
    if (cursor_ >= firstShown_ + width) firstShown_ = cursor_ - width + 1;
    // Room left at the end of the field goes to the text before the cursor.
    std::size_t shownEnd = text_.size() + 1;
    if (firstShown_ + width > shownEnd) firstShown_ = shownEnd > width ? shownEnd - width : 0;
    if (cursor_ < firstShown_) firstShown_ = cursor_;
    return firstShown_;
}

}  // namespace refhost::screen
