// Keys as the host's screens take them: what the terminal library reports
// becomes a PC keyboard code (the code the host's windows and tables
// receive) or a typed character in Mazovia.
#pragma once

#include <cstdint>
#include <string>

namespace refhost::screen {

namespace pc {
inline constexpr uint16_t kEscape = 0x011B;
inline constexpr uint16_t kEnter = 0x1C0D;
inline constexpr uint16_t kTab = 0x0F09;
inline constexpr uint16_t kBackTab = 0x0F00;
inline constexpr uint16_t kBackspace = 0x0E08;
inline constexpr uint16_t kHome = 0x4700;
inline constexpr uint16_t kUp = 0x4800;
inline constexpr uint16_t kPageUp = 0x4900;
inline constexpr uint16_t kLeft = 0x4B00;
inline constexpr uint16_t kRight = 0x4D00;
inline constexpr uint16_t kEnd = 0x4F00;
inline constexpr uint16_t kDown = 0x5000;
inline constexpr uint16_t kPageDown = 0x5100;
inline constexpr uint16_t kInsert = 0x5200;
inline constexpr uint16_t kDelete = 0x5300;
inline constexpr uint16_t kCtrlC = 3;
inline constexpr uint16_t kCtrlF = 6;
inline constexpr uint16_t kCtrlG = 7;
inline constexpr uint16_t kCtrlV = 22;
inline constexpr uint16_t kCtrlZ = 26;
// F1 to F12.
uint16_t FunctionKey(int number);
}  // namespace pc

struct ScreenKey {
    enum class Kind {
        None,         // nothing arrived in time
        Resize,       // the terminal changed its size
        Code,         // a key with a PC keyboard code
        Text,         // a typed character: code is its Mazovia byte
        Unsupported,  // a key or character the host has no code for
    };
    Kind kind = Kind::None;
    uint16_t code = 0;
    bool alt = false;  // typed with Alt, or with ESC just before it

    bool Is(uint16_t pcCode) const { return kind == Kind::Code && code == pcCode; }
    bool IsText() const { return kind == Kind::Text; }
    char Byte() const { return static_cast<char>(code); }
};

// What the terminal library reported: a key code (isKeyCode) or a
// character, and whether Alt came with it. The library's key codes are
// its own numbers (KEY_F(1), KEY_UP, ...).
ScreenKey TranslateKey(bool isKeyCode, uint32_t value, bool alt);

}  // namespace refhost::screen
