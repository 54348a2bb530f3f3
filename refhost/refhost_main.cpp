// The refhost program: command line, one plug-in session, and the wait
// until the user or a signal stops it.
#include "refhost_main.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "plumbing/host.h"
#include "plumbing/system.h"
#include "screen/interactive.h"
#include "script/script_file.h"
#include "services/session.h"
#include "text/mazovia_utf8.h"

namespace refhost {

static const char kUsage[] =
    "usage: refhost [options]\n"
    "  --dir DIR              working directory of the host (default: current)\n"
    "  --plugin PATH          the plug-in to load (default: the one beside refhost)\n"
    "  --headless             no screen: print message boxes and notices (the default\n"
    "                         when stdin or stdout is not a terminal; otherwise the\n"
    "                         host shows its screens: contractor table and windows)\n"
    "  --trace                print one line per host service call\n"
    "  --show-log             print every line the plug-in appends to its day log\n"
    "  --run-for SECONDS      stop the plug-in after this time\n"
    "  --answer yes|no        the answer to the plug-in's questions (default yes)\n"
    "  --station N            the station number the host reports (default 1)\n"
    "  --user NAME            the current user's name (default ADMIN)\n"
    "  --clock \"YYYY-MM-DD HH:MM:SS\"  the host's clock stands at this moment\n"
    "  --clock-offset SECONDS this station's clock runs this many seconds ahead of the office's\n"
    "                        (or behind); the server's file times keep the office's\n"
    "  --script FILE          once started, run the script FILE, then stop (exit code 5\n"
    "                         when it fails; format in docs/reference-host.md)\n"
    "fault switches:\n"
    "  --fail-stream-opens N  the next N stream opens (service 52534) fail\n"
    "  --host-lock            the host holds a lock of its own while it calls the plug-in's\n"
    "                         window procedures and hooks, and takes it in every service\n"
    "  --lack-ordinal N       the host lacks service N (repeatable)\n"
    "  --features BITS        what the host control entry answers for (1, 1)\n"
    "  --host-date \"Mon dd yyyy\"  the host's own build date\n"
    "  --unreadable-dates     the host takes no text for a date\n"
    "  --interface-level N    the plug-in interface level the host reports\n"
    "  --table-size N         record size of table 35 (0: no such table)\n"
    "  --pause-divisor N      the plug-in's listener waits and pauses N times shorter\n"
    "  --no-sender-rate       the plug-in takes any number of datagrams a second from one\n"
    "                         sender (the benchmarks measure its filing at full speed)\n";

enum ExitCode { kExitOk = 0, kExitUsage = 2, kExitLoad = 3, kExitRefused = 4, kExitScriptFailed = 5 };

static bool ParseNumber(const char* text, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 0);
    return end != text && *end == '\0';
}

// The host's facts that the storage relies on: station, user, clock and
// the stream fault switch. Returns false with a message for a bad value.
static bool ParseHostFact(const std::string& option, const char* text, Options& options,
                          std::string& error) {
    long long number = 0;
    if (option == "--user") {
        options.user = text;
        return true;
    }
    if (option == "--clock") {
        CivilTime when{};
        if (!ParseCivilTime(text, when)) {
            error = "--clock takes a moment as \"YYYY-MM-DD HH:MM:SS\"";
            return false;
        }
        FixClock(when);
        return true;
    }
    if (!ParseNumber(text, number)) {
        error = option + " needs a number";
        return false;
    }
    if (option == "--station") options.station = static_cast<int>(number);
    if (option == "--clock-offset") SetClockOffset(number);
    if (option == "--fail-stream-opens") FailNextStreamCalls(StreamService::Open, static_cast<int>(number));
    return true;
}

