// callerid-uninstall.exe: starts the setup's uninstaller (callerid-remove.exe
// beside it) on the install folder and waits for it, so that whoever started the
// uninstall gets its exit code and, in its console, its reason, however the
// folder was given: "_?=C:\Program Files\X" quoted, as Wine and many
// scripts pass an argument with blanks, or _?=C:\Program Files\X unquoted,
// or not at all (the folder of this program). Started any other way, the
// uninstaller would copy itself to the temporary folder, start the copy and
// end at once with 0, the copy's refusal seen by no one.
//
// Once the uninstaller has removed the plug-in (exit code 0, or 3 when a
// firewall rule stayed), its program goes, and this one, which Windows cannot delete while it runs, is removed
// at the next restart.
#include <windows.h>

#include <string>

namespace {

constexpr wchar_t kUninstaller[] = L"callerid-remove.exe";

// The folder of this program, without a final backslash.
std::wstring OwnFolder() {
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// What follows the program's name on its command line.
std::wstring Arguments() {
    const wchar_t* line = GetCommandLineW();
    bool quoted = false;
    for (; *line && (quoted || (*line != L' ' && *line != L'\t')); ++line)
        if (*line == L'"') quoted = !quoted;
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

// Takes _?=FOLDER out of arguments, quoted or not (unquoted it runs to the
// end of the line, as the uninstaller reads it); empty when there is none.
std::wstring TakeFolder(std::wstring& arguments) {
    std::size_t at = arguments.find(L"_?=");
    if (at == std::wstring::npos) return {};
    std::wstring folder;
    if (at > 0 && arguments[at - 1] == L'"') {
        std::size_t end = arguments.find(L'"', at);
        folder = arguments.substr(at + 3, end == std::wstring::npos ? std::wstring::npos : end - at - 3);
        arguments.erase(at - 1, end == std::wstring::npos ? std::wstring::npos : end - at + 2);
    } else {
        folder = arguments.substr(at + 3);
        arguments.erase(at);
    }
    while (folder.size() > 3 && folder.back() == L'\\') folder.pop_back();
    while (!arguments.empty() && arguments.back() == L' ') arguments.pop_back();
    return folder;
}

// One line on the console this program was started from, if any.
void Say(const std::wstring& line) {
    HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE) {
        AttachConsole(ATTACH_PARENT_PROCESS);
        error = GetStdHandle(STD_ERROR_HANDLE);
    }
    if (error == nullptr || error == INVALID_HANDLE_VALUE) return;
    std::wstring text = line + L"\r\n";
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(error, &mode)) {
        WriteConsoleW(error, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
        return;
    }
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
    WriteFile(error, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, wchar_t*, int) {
    std::wstring arguments = Arguments();
    std::wstring folder = TakeFolder(arguments);
    if (folder.empty()) folder = OwnFolder();
    std::wstring program = OwnFolder() + L"\\" + kUninstaller;
    // _?= last and unquoted: the uninstaller takes the rest of the line.
    std::wstring commandLine = L"\"" + program + L"\" " + arguments + (arguments.empty() ? L"" : L" ") + L"_?=" + folder;

    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                        &process)) {
        Say(L"callerid uninstall: " + program + L" cannot be started (error " + std::to_wstring(GetLastError()) +
            L"). Nothing was removed.");
        return 2;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if ((code == 0 || code == 3) && GetFileAttributesW((folder + L"\\callerid.dll").c_str()) == INVALID_FILE_ATTRIBUTES) {
        DeleteFileW(program.c_str());
        wchar_t self[MAX_PATH] = {};
        if (GetModuleFileNameW(nullptr, self, MAX_PATH)) MoveFileExW(self, nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
    }
    return static_cast<int>(code);
}
