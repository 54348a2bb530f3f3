// The settings services: 52224 keeps the host's own settings in MERLOX.INI
// in the working directory; 41399 reads and writes the INI file it is
// given by name. Mode 8 reads a key into the caller's fields as the format
// describes them, mode 9 writes the text the format makes of the values.
// A damaged file or value is reported on the console and leaves the
// caller's fields as they were.
#include <cctype>
#include <cstdarg>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "plumbing/host.h"
#include "ini/ini_file.h"
#include "plumbing/host_lock.h"
#include "plumbing/ini_value.h"
#include "services/services.h"
#include "text/mazovia_utf8.h"

using namespace refhost;

namespace {

constexpr int kModeRead = 8;
constexpr int kModeWrite = 9;
constexpr char kHostSettingsFile[] = "MERLOX.INI";

bool SameName(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b)
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
    return *a == *b;
}

// The host knows the records its settings fill: the plug-in's "Pytaj"
// value lands in three 16-bit fields and one 32-bit field. Numbers of keys
// it does not know are stored as 32-bit fields.
std::vector<int> NumberWidthsOf(const std::string& file, const char* section, const char* key) {
    if (file == kHostSettingsFile && SameName(section, "Ornitel") && SameName(key, "Pytaj"))
        return {2, 2, 2, 4};
    return {};
}

std::mutex g_iniMutex;

void Report(const std::string& file, const std::string& what) {
    PrintLine("refhost: " + file + ": " + what);
}

IniFile ReadReporting(const std::string& file) {
    std::vector<std::string> problems;
    IniFile ini = IniFile::Read(HostPath(file), problems);
    for (const std::string& problem : problems) Report(file, problem);
    return ini;
}

// Returns 1 when every field was read, 0 when the fields were left alone.
int ReadKey(const std::string& file, const char* section, const char* key, const char* format,
            va_list arguments) {
    va_list list;
    va_copy(list, arguments);
    std::vector<IniTarget> targets;
    std::string problem;
    bool collected = CollectTargets(format, &list, NumberWidthsOf(file, section, key), targets, problem);
    va_end(list);
    std::string where = std::string("[").append(section).append("] ").append(key);
    if (!collected) {
        Report(file, where + ": the format \"" + format + "\" cannot be read: " + problem);
        return 0;
    }
    std::lock_guard lock(g_iniMutex);
    std::optional<std::string> value = ReadReporting(file).Get(section, key);
    if (!value) return 0;  // a key not yet written is no fault
    bool cut = false;
    if (!ScanIntoTargets(*value, format, targets, problem, cut)) {
        Report(file, where + "=" + MazoviaToUtf8(*value) + " does not match \"" + format + "\": " + problem +
                         "; the values in use stay as they were");
        return 0;
    }
    if (cut) Report(file, where + " holds a longer text than the reader takes; it was cut");
    return 1;
}

// Returns 1 when the value was stored, 0 when the file could not be written.
int WriteKey(const std::string& file, const char* section, const char* key, const char* format,
             va_list arguments) {
    std::string value = FormatValue(format, arguments);
    std::lock_guard lock(g_iniMutex);
    IniFile ini = ReadReporting(file);
    ini.Set(section, key, value);
    std::string error;
    if (ini.Write(HostPath(file), error)) return 1;
    Report(file, error);
    return 0;
}

// The arguments after the format as the trace shows them: a read passes
// addresses (and the width of a "%*s"), a write the values themselves.
std::string DescribeArguments(int mode, const char* format, va_list arguments) {
    va_list list;
    va_copy(list, arguments);
    std::string described;
    for (const char* c = format ? format : ""; *c; ++c) {
        if (*c != '%') continue;
        if (*++c == '%') continue;
        if (*c == '*') {
            described += ", " + std::to_string(va_arg(list, int));
            ++c;
        }
        while (*c && std::strchr("0123456789hl", *c)) ++c;
        if (!*c) break;
        if (mode == kModeRead) {
            described += ", " + TraceAddress(va_arg(list, void*));
        } else if (*c == 's') {
            const char* text = va_arg(list, const char*);
            described += std::string(", \"") + (text ? text : "") + "\"";
        } else {
            described += ", " + std::to_string(va_arg(list, int));
        }
    }
    va_end(list);
    return described;
}

int AccessKey(unsigned ordinal, const std::string& file, int mode, const char* section, const char* key,
              const char* format, va_list arguments) {
    std::string described = (mode == kModeRead || mode == kModeWrite) ? DescribeArguments(mode, format, arguments) : "";
    if (ordinal == 52224)
        Trace(ordinal, "%d, \"%s\", \"%s\", \"%s\"%s", mode, section ? section : "", key ? key : "",
              format ? format : "", described.c_str());
    else
        Trace(ordinal, "\"%s\", %d, \"%s\", \"%s\", \"%s\"%s", file.c_str(), mode, section ? section : "",
              key ? key : "", format ? format : "", described.c_str());
    if (!section || !key || !format) return 0;
    if (mode == kModeRead) return ReadKey(file, section, key, format, arguments);
    if (mode == kModeWrite) return WriteKey(file, section, key, format, arguments);
    Report(file, "mode " + std::to_string(mode) + " is neither 8 (read) nor 9 (write); nothing done");
    return 0;
}

}  // namespace

extern "C" {

int HOSTVA ordinal_52224(int mode, const char* section, const char* key, const char* format,
                         va_list arguments) {
    HostLockScope held(52224);
    return AccessKey(52224, kHostSettingsFile, mode, section, key, format, arguments);
}

int HOSTVA ordinal_41399(const char* file, int mode, const char* section, const char* key,
                         const char* format, va_list arguments) {
    HostLockScope held(41399);
    if (!file || !*file) return 0;
    return AccessKey(41399, file, mode, section, key, format, arguments);
}

}  // extern "C"
