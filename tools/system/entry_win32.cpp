// The entry on Windows: the arguments arrive in UTF-16 (wmain), so that a
// path such as "Program Księgowy" or a text such as "Zażółć gęślą" comes
// through whole whatever the ANSI code page, and go on in UTF-8.
#include <windows.h>

#include <string>
#include <vector>

#include "callerid.h"

namespace {

std::string Utf8(const wchar_t* wide) {
    int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return {};
    std::string utf8(static_cast<std::size_t>(size - 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8.data(), size, nullptr, nullptr);
    return utf8;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> texts;
    for (int i = 0; i < argc; ++i) texts.push_back(Utf8(argv[i]));
    std::vector<char*> arguments;
    for (std::string& text : texts) arguments.push_back(text.data());
    arguments.push_back(nullptr);
    return CalleridMain(argc, arguments.data());
}
