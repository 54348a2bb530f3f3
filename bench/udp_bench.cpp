// udp_bench: the UDP caller-ID service on loopback, measured against a
// floor. The plug-in runs in the reference host (a process of its own, the
// wall clock, the log option on); the floor is a minimal receive-and-write
// loop in another process doing the same file work per call: the same six
// appended day-log lines and the same read and rewrite of the 5620-byte
// slot file. Both are driven the same way and their figures compared.
//
// Then a restart storm: calls keep coming while restarts follow each other,
// and the calls missing from each day log are counted. Last, the plug-in's
// code in this process (bound to the reference host's services, as the unit
// tests hold it) measures how long the port is without a socket when a
// restart hands it from the old socket to the new one.
//
// Last, it times the host's stop while a restart hands the port over under
// a flood of calls.
//
//   udp_bench [--samples N] [--idle SECONDS] [--root DIR] [--only stops]
#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <signal.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <functional>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "host/imports.h"
#include "plugin/frame.h"
#include "plumbing/host.h"
#include "storage/call_record.h"
#include "storage/settings.h"
#include "loopback_sender.h"
#include "support/free_udp_port.h"
#include "udp/listener.h"

namespace {

using test::FreeUdpPort;

using Clock = std::chrono::steady_clock;

// The record layout is the plug-in's own.
constexpr int kRecordSize = static_cast<int>(sizeof(CallRecord));
constexpr int kPhoneOffset = static_cast<int>(offsetof(CallRecord, phone));
constexpr int kTargetOffset = static_cast<int>(offsetof(CallRecord, target));
constexpr int kDateOffset = static_cast<int>(offsetof(CallRecord, date));
constexpr int kTimeOffset = static_cast<int>(offsetof(CallRecord, time));
constexpr char kSlotFile[] = "LOGS/TELEFONY/CLIP.DAT";
constexpr char kLockFile[] = "LOGS/TELEFONY/CLIP.DAT.lck";

double Microseconds(Clock::duration d) {
    return std::chrono::duration<double, std::micro>(d).count();
}

std::string TodayLogName() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char name[64];
    std::snprintf(name, sizeof name, "LOGS/TELEFONY/%02d-%02d-%04d.LOG", local.tm_mday,
                  local.tm_mon + 1, local.tm_year + 1900);
    return name;
}

// ---------------------------------------------------------------- the floor

// What an event line starts with: the date and time of now, the computer,
// the station and the user, as the plug-in's lines carry them.
std::string EventStamp() {
    static const std::string computer = [] {
        char name[256] = {};
        gethostname(name, sizeof name - 1);
        return std::string(name);
    }();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[64];
    std::strftime(stamp, sizeof stamp, "%d.%m.%Y %H:%M:%S ", &local);
    return stamp + computer + ":s=1:u=ADMIN ";
}

void AppendLine(const std::string& path, const std::string& line) {
    mkdir("LOGS", 0777);
    mkdir("LOGS/TELEFONY", 0777);
    FILE* stream = std::fopen(path.c_str(), "ab");
    if (!stream) return;
    std::fwrite(line.data(), 1, line.size(), stream);
    std::fputc('\n', stream);
    std::fclose(stream);
}

std::string Field(const std::string& text, int index) {
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find('\t', start);
        if (start == std::string::npos) return "";
        ++start;
    }
    return text.substr(start, text.find('\t', start) - start);
}

