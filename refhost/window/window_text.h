// Control texts made readable: the accelerator tildes ("~W~ybierz") and
// the key label markup of buttons ("\x05F12\x01 Wyjdz") are how the host
// draws them, not what a person reads.
#pragma once

#include <string>
#include <string_view>

namespace refhost {

// UTF-8 text of a control: "Wybierz", "F12 Wyjdz".
std::string ReadableControlText(std::string_view mazovia);

}  // namespace refhost
