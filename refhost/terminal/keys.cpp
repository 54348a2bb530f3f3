// The terminal library's keys and characters as PC keyboard codes.
#include "terminal/keys.h"

#include <curses.h>

#include "terminal/terminal_text.h"
#include "text/mazovia_utf8.h"

namespace refhost::screen {

uint16_t pc::FunctionKey(int number) {
    if (number >= 1 && number <= 10) return static_cast<uint16_t>((0x3A + number) << 8);
    if (number == 11) return 0x8500;
    if (number == 12) return 0x8600;
    return 0;
}

namespace {

ScreenKey Code(uint16_t code, bool alt = false) { return {ScreenKey::Kind::Code, code, alt}; }
ScreenKey Unsupported() { return {ScreenKey::Kind::Unsupported, 0, false}; }

ScreenKey FromKeyCode(uint32_t value) {
    struct Named {
        int library;
        uint16_t code;
    };
    static const Named kNamed[] = {
        {KEY_UP, pc::kUp},         {KEY_DOWN, pc::kDown},       {KEY_LEFT, pc::kLeft},
        {KEY_RIGHT, pc::kRight},   {KEY_HOME, pc::kHome},       {KEY_END, pc::kEnd},
        {KEY_PPAGE, pc::kPageUp},  {KEY_NPAGE, pc::kPageDown},  {KEY_IC, pc::kInsert},
        {KEY_DC, pc::kDelete},     {KEY_BACKSPACE, pc::kBackspace}, {KEY_BTAB, pc::kBackTab},
        {KEY_ENTER, pc::kEnter},
    };
    if (value == static_cast<uint32_t>(KEY_RESIZE)) return {ScreenKey::Kind::Resize, 0, false};
    for (int number = 1; number <= 12; ++number)
        if (value == static_cast<uint32_t>(KEY_F(number))) return Code(pc::FunctionKey(number));
    for (const Named& named : kNamed)
        if (value == static_cast<uint32_t>(named.library)) return Code(named.code);
    return Unsupported();
}

}  // namespace

ScreenKey TranslateKey(bool isKeyCode, uint32_t value, bool alt) {
    if (isKeyCode) return FromKeyCode(value);
    switch (value) {
        case 27: return Code(pc::kEscape);
        case '\r':
        case '\n': return Code(pc::kEnter, alt);
        case '\t': return Code(pc::kTab, alt);
        case 8:
        case 127: return Code(pc::kBackspace, alt);
        default: break;
    }
    if (value >= 1 && value <= 26) return Code(static_cast<uint16_t>(value), alt);
    if (value < 0x20) return Unsupported();
    std::string byte;
    if (!TypedToMazovia(Utf8Of(static_cast<char32_t>(value)), byte)) return Unsupported();
    return {ScreenKey::Kind::Text, static_cast<uint8_t>(byte[0]), alt};
}

}  // namespace refhost::screen