// The least correct slot update: under the stations' lock (a lock file
// kept open, locked for the turn), the file read whole and the one
// record that changed written whole in one write at its offset, with the
// event lines in the places where the plug-in's slot update writes them.
void FileInSlot(const std::string& log, const std::string& phone,
                const std::string& target, const std::string& text) {
    static int lockFile = open(kLockFile, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (flock(lockFile, LOCK_EX) != 0) return;
    char image[kSlotCount * kRecordSize] = {};
    int file = open(kSlotFile, O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (file < 0) {
        flock(lockFile, LOCK_UN);
        return;
    }
    ssize_t got = read(file, image, sizeof image);
    AppendLine(log, EventStamp() + "Otwarto plik telefonow (aktualizacja - zapis)");
    int slot = -1;
    for (int i = 0; i < kSlotCount && slot < 0; ++i)
        if (target == image + i * kRecordSize + kTargetOffset) slot = i;
    for (int i = 0; i < kSlotCount && slot < 0; ++i)
        if (image[i * kRecordSize + kTargetOffset] == '\0') slot = i;
    if (slot >= 0) {
        char* record = image + slot * kRecordSize;
        std::memset(record, 0, kRecordSize);
        std::snprintf(record, kPhoneOffset, "%s", text.c_str());
        std::snprintf(record + kPhoneOffset, 21, "%s", phone.c_str());
        std::snprintf(record + kTargetOffset, 21, "%s", target.c_str());
        std::snprintf(record + kDateOffset, 11, "%s", "01.03.2024");
        std::snprintf(record + kTimeOffset, 9, "%s", "10:00:00");
        AppendLine(log, EventStamp() + "Slot nr " + std::to_string(slot) + " wpisanie telefonu: " + phone +
                            " - > " + target);
        // A file shorter than ten slots is written whole.
        if (got < static_cast<ssize_t>(sizeof image)) {
            for (int i = 0; i < kSlotCount; ++i)
                if (pwrite(file, image + i * kRecordSize, kRecordSize, i * kRecordSize) != kRecordSize) break;
        } else if (pwrite(file, record, kRecordSize, slot * kRecordSize) != kRecordSize) {
            std::fprintf(stderr, "floor: a slot write failed\n");
        }
    }
    close(file);
    flock(lockFile, LOCK_UN);
}

// The receive queue that the listener asks for (64 datagrams of 1024
// bytes, with as much again for the system's bookkeeping), asked for the
// same way: only when the system gives less. The result is what the
// system reports.
constexpr int kListenerQueueBytes = 64 * 2 * 1024;

int EnlargeQueue(int fd) {
    int bytes = 0;
    socklen_t length = sizeof bytes;
    getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
    if (bytes / 2 < kListenerQueueBytes) {
        setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &kListenerQueueBytes, sizeof kListenerQueueBytes);
        getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &bytes, &length);
    }
    return bytes;
}

[[noreturn]] void RunFloor(int port) {
    // The listener's receive queue, so that both lose calls at the same depth.
    int fd = socket(AF_INET, SOCK_DGRAM, 0);
    EnlargeQueue(fd);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) _exit(1);
    char buffer[1024];
    for (;;) {
        ssize_t length = recv(fd, buffer, sizeof buffer - 1, 0);
        if (length <= 0) continue;
        std::string text(buffer, static_cast<std::size_t>(length));
        std::string phone = Field(text, 0), target = Field(text, 1), note = Field(text, 4);
        std::string log = TodayLogName();
        std::string stamp = EventStamp();
        AppendLine(log, stamp + "R[127.0.0.1]:" + text);
        std::string received = stamp.substr(0, 19);
        received[10] = '\t';
        AppendLine(log, received + "\t" + phone + "\t" + target + "\t" + note + "\t");
        FileInSlot(log, phone, target, note);
        AppendLine(log, EventStamp() + "Zapisano informacje do pliku LOGS\\TELEFONY\\CLIP.DAT");
        AppendLine(log, EventStamp() + "Zapis");
    }
}

// ------------------------------------------------------------- the targets

struct Target {
    std::string name;
    std::string dir;
    int port = 0;
    pid_t pid = -1;
};

// Where the two working directories are made (--root).
std::string g_root = "/tmp";

std::string MakeDirectory(const std::string& name) {
    std::string pattern = g_root + "/callerid-bench-XXXXXX";
    std::string dir = mkdtemp(pattern.data());
    dir += "/" + name;
    mkdir(dir.c_str(), 0777);
    return dir;
}

