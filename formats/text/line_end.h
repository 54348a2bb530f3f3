// How the host ends the lines of the text files it writes: CR LF on
// Windows, LF elsewhere. The INI writer and the host's file services share it.
#pragma once

namespace refhost {

#if defined(_WIN32)
inline constexpr char kLineEnd[] = "\r\n";
#else
inline constexpr char kLineEnd[] = "\n";
#endif

}  // namespace refhost
