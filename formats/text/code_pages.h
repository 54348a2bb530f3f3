// The host's code conversions. Code 1 is the host's own code page,
// Mazovia; code 3 is Windows-1250; code 6 is ISO 8859-2. Each is a byte
// permutation of Mazovia: the characters the two code pages share change
// place, the bytes left over are paired in ascending order, and ASCII
// stays. So every conversion among them can be undone byte for byte.
// Bytes of any other code pass unchanged.
#pragma once

#include <string>
#include <string_view>

namespace refhost {

inline constexpr int kCodeMazovia = 1;
inline constexpr int kCodeWindows1250 = 3;
inline constexpr int kCodeLatin2 = 6;

bool IsKnownCode(int code);
char ConvertCodeByte(char byte, int from, int to);
std::string ConvertCodes(std::string_view text, int from, int to);

}  // namespace refhost