// A pause divisor above 1 shortens the listener's pauses (the restart's
// 5 s becomes 5000 / divisor ms).
Target StartPlugin(int pauseDivisor = 1) {
    Target t{"plug-in", MakeDirectory("plugin"), FreeUdpPort()};
    std::ofstream(t.dir + "/MERLOX.INI") << "[Ornitel]\nPytaj=1,4,0," << t.port << "\n";
    t.pid = fork();
    if (t.pid == 0) {
        if (chdir(t.dir.c_str()) != 0) _exit(1);
        std::freopen("/dev/null", "w", stdout);
        std::string divisor = std::to_string(pauseDivisor);
        // The filing path at full speed: one sender's rate is not held to
        // what a box may send (the flood bench measures that cap).
        execl(CALLERID_REFHOST_PATH, CALLERID_REFHOST_PATH, "--headless", "--no-sender-rate", "--pause-divisor",
              divisor.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    return t;
}

Target StartFloor() {
    Target t{"floor", MakeDirectory("floor"), FreeUdpPort()};
    mkdir((t.dir + "/LOGS").c_str(), 0777);
    mkdir((t.dir + "/LOGS/TELEFONY").c_str(), 0777);
    t.pid = fork();
    if (t.pid == 0) {
        if (chdir(t.dir.c_str()) != 0) _exit(1);
        RunFloor(t.port);
    }
    return t;
}

void Stop(Target& t) {
    if (t.pid <= 0) return;
    kill(t.pid, SIGTERM);
    waitpid(t.pid, nullptr, 0);
    t.pid = -1;
    std::string parent = t.dir.substr(0, t.dir.rfind('/'));
    std::string command = "rm -rf '" + parent + "'";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", parent.c_str());
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WaitForText(const std::string& path, const std::string& text, int seconds) {
    auto deadline = Clock::now() + std::chrono::seconds(seconds);
    while (Clock::now() < deadline) {
        if (ReadFile(path).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

using Sender = bench::LoopbackSender;

// Every call of the run has a phone of its own, so none is a repeat.
long long g_nextPhone = 500000000;

std::string NextCall(std::string& phone) {
    phone = std::to_string(g_nextPhone++);
    std::string target = "T" + std::to_string(g_nextPhone % kSlotCount);
    return phone + "\t" + target + "\t\t\tFirma Benchmark NIP:1234567890";
}

bool SlotFileHolds(const std::string& path, const std::string& phone) {
    char image[kSlotCount * kRecordSize];
    FILE* stream = std::fopen(path.c_str(), "rb");
    if (!stream) return false;
    std::size_t got = std::fread(image, 1, sizeof image, stream);
    std::fclose(stream);
    for (std::size_t i = 0; i + kRecordSize <= got; i += kRecordSize)
        if (phone == std::string(image + i + kPhoneOffset, strnlen(image + i + kPhoneOffset, 21)))
            return true;
    return false;
}

struct Latency {
    double p50 = 0, p99 = 0, max = 0;
};

// From the send to the moment the slot file holds the call, one call at a time.
double TimeOneCall(const Target& t, Sender& sender) {
    std::string phone;
    std::string call = NextCall(phone);
    std::string slotFile = t.dir + "/" + kSlotFile;
    auto sent = Clock::now();
    sender.Send(t.port, call);
    // Looking at the file without pause for the usual time of a call, then
    // every 50 us, so that a slow call does not have the watcher competing
    // with the listener for the processor.
    while (!SlotFileHolds(slotFile, phone)) {
        auto waited = Clock::now() - sent;
        if (waited < std::chrono::microseconds(300)) continue;
        if (waited > std::chrono::seconds(5)) {
            std::fprintf(stderr, "%s: call %s never reached the slot file\n", t.name.c_str(), phone.c_str());
            break;
        }
        std::this_thread::sleep_for(std::chrono::microseconds(50));
    }
    return Microseconds(Clock::now() - sent);
}

Latency Percentiles(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times[times.size() * 99 / 100], times.back()};
}

// The two targets take turns call by call, so that whatever else the
// machine does weighs on both alike.
std::pair<Latency, Latency> MeasureLatency(const Target& a, const Target& b, int samples) {
    Sender sender;
    std::vector<double> first, second;
    for (int i = 0; i < samples + 100; ++i) {
        double timeA = TimeOneCall(a, sender);
        double timeB = TimeOneCall(b, sender);
        if (i < 100) continue;   // a warm-up
        first.push_back(timeA);
        second.push_back(timeB);
    }
    return {Percentiles(first), Percentiles(second)};
}

// The file operations per filed call: the target's system calls traced
// (strace -f -y, which names the file behind each descriptor) while calls
// are filed one at a time; those on the slot file and its lock file, and
// those on any file of the data folder, the day log's lines included.
struct FileOps {
    double slotAndLock = 0, all = 0;
    bool traced = false;
};

FileOps CountFileOps(const Target& t, int calls) {
    std::string out = t.dir + "/../strace.txt";
    pid_t tracer = fork();
    if (tracer == 0) {
        std::string pid = std::to_string(t.pid);
        std::freopen("/dev/null", "w", stderr);
        execlp("strace", "strace", "-f", "-y", "-e", "trace=%file,%desc", "-o", out.c_str(), "-p", pid.c_str(),
               static_cast<char*>(nullptr));
        _exit(127);
    }
    // strace has attached once it has written its first lines (the
    // listener wakes every 100 ms).
    WaitForText(out, "(", 5);
    Sender sender;
    for (int i = 0; i < calls; ++i) TimeOneCall(t, sender);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    kill(tracer, SIGINT);
    int status = 0;
    waitpid(tracer, &status, 0);
    FileOps ops;
    std::ifstream trace(out);
    long long slot = 0, all = 0;
    for (std::string line; std::getline(trace, line);) {
        if (line.find("resumed>") != std::string::npos) continue;   // counted where it began
        if (line.find("CLIP.DAT") != std::string::npos) ++slot;
        if (line.find("LOGS") != std::string::npos || line.find("TELEFONY") != std::string::npos) ++all;
    }
    ops.traced = all > 0;
    ops.slotAndLock = static_cast<double>(slot) / calls;
    ops.all = static_cast<double>(all) / calls;
    std::remove(out.c_str());
    return ops;
}

// Reads a growing day log from where the last look ended and counts the
// lines that a rule picks.
class GrowingLogCounter {
public:
    GrowingLogCounter(std::string path, std::function<bool(const std::string&)> counts)
        : path_(std::move(path)), counts_(std::move(counts)) {}
    long long Count() {
        FILE* stream = std::fopen(path_.c_str(), "rb");
        if (!stream) return count_;
        std::fseek(stream, offset_, SEEK_SET);
        char buffer[1 << 16];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, stream)) > 0) {
            offset_ += static_cast<long>(got);
            for (std::size_t i = 0; i < got; ++i) {
                if (buffer[i] != '\n') {
                    line_ += buffer[i];
                    continue;
                }
                if (counts_(line_)) ++count_;
                line_.clear();
            }
        }
        std::fclose(stream);
        return count_;
    }

private:
    std::string path_;
    std::function<bool(const std::string&)> counts_;
    long offset_ = 0;
    std::string line_;
    long long count_ = 0;
};

// The call lines are those without an event line's ":u=".
GrowingLogCounter CountCallLines(std::string path) {
    return GrowingLogCounter(std::move(path),
                             [](const std::string& line) { return line.find(":u=") == std::string::npos; });
}

// The lines that hold a text.
GrowingLogCounter CountLinesHolding(std::string path, std::string text) {
    return GrowingLogCounter(std::move(path),
                             [text = std::move(text)](const std::string& line) { return line.find(text) != std::string::npos; });
}

struct Flood {
    int rate = 0;
    long long sent = 0, recorded = 0;
    double seconds = 0;   // from the first send to the last call recorded
};

// Sends calls evenly at the rate for about two seconds and counts the
// calls that reach the day log.
Flood RunFlood(const Target& t, GrowingLogCounter& counter, int rate) {
    Sender sender;
    Flood flood{rate, rate * 2LL, 0, 0};
    long long before = counter.Count();
    auto start = Clock::now();
    auto interval = std::chrono::nanoseconds(1000000000LL / rate);
    for (long long i = 0; i < flood.sent; ++i) {
        while (Clock::now() < start + i * interval) {
        }
        std::string phone;
        sender.Send(t.port, NextCall(phone));
    }
    auto lastProgress = Clock::now();
    long long seen = before;
    while (seen - before < flood.sent && Clock::now() - lastProgress < std::chrono::seconds(2)) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        long long now = counter.Count();
        if (now != seen) lastProgress = Clock::now();
        seen = now;
    }
    flood.recorded = seen - before;
    flood.seconds = std::chrono::duration<double>(lastProgress - start).count();
    return flood;
}

// The highest of the offered rates at which the median of three floods
// loses no call (one disk stall in one flood does not decide it), for each
// target; the targets take turns flood by flood.
std::pair<Flood, Flood> SustainedRates(const Target& a, const Target& b) {
    GrowingLogCounter counterA = CountCallLines(a.dir + "/" + TodayLogName());
    GrowingLogCounter counterB = CountCallLines(b.dir + "/" + TodayLogName());
    Flood bestA{}, bestB{};
    bool lostA = false, lostB = false;
    for (int rate : {1000, 2000, 4000, 5000, 6000, 7000, 8000, 9000, 10000, 12000, 14000, 16000, 20000, 25000, 30000}) {
        std::vector<Flood> floodsA, floodsB;
        for (int round = 0; round < 3; ++round) {
            for (auto [target, counter, floods, lost] :
                 {std::tuple{&a, &counterA, &floodsA, lostA}, std::tuple{&b, &counterB, &floodsB, lostB}}) {
                if (lost) continue;
                Flood flood = RunFlood(*target, *counter, rate);
                std::fprintf(stderr, "  %s at %d calls/s: %lld of %lld recorded\n", target->name.c_str(), rate,
                             flood.recorded, flood.sent);
                floods->push_back(flood);
            }
        }
        for (auto [floods, best, lost] : {std::tuple{&floodsA, &bestA, &lostA}, std::tuple{&floodsB, &bestB, &lostB}}) {
            if (floods->empty()) continue;
            std::sort(floods->begin(), floods->end(),
                      [](const Flood& x, const Flood& y) { return x.recorded < y.recorded; });
            const Flood& median = (*floods)[1];
            if (median.recorded == median.sent)
                *best = median;
            else
                *lost = true;
        }
        if (lostA && lostB) break;
    }
    return {bestA, bestB};
}

// The distinct phones of the calls sent to a target that its day log holds.
long long CallsFiled(const Target& t, long long firstPhone, long long lastPhone) {
    std::string log = ReadFile(t.dir + "/" + TodayLogName());
    std::vector<bool> seen(static_cast<std::size_t>(lastPhone - firstPhone), false);
    std::size_t start = 0;
    for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = log.substr(start, end - start);
        if (line.find(":u=") != std::string::npos) continue;
        std::size_t phoneAt = line.find('\t', line.find('\t') + 1);
        if (phoneAt == std::string::npos) continue;
        long long phone = std::atoll(line.c_str() + phoneAt + 1);
        if (phone >= firstPhone && phone < lastPhone) seen[static_cast<std::size_t>(phone - firstPhone)] = true;
    }
    return std::count(seen.begin(), seen.end(), true);
}

