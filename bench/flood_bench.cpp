// flood_bench: the day log and the box's calls under a flood. The plug-in
// runs in the reference host (a process of its own, the wall clock, the
// log option on) with the box at 127.0.0.1 and a station at 127.0.0.3 in
// Nadawcy. For each phase a flooder sends junk at 5 000 datagrams a second
// while the box sends 5 calls a second: first from 127.0.0.2 (refused),
// then from 127.0.0.3 (allowed). Afterwards it counts the box's calls that
// reached the day log and the bytes of the lines that belong to no filed
// call (a datagram's line and its "Bez zapisu", and the summed lines).
//
//   flood_bench [--seconds N] [--rate DATAGRAMS_PER_SECOND] [--root DIR]
#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include "loopback_sender.h"
#include "support/free_udp_port.h"

namespace {

using Clock = std::chrono::steady_clock;

std::string g_root = "/tmp";

using Sender = bench::LoopbackSender;

std::string TodayLogName() {
    std::time_t now = std::time(nullptr);
    char name[32];
    std::strftime(name, sizeof name, "LOGS/TELEFONY/%d-%m-%Y.LOG", std::localtime(&now));
    return name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The lines of no filed call: "Bez zapisu" with the datagram line before
// it, and the sums of refused and unlogged datagrams.
long long BytesOfNoCall(const std::string& log) {
    std::istringstream in(log);
    long long bytes = 0, previous = 0;
    for (std::string line; std::getline(in, line);) {
        long long size = static_cast<long long>(line.size()) + 1;
        if (line.find(" Bez zapisu") != std::string::npos) bytes += size + previous;
        else if (line.find(" Odrzucono datagramy od ") != std::string::npos ||
                 line.find(" Datagramy od ") != std::string::npos)
            bytes += size;
        previous = line.find("]:") != std::string::npos && line.find(" R[") != std::string::npos ? size : 0;
    }
    return bytes;
}

struct Phase {
    long long flooded = 0, boxSent = 0, boxFiled = 0, logGrowth = 0, noCallBytes = 0;
};

int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

Phase RunPhase(const std::string& dir, int port, const char* flooder, int seconds, int rate, long long& nextPhone) {
    std::string log = dir + "/" + TodayLogName();
    std::string before = ReadFile(log);
    Phase phase;
    std::atomic<bool> stop{false};
    std::thread flood([&] {
        Sender sender(flooder);
        std::mt19937 random(7);
        std::string junk(120, 'x');
        auto start = Clock::now();
        for (long long sent = 0; !stop.load(); ++sent) {
            for (char& c : junk) c = static_cast<char>(' ' + random() % 95);
            sender.Send(port, junk);
            phase.flooded = sent + 1;
            std::this_thread::sleep_until(start + std::chrono::microseconds(1000000LL * (sent + 1) / rate));
        }
    });
    Sender box("127.0.0.1");
    long long first = nextPhone;
    auto start = Clock::now();
    for (int i = 0; i < seconds * 5; ++i) {
        std::this_thread::sleep_until(start + std::chrono::milliseconds(200 * i));
        box.Send(port, std::to_string(nextPhone++) + "\tT" + std::to_string(i % 10) + "\t\t\tFirma NIP:1234567890");
    }
    stop.store(true);
    flood.join();
    phase.boxSent = nextPhone - first;
    std::this_thread::sleep_for(std::chrono::seconds(2));
    std::string after = ReadFile(log);
    for (long long phone = first; phone < nextPhone; ++phone)
        phase.boxFiled += CountOf(after, "\t" + std::to_string(phone) + "\tT") > 0;
    phase.logGrowth = static_cast<long long>(after.size() - before.size());
    phase.noCallBytes = BytesOfNoCall(after.substr(before.size()));
    return phase;
}

}  // namespace

int main(int argc, char** argv) {
    int seconds = 60, rate = 5000;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--rate") == 0) rate = std::max(1, std::atoi(argv[i + 1]));
        if (std::strcmp(argv[i], "--root") == 0) g_root = argv[i + 1];
    }
    std::string pattern = g_root + "/callerid-flood-XXXXXX";
    std::string dir = mkdtemp(pattern.data());
    int port = test::FreeUdpPort();
    std::ofstream(dir + "/MERLOX.INI") << "[Ornitel]\nPytaj=1,4,0," << port << "\n";
    std::ofstream(dir + "/Ornitel.ini") << "[Ornitel]\nNadawcy=127.0.0.1,127.0.0.3\n";
    pid_t host = fork();
    if (host == 0) {
        if (chdir(dir.c_str()) != 0) _exit(1);
        std::freopen("/dev/null", "w", stdout);
        execl(CALLERID_REFHOST_PATH, CALLERID_REFHOST_PATH, "--headless", static_cast<char*>(nullptr));
        _exit(127);
    }
    std::this_thread::sleep_for(std::chrono::seconds(1));
    long long nextPhone = 500000000;
    std::fprintf(stderr, "refused flood, %d s...\n", seconds);
    Phase refused = RunPhase(dir, port, "127.0.0.2", seconds, rate, nextPhone);
    std::fprintf(stderr, "allowed flood, %d s...\n", seconds);
    Phase allowed = RunPhase(dir, port, "127.0.0.3", seconds, rate, nextPhone);
    kill(host, SIGTERM);
    waitpid(host, nullptr, 0);
    std::system(("rm -rf '" + dir + "'").c_str());
    std::printf("| flood of %d junk datagrams/s for %d s, box 5 calls/s | box calls filed | day log growth | of it, lines of no filed call |\n|---|---|---|---|\n",
                rate, seconds);
    for (auto [name, phase] : {std::pair{"from a refused sender", refused}, std::pair{"from an allowed sender", allowed}})
        std::printf("| %s (%lld sent) | %lld of %lld | %lld kB | %lld B |\n", name, phase.flooded, phase.boxFiled,
                    phase.boxSent, phase.logGrowth / 1024, phase.noCallBytes);
    return refused.boxFiled == refused.boxSent && allowed.boxFiled == allowed.boxSent &&
                   refused.noCallBytes <= 65536 && allowed.noCallBytes <= 65536
               ? 0
               : 1;
}