// Returns false with a message for a command line it cannot take.
static bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        std::string option = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) return nullptr;
            return argv[++i];
        };
        long long number = 0;
        if (option == "--headless") {
            options.headless = true;
        } else if (option == "--show-log") {
            options.showAppends = true;
        } else if (option == "--unreadable-dates") {
            options.datesReadable = false;
        } else if (option == "--host-lock") {
            options.hostLock = true;
        } else if (option == "--no-sender-rate") {
            options.senderRateOff = true;
        } else if (option == "--trace") {
            options.trace = true;
        } else if (option == "--help" || option == "-h") {
            error.clear();
            return false;
        } else if (option == "--dir" || option == "--plugin" || option == "--host-date" ||
                   option == "--answer" || option == "--script") {
            const char* text = value();
            if (!text) {
                error = option + " needs a value";
                return false;
            }
            if (option == "--dir") options.dir = text;
            if (option == "--plugin") options.plugin = text;
            if (option == "--host-date") options.hostDate = text;
            if (option == "--script") options.script = text;
            if (option == "--answer") {
                if (std::strcmp(text, "yes") != 0 && std::strcmp(text, "no") != 0) {
                    error = "--answer takes yes or no";
                    return false;
                }
                options.answer = std::strcmp(text, "yes") == 0 ? 0x5009 : 0x5008;
            }
        } else if (option == "--run-for" || option == "--lack-ordinal" || option == "--features" ||
                   option == "--interface-level" || option == "--table-size" ||
                   option == "--pause-divisor") {
            const char* text = value();
            if (!text || !ParseNumber(text, number)) {
                error = option + " needs a number";
                return false;
            }
            if (option == "--run-for") options.runFor = static_cast<double>(number);
            if (option == "--lack-ordinal") {
                if (number <= 0 || number > 0xFFFF) {
                    error = "--lack-ordinal takes an ordinal from 1 to 65535";
                    return false;
                }
                options.lackOrdinals.insert(static_cast<unsigned>(number));
            }
            if (option == "--features") options.features = static_cast<uint32_t>(number);
            if (option == "--interface-level") options.interfaceLevel = static_cast<int>(number);
            if (option == "--table-size") options.tableSize = static_cast<int>(number);
            if (option == "--pause-divisor") {
                if (number < 1 || number > 1000) {
                    error = "--pause-divisor takes a number from 1 to 1000";
                    return false;
                }
                options.pauseDivisor = static_cast<int>(number);
            }
        } else if (option == "--station" || option == "--user" || option == "--clock" ||
                   option == "--clock-offset" || option == "--fail-stream-opens") {
            const char* text = value();
            if (!text) {
                error = option + " needs a value";
                return false;
            }
            if (!ParseHostFact(option, text, options, error)) return false;
        } else {
            error = "unknown option " + option;
            return false;
        }
    }
    return true;
}

// Set by Ctrl-C and termination requests, which are caught from the very
// start so that one arriving during the plug-in's start still stops it
// cleanly.
static std::atomic<bool> g_stopRequested{false};

static void WaitForStop(double runFor) {
    std::atomic<bool>& stopRequested = g_stopRequested;
    auto deadline = std::chrono::steady_clock::now() +
                    std::chrono::milliseconds(static_cast<long long>(runFor * 1000));
    while (!stopRequested.load()) {
        if (runFor >= 0 && std::chrono::steady_clock::now() >= deadline) break;
        SleepMilliseconds(50);
    }
}

// A relative path made to name the same file once the host has entered
// its directory; the path as given when it cannot be made absolute.
static std::string PathFromStartDirectory(const std::string& path) {
    std::error_code failed;
    std::filesystem::path absolute = std::filesystem::absolute(path, failed);
    return failed ? path : absolute.string();
}

extern "C" int RefhostMain(int argc, char** argv) {
    InstallStopHandlers(&g_stopRequested);
    Options& options = HostOptions();
    std::string error;
    if (!ParseOptions(argc, argv, options, error)) {
        if (!error.empty()) std::fprintf(stderr, "refhost: %s\n", error.c_str());
        std::fputs(kUsage, error.empty() ? stdout : stderr);
        return error.empty() ? kExitOk : kExitUsage;
    }
    // The script is read before the host enters its directory, so that its
    // path means what it meant on the command line.
    std::optional<Script> script;
    if (!options.script.empty() && !(script = LoadScriptFile(options.script, error))) {
        std::fprintf(stderr, "refhost: %s\n", error.c_str());
        return kExitUsage;
    }
    std::string plugin = options.plugin.empty()
                             ? ExecutableDirectory() + "/" + DefaultPluginName()
                             : options.plugin;
    // Likewise the plug-in's path, which is loaded from inside the directory.
    std::string pluginToLoad = PathFromStartDirectory(plugin);
    if (!ChangeDirectory(options.dir)) {
        std::fprintf(stderr, "refhost: cannot enter the directory %s\n", options.dir.c_str());
        return kExitUsage;
    }
    if (!ApplyLoadFaults(error)) {
        std::fprintf(stderr, "refhost: %s\n", error.c_str());
        return kExitUsage;
    }
    PluginSession session;
    if (!session.Load(pluginToLoad, error)) {
        std::fprintf(stderr, "refhost: cannot load the plug-in %s: %s\n", plugin.c_str(),
                     error.c_str());
        return kExitLoad;
    }
    if (session.Start() != 0) {
        session.ReportFailure();
        PrintLine("refhost: the plug-in refused to start");
        return kExitRefused;
    }
    PrintLine("refhost: started \"" + MazoviaToUtf8(session.name()) + "\"");
    // In a terminal the host shows its screens, the plug-in's notice among them.
    if (!options.headless && !script && InteractiveAvailable()) {
        auto started = std::chrono::steady_clock::now();
        auto stopDue = [&] {
            return g_stopRequested.load() ||
                   (options.runFor >= 0 &&
                    std::chrono::steady_clock::now() - started >= std::chrono::duration<double>(options.runFor));
        };
        int code = RunInteractive(session, stopDue);
        PrintLine("refhost: stopped");
        return code;
    }
    session.ShowNotice();
    if (script) {
        bool passed = RunScriptFile(std::move(*script), session);
        session.Stop();
        PrintLine("refhost: stopped");
        return passed ? kExitOk : kExitScriptFailed;
    }
    WaitForStop(options.runFor);
    session.Stop();
    PrintLine("refhost: stopped");
    return kExitOk;
}

}  // namespace refhost