struct Storm {
    long long sent = 0, lostPlugin = 0, lostFloor = 0;
    int restarts = 0;
};

// Calls at 200 a second for 5 s while a restart comes every 150 ms, to
// both a plug-in whose restart pauses 100 ms and the floor (which files the
// restarts as calls and never pauses); the figure is the calls missing
// from each day log.
Storm RunRestartStorm(const Target& plugin, const Target& floor) {
    Sender sender;
    Storm storm;
    long long first = g_nextPhone;
    auto start = Clock::now();
    for (int i = 0; i < 1000; ++i) {
        while (Clock::now() < start + std::chrono::milliseconds(5 * i)) std::this_thread::sleep_for(std::chrono::microseconds(200));
        if (i % 30 == 0) {
            for (const Target* t : {&plugin, &floor}) sender.Send(t->port, "restart\trestart\trestart\r");
            ++storm.restarts;
        }
        std::string phone;
        std::string call = NextCall(phone);
        for (const Target* t : {&plugin, &floor}) sender.Send(t->port, call);
        ++storm.sent;
    }
    long long last = g_nextPhone;
    auto deadline = Clock::now() + std::chrono::seconds(10);
    long long filedPlugin = 0, filedFloor = 0;
    while (Clock::now() < deadline) {
        filedPlugin = CallsFiled(plugin, first, last);
        filedFloor = CallsFiled(floor, first, last);
        if (filedPlugin == storm.sent && filedFloor == storm.sent) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    storm.lostPlugin = storm.sent - filedPlugin;
    storm.lostFloor = storm.sent - filedFloor;
    return storm;
}

struct RebindGaps {
    std::size_t restarts = 0;
    double min = 0, p50 = 0, p99 = 0, max = 0;   // microseconds
};

// The listener's own measurement of each hand-over, from the old socket's
// close to the new one's bind, read after every restart.
RebindGaps MeasureRebindGaps(int restarts) {
    std::string dir = MakeDirectory("rebind");
    if (chdir(dir.c_str()) != 0) return {};
    int port = FreeUdpPort();
    std::ofstream("MERLOX.INI") << "[Ornitel]\nPytaj=1,4,0," << port << "\n";
    refhost::HostOptions().pauseDivisor = 100;   // a restart pauses 50 ms
    LoadSettings();
    if (UDPOn() != 0) return {};
    UDPMarkRunning(g_frame.threadBlock);
    CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);
    Sender sender;
    std::vector<double> gaps;
    for (int i = 0; i < restarts; ++i) {
        sender.Send(port, "restart\trestart\trestart\r");
        std::this_thread::sleep_for(std::chrono::milliseconds(90));
        std::string phone;
        sender.Send(port, NextCall(phone));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (int64_t gap = UDPLastRebindGap(); gap >= 0) gaps.push_back(static_cast<double>(gap) / 1000.0);
    }
    CallHost<Host::StopThread>(&g_frame.threadBlock, -1);
    UDPReleaseSockets();
    if (chdir(g_root.c_str()) != 0 || gaps.empty()) return {};
    std::sort(gaps.begin(), gaps.end());
    return {gaps.size(), gaps.front(), gaps[gaps.size() / 2], gaps[gaps.size() * 99 / 100], gaps.back()};
}

