// One input line as the user edits it: its text in Mazovia, the cursor,
// and the rules of its kind. A text input takes up to its maximum length;
// a number input takes digits and one leading minus sign. The window
// takes the text only when the editing ends (see window_screen.cpp).
#pragma once

#include <cstddef>
#include <string>

#include "terminal/keys.h"

namespace refhost::screen {

class InputEditor {
public:
    enum class Result {
        Taken,    // the key edited the text or moved the cursor
        Refused,  // an editing key the input does not take here
        NotMine,  // not an editing key
    };

    InputEditor(std::string text, std::size_t maxLength, bool numeric);

    Result Handle(const ScreenKey& key);
    // Replaces the text (cut to the maximum length); the cursor goes to its end.
    void SetText(std::string text);
    void MoveHome() { cursor_ = 0; }

    const std::string& text() const { return text_; }
    std::size_t cursor() const { return cursor_; }
    // The first character to show in a field of this many cells, chosen so
    // that the cursor stays inside the field.
    std::size_t FirstShown(std::size_t width);

private:
    bool Accepts(char byte) const;

    std::string text_;
    std::size_t maxLength_;
    bool numeric_;
    std::size_t cursor_ = 0;
    std::size_t firstShown_ = 0;
};

}  // namespace refhost::screen
