// callerid send: one caller-ID datagram as the box sends it, or raw bytes.
#pragma once

#include <string>
#include <string_view>

// args are the words after the command name.
int RunSendCommand(int argc, char** args);

// The datagram of one call: phone, target and text as fields 0, 1 and 4,
// fields 2 and 3 empty.
std::string CallDatagram(std::string_view phone, std::string_view target, std::string_view text);

// Resolves \t, \r, \n, \0, \\ and \xHH; false (with the reason) on a
// broken escape.
bool Unescape(std::string_view text, std::string& bytes, std::string& error);