struct StopTimes {
    int runs = 0;
    double min = 0, p50 = 0, max = 0;   // milliseconds
};

// The listener in this process is flooded with calls while a restart's
// pause (50 ms) runs out; once it writes that it waits for its port (the
// hand-over has begun: the old socket's queue is drained and filed) the
// host's stop is called, 0 to 40 ms later, and timed until the thread has
// ended.
StopTimes MeasureStopsInAFloodedRestart(int runs) {
    std::string dir = MakeDirectory("stops");
    if (chdir(dir.c_str()) != 0) return {};
    refhost::HostOptions().pauseDivisor = 100;
    std::vector<double> times;
    std::string log = TodayLogName();
    GrowingLogCounter listening = CountLinesHolding(log, "rozpoczeto nasluch");
    GrowingLogCounter waiting = CountLinesHolding(log, "oczekiwanie na zwolnienie");
    for (int run = 0; run < runs; ++run) {
        int port = FreeUdpPort();
        std::ofstream("MERLOX.INI") << "[Ornitel]\nPytaj=1,4,0," << port << "\n";
        LoadSettings();
        if (UDPOn() != 0) break;
        int listeningBefore = listening.Count(), waitingBefore = waiting.Count();
        UDPMarkRunning(g_frame.threadBlock);
        CallHost<Host::StartThread>("UDPPoling", &UDPoling, 0, &g_frame.threadBlock);
        while (listening.Count() == listeningBefore) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        Sender sender;
        sender.Send(port, "restart\trestart\trestart\r");
        std::atomic<bool> flooding{true};
        std::thread flood([&] {
            Sender floodSender;
            std::string phone;
            while (flooding.load()) floodSender.Send(port, NextCall(phone));
        });
        auto giveUp = Clock::now() + std::chrono::seconds(10);
        while (waiting.Count() < waitingBefore + 2 && Clock::now() < giveUp)
            std::this_thread::sleep_for(std::chrono::microseconds(500));
        std::this_thread::sleep_for(std::chrono::milliseconds(10 * (run % 5)));
        auto before = Clock::now();
        CallHost<Host::StopThread>(&g_frame.threadBlock, -1);
        times.push_back(std::chrono::duration<double, std::milli>(Clock::now() - before).count());
        flooding.store(false);
        flood.join();
        UDPReleaseSockets();
    }
    if (chdir(g_root.c_str()) != 0 || times.empty()) return {};
    std::sort(times.begin(), times.end());
    return {static_cast<int>(times.size()), times.front(), times[times.size() / 2], times.back()};
}

