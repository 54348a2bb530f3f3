// Key names and codes. Named keys are matched without regard to case; a
// single character stands for itself, so "1" is the digit key (0x31), not
// the code 1, and codes are written in hexadecimal ("0x3F00") to keep the
// two apart.
#include "window/window_keys.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace refhost {
namespace {

struct NamedKey {
    const char* name;
    uint16_t code;
};

constexpr NamedKey kNamedKeys[] = {
    {"ESC", kKeyEscape}, {"Escape", kKeyEscape}, {"Enter", 0x1C0D}, {"Tab", 0x0F09},
    {"Backspace", 0x0E08}, {"Space", 0x3920},
    {"F1", 0x3B00}, {"F2", 0x3C00}, {"F3", 0x3D00}, {"F4", 0x3E00}, {"F5", 0x3F00},
    {"F6", 0x4000}, {"F7", 0x4100}, {"F8", 0x4200}, {"F9", 0x4300}, {"F10", 0x4400},
    {"F11", 0x8500}, {"F12", kKeyF12},
    {"Home", 0x4700}, {"Up", 0x4800}, {"PgUp", 0x4900}, {"Left", 0x4B00}, {"Right", 0x4D00},
    {"End", 0x4F00}, {"Down", 0x5000}, {"PgDn", 0x5100}, {"Ins", 0x5200}, {"Del", 0x5300},
};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

std::optional<uint16_t> HexCode(std::string_view text) {
    if (text.size() < 3 || text.size() > 6 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return std::nullopt;
    for (char c : text.substr(2))
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return static_cast<uint16_t>(std::strtoul(std::string(text.substr(2)).c_str(), nullptr, 16));
}

}  // namespace

std::optional<uint16_t> KeyFromName(std::string_view name) {
    if (name.size() == 1 && static_cast<unsigned char>(name[0]) >= 0x20 &&
        static_cast<unsigned char>(name[0]) < 0x7F)
        return static_cast<uint16_t>(name[0]);
    for (const NamedKey& key : kNamedKeys)
        if (SameIgnoringCase(name, key.name)) return key.code;
    if (name.size() == 6 && SameIgnoringCase(name.substr(0, 5), "Ctrl-") &&
        std::isalpha(static_cast<unsigned char>(name[5])))
        return static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(name[5])) - 'A' + 1);
    return HexCode(name);
}

std::string KeyName(uint16_t key) {
    for (const NamedKey& named : kNamedKeys)
        if (named.code == key) return named.name;
    if (key >= 1 && key <= 26) return std::string("Ctrl-") + static_cast<char>('A' + key - 1);
    if (key > 0x20 && key < 0x7F) return std::string("'") + static_cast<char>(key) + "'";
    char code[8];
    std::snprintf(code, sizeof code, "0x%04X", key);
    return code;
}

bool HotkeyCatches(uint16_t hotkey, uint16_t key) {
    if (hotkey == 0) return false;
    if (hotkey == key) return true;
    bool plainCharacters = hotkey < 0x100 && key < 0x100;
    return plainCharacters && std::isalpha(hotkey) && std::tolower(hotkey) == std::tolower(key);
}

}  // namespace refhost