// The receive queue that the plug-in's listener reported in its day log.
long long ReportedQueueBytes(const Target& t) {
    std::string log = ReadFile(t.dir + "/" + TodayLogName());
    std::size_t at = log.rfind("UDPOn() - SO_RCVBUF ");
    return at == std::string::npos ? -1 : std::atoll(log.c_str() + at + std::strlen("UDPOn() - SO_RCVBUF "));
}

long long StatusKilobytes(pid_t pid, const char* key) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0) return std::atoll(line.c_str() + std::strlen(key));
    return -1;
}

// Nanoseconds on the processor of every thread of the process, and of the
// thread with the given name alone.
std::pair<long long, long long> CpuNanoseconds(pid_t pid, const std::string& threadName) {
    std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    long long all = 0, named = 0;
    DIR* dir = opendir(tasks.c_str());
    if (!dir) return {0, 0};
    while (dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.') continue;
        std::string task = tasks + "/" + entry->d_name;
        long long ns = std::atoll(ReadFile(task + "/schedstat").c_str());
        std::string comm = ReadFile(task + "/comm");
        all += ns;
        if (comm.substr(0, comm.find('\n')) == threadName) named += ns;
    }
    closedir(dir);
    return {all, named};
}

struct Idle {
    double threadPercent = 0, processPercent = 0;
};

Idle MeasureIdle(pid_t pid, int seconds) {
    auto [allBefore, listenerBefore] = CpuNanoseconds(pid, "UDPPoling");
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    auto [allAfter, listenerAfter] = CpuNanoseconds(pid, "UDPPoling");
    double span = seconds * 1e9;
    return {100.0 * static_cast<double>(listenerAfter - listenerBefore) / span,
            100.0 * static_cast<double>(allAfter - allBefore) / span};
}

}  // namespace

int main(int argc, char** argv) {
    int samples = 5000, idleSeconds = 10;
    std::string only = "all";   // or "stops": the stop measurement alone
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--samples") == 0) samples = std::max(100, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--idle") == 0) idleSeconds = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--root") == 0) g_root = argv[i + 1];
        if (std::strcmp(argv[i], "--only") == 0) only = argv[i + 1];
    }
    if (only == "stops") {
        StopTimes stops = MeasureStopsInAFloodedRestart(20);
        std::printf("| stop during a restart's hand-over under a flood (%d runs), min / p50 / max | %.1f / %.1f / %.1f ms |\n",
                    stops.runs, stops.min, stops.p50, stops.max);
        return stops.runs == 20 ? 0 : 1;
    }
    Target plugin = StartPlugin();
    Target floor = StartFloor();
    if (!WaitForText(plugin.dir + "/" + TodayLogName(), "rozpoczeto nasluch", 10)) {
        std::fprintf(stderr, "the plug-in did not start listening\n");
        Stop(plugin);
        Stop(floor);
        return 1;
    }

    std::fprintf(stderr, "idle for %d s...\n", idleSeconds);
    Idle idle = MeasureIdle(plugin.pid, idleSeconds);
    std::fprintf(stderr, "latency, %d calls each...\n", samples);
    auto [pluginLatency, floorLatency] = MeasureLatency(plugin, floor, samples);
    std::fprintf(stderr, "sustained rate...\n");
    auto [pluginRate, floorRate] = SustainedRates(plugin, floor);
    long long pluginQueue = ReportedQueueBytes(plugin);
    long long floorQueue = [] {
        int fd = socket(AF_INET, SOCK_DGRAM, 0);
        int bytes = EnlargeQueue(fd);
        close(fd);
        return bytes;
    }();
    long long pluginPeak = StatusKilobytes(plugin.pid, "VmHWM:");
    long long floorPeak = StatusKilobytes(floor.pid, "VmHWM:");
    std::fprintf(stderr, "file operations per call...\n");
    FileOps pluginOps = CountFileOps(plugin, 200);
    FileOps floorOps = CountFileOps(floor, 200);
    Stop(plugin);

    std::fprintf(stderr, "restart storm...\n");
    Target storming = StartPlugin(50);
    Storm storm{};
    if (WaitForText(storming.dir + "/" + TodayLogName(), "rozpoczeto nasluch", 10))
        storm = RunRestartStorm(storming, floor);
    else
        std::fprintf(stderr, "the storm's plug-in did not start listening\n");
    Stop(storming);
    Stop(floor);

    std::fprintf(stderr, "rebind gaps...\n");
    RebindGaps rebind = MeasureRebindGaps(200);
    std::fprintf(stderr, "stops in a flooded restart...\n");
    StopTimes stops = MeasureStopsInAFloodedRestart(20);

    auto ratio = [](double a, double b) { return b > 0 ? a / b : 0.0; };
    std::printf("| measure | plug-in in refhost | floor | ratio |\n|---|---|---|---|\n");
    std::printf("| send to slot file, p50 | %.0f us | %.0f us | %.2f |\n", pluginLatency.p50,
                floorLatency.p50, ratio(pluginLatency.p50, floorLatency.p50));
    std::printf("| send to slot file, p99 | %.0f us | %.0f us | %.2f |\n", pluginLatency.p99,
                floorLatency.p99, ratio(pluginLatency.p99, floorLatency.p99));
    std::printf("| send to slot file, max | %.0f us | %.0f us | |\n", pluginLatency.max, floorLatency.max);
    std::printf("| distinct calls/s with none lost, median of three floods (offered) | %d | %d | %.2f |\n", pluginRate.rate,
                floorRate.rate, ratio(floorRate.rate, pluginRate.rate));
    std::printf("| receive queue the system reports (SO_RCVBUF) | %lld B | %lld B | |\n", pluginQueue, floorQueue);
    if (pluginOps.traced && floorOps.traced) {
        std::printf("| file operations per filed call, slot and lock files | %.1f | %.1f | %.2f |\n", pluginOps.slotAndLock,
                    floorOps.slotAndLock, ratio(pluginOps.slotAndLock, floorOps.slotAndLock));
        std::printf("| file operations per filed call, with the day log | %.1f | %.1f | %.2f |\n", pluginOps.all,
                    floorOps.all, ratio(pluginOps.all, floorOps.all));
    } else {
        std::printf("| file operations per filed call | not traced (strace missing or refused) | | |\n");
    }
    std::printf("| idle CPU, listener thread | %.4f %% of a core | | |\n", idle.threadPercent);
    std::printf("| idle CPU, whole host process | %.4f %% of a core | | |\n", idle.processPercent);
    std::printf("| peak memory (VmHWM) | %lld kB | %lld kB | |\n", pluginPeak, floorPeak);
    std::printf("| calls lost in a restart storm (%lld calls, %d restarts) | %lld | %lld | |\n", storm.sent,
                storm.restarts, storm.lostPlugin, storm.lostFloor);
    std::printf("| port without a socket at a restart (%zu restarts), min / p50 / p99 / max | %.1f / %.1f / %.1f / %.1f us | | |\n",
                rebind.restarts, rebind.min, rebind.p50, rebind.p99, rebind.max);
    std::printf("| stop during a restart's hand-over under a flood (%d runs), min / p50 / max | %.1f / %.1f / %.1f ms | | |\n",
                stops.runs, stops.min, stops.p50, stops.max);
    return 0;
}
