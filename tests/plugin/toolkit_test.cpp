// The installer's toolkit: callerid listen judges datagrams as the plug-in
// does, callerid log makes a Mazovia day log readable and counts the day,
// callerid doctor finds what is wrong in a host directory, and every NIP
// the toolkit shows is marked when its check digit is wrong.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <cstring>
#include <ctime>
#include <fstream>
#include <sstream>
#include <string>

#include "support/child_process.h"
#include "support/test_support.h"
#include "support/udp_helpers.h"
#include "text/mazovia_utf8.h"

namespace {

test::ProgramResult Tool(const std::string& arguments) {
    return test::RunProgram(std::string(CALLERID_TOOL_PATH) + " --lang en " + arguments, 20);
}

std::string Today() {
    std::time_t now = std::time(nullptr);
    char date[16];
    std::strftime(date, sizeof date, "%d-%m-%Y", std::localtime(&now));
    return date;
}

std::string NowTime() {
    std::time_t now = std::time(nullptr);
    char time[16];
    std::strftime(time, sizeof time, "%H:%M:%S", std::localtime(&now));
    return time;
}

// An event line as the plug-in writes it.
std::string Event(const std::string& time, const std::string& message, const std::string& station = "OFFICE1:s=1") {
    return "09.12.2026 " + time + " " + station + ":u=ANNA " + message + "\r\n";
}

const std::string kLodz = "\x9C\xA2\x64\xA6";   // "Łódź" in Mazovia

class Toolkit : public ::testing::Test {
protected:
    test::ScratchDirectory scratch;
};

}  // namespace

TEST_F(Toolkit, ListenJudgesEachDatagramAsThePluginDoes) {
    int port = test::FreeUdpPort();
    // The box is the only sender allowed; 127.0.0.2 is another device.
    test::WriteFile("Ornitel.ini", "[Ornitel]\nNadawcy=127.0.0.1\n");
    test::ChildProcess listen({CALLERID_TOOL_PATH, "--lang", "en", "listen", "--port", std::to_string(port), "--json"});
    ASSERT_TRUE(listen.WaitForLine("listening on UDP port")) << listen.output();
    ASSERT_TRUE(test::SendUdpFrom("127.0.0.2", port, "600100200\t201\t\t\tObca"));
    std::string call = "600100200\t201\t\t\tFirma " + kLodz + " NIP:7790004561";
    for (std::string datagram : {call, call, std::string("Ring\t201\t\t\t"), std::string(1100, 'x'),
                                 std::string("ping\tping\tping\r"), std::string("700\t202"), std::string("restart\trestart\trestart\r"),
                                 std::string("800\t203")})
        ASSERT_TRUE(test::SendUdp(port, datagram));
    ASSERT_TRUE(listen.WaitForLine("\"phone\":\"800\"")) << listen.output();
    listen.Signal(SIGINT);
    EXPECT_EQ(listen.Wait(), 0);
    const std::string& out = listen.output();
    EXPECT_NE(out.find("\"sender\":\"127.0.0.1\",\"length\":41,\"phone\":\"600100200\",\"target\":\"201\","
                       "\"text\":\"Firma Łódź NIP:7790004561\",\"nip\":\"779-00-04-561\",\"nipValid\":true,"
                       "\"verdict\":\"call\""),
              std::string::npos)
        << out;
    std::size_t at = 0;
    for (const char* verdict : {"\"refused\"", "\"call\"", "\"repeat\"", "\"ring\"", "\"too-long\"", "\"control-word\"", "\"call\"", "\"control-word\"", "\"call\""}) {
        at = out.find(std::string("\"verdict\":") + verdict, at);
        ASSERT_NE(at, std::string::npos) << verdict << " missing or out of order in\n" << out;
    }
    // The other device's call did not make the box's a repeat; no control
    // word is a call.
    EXPECT_NE(out.find("\"sender\":\"127.0.0.2\",\"length\":20,\"phone\":\"600100200\",\"target\":\"201\","
                       "\"text\":\"Obca\",\"nip\":\"\",\"nipValid\":null,\"verdict\":\"refused\",\"recorded\":false"),
              std::string::npos) << out;
    EXPECT_NE(out.find("\"verdict\":\"control-word\",\"recorded\":false,\"pauseSeconds\":25"), std::string::npos);
    // Calls within the pause are filed, and a restart within it moves nothing.
    EXPECT_NE(out.find("\"phone\":\"700\",\"target\":\"202\",\"text\":\"\",\"nip\":\"\",\"nipValid\":null,\"verdict\":\"call\""),
              std::string::npos) << out;
    EXPECT_NE(out.find("\"phone\":\"restart\",\"target\":\"restart\",\"text\":\"\",\"nip\":\"\",\"nipValid\":null,"
                       "\"verdict\":\"control-word\",\"recorded\":false,\"pauseSeconds\":0"),
              std::string::npos) << out;
}

TEST_F(Toolkit, ListenNamesTheLikelyHolderOfABusyPort) {
    int port = test::FreeUdpPort();
    test::BoundPort holder(port);
    ASSERT_TRUE(holder.bound());
    test::ProgramResult result = Tool("listen --port " + std::to_string(port));
    EXPECT_EQ(result.exitCode, 4);
    EXPECT_NE(test::Unwrapped(result.output).find("is already held, most likely by the host program"), std::string::npos) << result.output;
    // The commands that find the holder are this system's own.
    EXPECT_NE(test::Unwrapped(result.output).find("ss -ulpn shows its process number"), std::string::npos) << result.output;
    EXPECT_EQ(result.output.find("netstat"), std::string::npos) << result.output;
}

TEST_F(Toolkit, LogShowsPolishLettersAlignedCallsAndTheDaysCounts) {
    std::string log = Event("10:00:00", "R[10.0.0.5]:600100200\t201\t\t\tFirma " + kLodz + " NIP:1234567890") +
                      "09.12.2026\t10:00:00\t600100200\t201\tFirma " + kLodz + " NIP:1234567890\t\r\n" +
                      Event("10:00:00", "Zapis") + Event("10:00:05", "R[10.0.0.5]:600100200\t201\t\t\tFirma") +
                      Event("10:00:05", "Zapis") + Event("10:00:09", "R[10.0.0.5]:Ring\t201") +
                      Event("10:00:20", "R[127.0.0.1]:ping\tping\tping\r") +
                      "09.12.2026\t10:00:20\tping\tping\t\t\r\n" + Event("10:00:31", "bind() error: 10048") +
                      Event("10:00:40", "Slot nr 0 wpisanie telefonu: 600100200 - > 201 (zam\xA2wienie)");
    mkdir("LOGS", 0755);
    mkdir("LOGS/TELEFONY", 0755);
    test::WriteFile("LOGS/TELEFONY/" + Today() + ".LOG", log);
    test::ProgramResult result = Tool("log");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    const std::string& out = result.output;
    EXPECT_NE(out.find("09.12.2026 10:00:00  600100200             201                   123-45-67-890!\n"
                       "           OFFICE1 s=1: Firma Łódź NIP:1234567890\n"),
              std::string::npos)
        << out;
    // A control word's call line, which the plug-in once wrote, is shown
    // as it stands but counts as no call.
    EXPECT_NE(out.find("09.12.2026 10:00:20  ping                  ping\n"), std::string::npos) << out;
    EXPECT_NE(test::Unwrapped(out).find("R[10.0.0.5]:600100200\\t201\\t\\t\\tFirma Łódź"), std::string::npos);
    EXPECT_NE(out.find("(zamówienie)"), std::string::npos);
    EXPECT_NE(out.find("summary: calls 1, rings 1, repeats dropped 1, datagrams received 4, control\nwords 1, errors 1, stations 1\n"),
              std::string::npos)
        << out;
    test::ProgramResult calls = Tool("log LOGS/TELEFONY/" + Today() + ".LOG --calls");
    EXPECT_EQ(calls.output.find("Zapis"), std::string::npos);
    EXPECT_NE(calls.output.find("summary: calls 1,"), std::string::npos);
}

TEST_F(Toolkit, DoctorPassesASoundDirectoryAndFindsEachPlantedProblem) {
    int port = test::FreeUdpPort();
    auto plant = [&](const std::string& dir, const std::string& pytaj) {
        mkdir(dir.c_str(), 0755);
        mkdir((dir + "/LOGS").c_str(), 0755);
        mkdir((dir + "/LOGS/TELEFONY").c_str(), 0755);
        test::WriteFile(dir + "/MERLOX.INI", "[Ornitel]\r\nPytaj=" + pytaj + "\r\n");
        test::WriteFile(dir + "/LOGS/TELEFONY/CLIP.DAT", std::string(5620, '\0'));
        test::WriteFile(dir + "/LOGS/TELEFONY/" + Today() + ".LOG",
                        Event("10:00:00", "I'm alive - pooling loop 10 sek") +
                            Event("10:00:01", "R[10.0.0.5]:600100200\t201") +
                            Event("10:00:02", "I'm alive - pooling loop 10 sek", "OFFICE2:s=2"));
    };
    std::string sound = "1,4,0," + std::to_string(port);
    plant("sound", sound);
    test::ProgramResult result = Tool("doctor sound");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output.find("PROBLEM"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("station OFFICE1 s=1: last datagram at 10:00:01 from 10.0.0.5"), std::string::npos);
    EXPECT_NE(result.output.find("station OFFICE2 s=2: last \"I'm alive\" at 10:00:02"), std::string::npos);

    plant("pytaj", "1,12,10," + std::to_string(port));
    plant("wide", "1,4,0,70000");   // the plug-in binds its low 16 bits
    plant("short", sound);
    test::WriteFile("short/LOGS/TELEFONY/CLIP.DAT", std::string(562 * 3, '\0'));
    plant("logs", sound);
    std::remove(("logs/LOGS/TELEFONY/" + Today() + ".LOG").c_str());
    std::remove("logs/LOGS/TELEFONY/CLIP.DAT");
    rmdir("logs/LOGS/TELEFONY");
    test::WriteFile("logs/LOGS/TELEFONY", "a file where the directory belongs");
    plant("nolock", sound);
    std::ofstream("nolock/LOGS/TELEFONY/" + Today() + ".LOG", std::ios::app)
        << Event("10:00:03", refhost::Utf8ToMazovia("Brak blokady między stanowiskami dla pliku telefonów LOGS\\TELEFONY\\CLIP.DAT "
                                           "(kod błędu systemu: 37) - połączenia są wpisywane, ale stanowiska nie "
                                           "czekają na siebie"));
    struct Planted {
        const char* dir;
        const char* problem;
    };
    for (Planted planted : {Planted{"pytaj", "option bits 12 hold unknown bits"}, Planted{"pytaj", "slot 11 is not 1 to 10"},
                            Planted{"short", "is 1686 bytes, not 5620, or damaged (3 whole records)"},
                            Planted{"logs", "is not a writable folder"},
                            Planted{"wide", "port 70000 is outside 1 to 65535: the plug-in listens on 4464"},
                            Planted{"wide", "UDP port 4464 is"}, Planted{"wide", "callerid firewall add --port 4464"},
                            Planted{"nolock", "station OFFICE1 s=1: files calls without the stations' lock on the slot "
                                              "file (system code 37, last at 10:00:03)"}}) {
        test::ProgramResult found = Tool(std::string("doctor ") + planted.dir);
        EXPECT_EQ(found.exitCode, 1) << planted.dir;
        EXPECT_NE(test::Unwrapped(found.output).find(planted.problem), std::string::npos) << found.output;
    }
    test::BoundPort holder(port);
    ASSERT_TRUE(holder.bound());
    test::ProgramResult held = Tool("doctor sound");
    EXPECT_EQ(held.exitCode, 1);
    EXPECT_NE(held.output.find("PROBLEM UDP port " + std::to_string(port) + " is held"), std::string::npos) << held.output;
}

TEST_F(Toolkit, DoctorWarnsOfASilentBoxAndOfAStationWhoseListenerStopped) {
    std::string log;
    for (int hour = 8; hour <= 10; ++hour) log += Event(std::to_string(hour) + ":00:00", "I'm alive - pooling loop 10 sek");
    mkdir("LOGS", 0755);
    mkdir("LOGS/TELEFONY", 0755);
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(test::FreeUdpPort()) + "\n");
    test::WriteFile("LOGS/TELEFONY/01-03-2024.LOG", log);
    test::ProgramResult result = Tool("doctor . --date 01-03-2024");
    EXPECT_EQ(result.exitCode, 0) << result.output;   // warnings are no problems
    EXPECT_NE(test::Unwrapped(result.output).find("WARN    station OFFICE1 s=1: alive from 8:00:00 to 10:00:00 and no datagram from the box: "
                                 "the box may be silent"),
              std::string::npos)
        << result.output;
}

TEST_F(Toolkit, NipMarkFollowsEveryNipThatIsNotRight) {
    std::string slots(5620, '\0');
    const char* texts[] = {"NIP:7790004561", "NIP:5260250274", "NIP:1234567890", "NIP:7790004562", "NIP:123456789",
                           "NIP:77900045610", "NIP:0000000000", "NIP:", "Firma"};
    for (int i = 0; i < 9; ++i) {
        slots.replace(i * 562, std::strlen(texts[i]), texts[i]);
        slots[i * 562 + 521] = static_cast<char>('A' + i);   // a target, so the slot is taken
    }
    test::WriteFile("CLIP.DAT", slots);
    test::ProgramResult result = Tool("slots CLIP.DAT");
    for (const char* shown : {"779-00-04-561   ", "526-02-50-274   ", "123-45-67-890!  ", "779-00-04-562!  ", "123456789!      ",
                              "77900045610!    ", "000-00-00-000!  ", "\n                        NIP:\n", "\n                        Firma\n"})
        EXPECT_NE(result.output.find(shown), std::string::npos) << shown << "\n" << result.output;
    EXPECT_NE(result.output.find("! after a NIP: not ten digits, or not a right NIP"), std::string::npos);
    test::ProgramResult json = Tool("slots CLIP.DAT --json");
    for (const char* verdict : {"\"nipValid\":true", "\"nipValid\":true", "\"nipValid\":false", "\"nipValid\":false",
                                "\"nipValid\":false", "\"nipValid\":false", "\"nipValid\":false", "\"nipValid\":null", "\"nipValid\":null"}) {
        static std::size_t at = 0;
        at = json.output.find(verdict, at);
        ASSERT_NE(at, std::string::npos) << verdict << " out of order in " << json.output;
        ++at;
    }
}

TEST_F(Toolkit, LogFollowPrintsWhatIsAppendedUntilCtrlC) {
    // A log that does not exist yet is waited for, and the wait is said.
    test::ChildProcess follow({CALLERID_TOOL_PATH, "--lang", "en", "log", "day.LOG", "--follow", "--calls"});
    ASSERT_TRUE(follow.WaitForLine("waiting for day.LOG to appear")) << follow.output();
    test::WriteFile("day.LOG", Event("10:00:00", "UDPOn() - OK"));
    std::ofstream log("day.LOG", std::ios::binary | std::ios::app);
    log << "09.12.2026\t10:00:01\t600\t201\tp" << std::flush;
    ASSERT_FALSE(follow.WaitForLine("600", 600)) << "a line is printed only once it is whole";
    log << "\xA2\t\r\n" << std::flush;
    ASSERT_TRUE(follow.WaitForLine("201\n" + std::string(11, ' ') + "?: pó\n")) << follow.output();
    // Emptied and written anew (F4 in the plug-in's window): followed from its start.
    test::WriteFile("day.LOG", "09.12.2026\t10:00:02\t700\t202\tx\t\r\n");
    ASSERT_TRUE(follow.WaitForLine("?: x\n")) << follow.output();
    follow.Signal(SIGINT);
    EXPECT_EQ(follow.Wait(), 0);
    EXPECT_NE(follow.output().find("summary: calls 2,"), std::string::npos) << follow.output();
}

TEST_F(Toolkit, DoctorFindsWhatKeepsAStationFromWorking) {
    // The programs in one folder, the data in another, as offices keep them.
    mkdir("programs", 0755);
    for (const char* name : {"libcallerid.so", "libMERLOX.so"}) test::WriteFile(std::string("programs/") + name, "");
    mkdir("data", 0755);
    mkdir("data/LOGS", 0755);
    mkdir("data/LOGS/TELEFONY", 0755);
    test::WriteFile("data/MERLOX.INI", "[Ornitel]\r\nPytaj=1,4,0," + std::to_string(test::FreeUdpPort()) + "\r\n");
    test::ProgramResult sound = Tool("doctor data --program-dir programs");
    EXPECT_EQ(sound.exitCode, 0) << sound.output;

    mkdir("never", 0755);
    mkdir("plugin-only", 0755);
    test::WriteFile("plugin-only/libcallerid.so", "");
    mkdir("host-only", 0755);
    test::WriteFile("host-only/LIBmerlox.SO", "");   // found whatever the case of its letters
    struct Case {
        const char* arguments;
        const char* problem;
    };
    for (Case c : {Case{"doctor never --program-dir programs", "PROBLEM working folder never: no Ornitel.ini and no LOGS"},
                   Case{"doctor data --program-dir plugin-only", "PROBLEM host program: no libMERLOX.so in plugin-only"},
                   Case{"doctor data --program-dir host-only", "PROBLEM plug-in: no libcallerid.so in host-only"},
                   Case{"doctor data --program-dir programs --host-ini data", "PROBLEM host settings: data is a folder"},
                   Case{"doctor data --program-dir programs --host-ini binary.ini", "PROBLEM host settings: binary.ini is no INI file"}}) {
        test::WriteFile("binary.ini", std::string("\x7f" "ELF\0\0\0", 7) + "not text");
        test::ProgramResult found = Tool(c.arguments);
        EXPECT_EQ(found.exitCode, 1) << c.arguments << "\n" << found.output;
        EXPECT_NE(test::Unwrapped(found.output).find(c.problem), std::string::npos) << c.arguments << "\n" << found.output;
    }
    // An option naming nothing is refused before anything is checked.
    for (const char* option : {"--host-ini nosuch.ini", "--program-dir nosuch"}) {
        test::ProgramResult refused = Tool(std::string("doctor data ") + option);
        EXPECT_EQ(refused.exitCode, 2) << option;
        EXPECT_EQ(refused.output, std::string("callerid doctor: ") + option + ": there is no such " +
                                      (option[2] == 'h' ? "file" : "folder") + "\n");
    }
    // The port is not the box's usual one: the firewall rules for it, by
    // the toolkit's own command or by netsh.
    EXPECT_NE(sound.output.find("callerid firewall add --port "), std::string::npos) << sound.output;
    EXPECT_NE(sound.output.find("netsh advfirewall firewall add rule name=\"Caller ID UDP "), std::string::npos) << sound.output;
}

TEST_F(Toolkit, LogCountsACallOfThreeStationsOnceWithItsStations) {
    // Three stations share the folder; each files both calls, and the lines
    // of their threads interleave as they append.
    std::string call1 = "09.12.2026\t10:00:05\t600100200\t201\tFirma\t\r\n";
    std::string call2 = "09.12.2026\t10:02:00\t700\t202\t\t\r\n";
    std::string log;
    for (const char* station : {"OFFICE1:s=1", "OFFICE2:s=2", "OFFICE3:s=3"})
        log += Event("10:00:05", "R[10.0.0.5]:600100200\t201\t\t\tFirma", station);
    log += call1 + call1 + Event("10:00:05", "Zapis", "OFFICE2:s=2") + call1;
    for (const char* station : {"OFFICE3:s=3", "OFFICE1:s=1"}) log += Event("10:02:00", "R[10.0.0.5]:700\t202", station);
    log += call2.substr(0, 11) + "10:02:01" + call2.substr(19) + call2;
    log += Event("10:02:00", "R[10.0.0.5]:700\t202", "OFFICE2:s=2") + call2;
    test::WriteFile("day.LOG", log);
    test::ProgramResult result = Tool("log day.LOG --calls");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("date       time      phone"), std::string::npos) << result.output;
    EXPECT_NE(result.output.find("600100200             201\n           OFFICE1 s=1, OFFICE2 s=2, OFFICE3 s=3: Firma\n"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("10:02:01  700                   202\n           OFFICE3 s=3, OFFICE1 s=1, OFFICE2 s=2:\n"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("summary: calls 2, rings 0, repeats dropped 0, datagrams received 6, control\n"
                                 "words 0, errors 0, stations 3\n"),
              std::string::npos)
        << result.output;
}

TEST_F(Toolkit, DoctorTakesTheProgramFoldersSettingsAndFindsWhatDisagrees) {
    int port = test::FreeUdpPort();
    mkdir("programs", 0755);
    for (const char* name : {"libcallerid.so", "libMERLOX.so"}) test::WriteFile(std::string("programs/") + name, "");
    test::WriteFile("programs/MERLOX.INI", "[Ornitel]\r\nPytaj=1,4,0," + std::to_string(port) + "\r\n");
    mkdir("data", 0755);
    mkdir("data/LOGS", 0755);
    mkdir("data/LOGS/TELEFONY", 0755);
    // The data folder has no MERLOX.INI: the program folder's names the port.
    test::ProgramResult taken = Tool("doctor data --program-dir programs");
    EXPECT_EQ(taken.exitCode, 0) << taken.output;
    EXPECT_NE(taken.output.find("OK      host settings: programs/MERLOX.INI, the program folder's"), std::string::npos) << taken.output;
    EXPECT_NE(taken.output.find("UDP port " + std::to_string(port) + " is free"), std::string::npos) << taken.output;

    // A working folder's MERLOX.INI naming another port, a listener on a
    // third, a slot file and a lock file that are folders: each a problem.
    test::WriteFile("data/MERLOX.INI", "[Ornitel]\r\nPytaj=1,4,0,1338\r\n");
    test::WriteFile("data/LOGS/TELEFONY/" + Today() + ".LOG",
                    Event(NowTime(), "UDPoling() - rozpoczeto nasluch na UDP UDP 1341"));
    mkdir("data/LOGS/TELEFONY/CLIP.DAT", 0755);
    mkdir("data/LOGS/TELEFONY/CLIP.DAT.lck", 0755);
    test::ProgramResult found = Tool("doctor data --program-dir programs");
    EXPECT_EQ(found.exitCode, 1) << found.output;
    for (std::string problem :
         {"PROBLEM host settings: programs/MERLOX.INI names port " + std::to_string(port) + " and data/MERLOX.INI port 1338",
          "PROBLEM station OFFICE1 s=1: the plug-in listens since " + NowTime().substr(0, 2),
          std::string("PROBLEM slot file: data/LOGS/TELEFONY/CLIP.DAT is a folder, not a file"),
          std::string("PROBLEM lock file: data/LOGS/TELEFONY/CLIP.DAT.lck is a folder"), std::string("4 problems"),
          "OK      UDP port " + std::to_string(port) + " is free"})   // still the program folder's
        EXPECT_NE(test::Unwrapped(found.output).find(problem), std::string::npos) << problem << "\n" << found.output;
}

TEST_F(Toolkit, ListenShowsALongDatagramWithin80Columns) {
    int port = test::FreeUdpPort();
    test::ChildProcess listen({CALLERID_TOOL_PATH, "--lang", "en", "listen", "--port", std::to_string(port)});
    ASSERT_TRUE(listen.WaitForLine("listening on UDP port")) << listen.output();
    ASSERT_TRUE(test::SendUdp(port, "600100200\t201\t\t\tFirma " + kLodz + " Sp. z o.o., ul. D\x92uga 15, 90-001 " + kLodz +
                                        ", dzia\x92 ksi\x91gowo\x9e" "ci i kadr NIP:7790004561"));
    ASSERT_TRUE(listen.WaitForLine("the day log\n")) << listen.output();
    listen.Signal(SIGINT);
    EXPECT_EQ(listen.Wait(), 0);
    std::istringstream lines(listen.output());
    for (std::string line; std::getline(lines, line);) {
        std::size_t characters = 0;
        for (char c : line) characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(characters, 79u) << line;
    }
    EXPECT_NE(listen.output().find("          -> a call: filed in the slot of target \"201\""), std::string::npos) << listen.output();
}

// senders writes Nadawcy where the plug-in reads it and refuses a bad
// address changing nothing; doctor names the senders in force, each
// refused sender with the command that allows it, and the calls that found
// no free slot; a listener that restarted more often than its alive lines
// is no listener that never listened.
TEST_F(Toolkit, SendersAndWhatDoctorSaysOfRefusalsAndFullSlots) {
    test::WriteFile("Ornitel.ini", "[Ornitel]\r\nFilename=LOGS\\TELEFONY\\CLIP.DAT\r\n");
    EXPECT_EQ(Tool("senders add 192.168.1.20 10.1.0.0/16").exitCode, 0);
    test::ProgramResult bad = Tool("senders add 192.168.1.300");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.output.find("192.168.1.300 is not an IPv4 address"), std::string::npos) << bad.output;
    EXPECT_EQ(Tool("senders remove 10.1.0.0/16").exitCode, 0);
    std::string ini = test::ReadFile("Ornitel.ini");
    EXPECT_NE(ini.find("Filename=LOGS\\TELEFONY\\CLIP.DAT"), std::string::npos) << ini;
    EXPECT_NE(ini.find("Nadawcy=192.168.1.20\n"), std::string::npos) << ini;

    mkdir("LOGS", 0755);
    mkdir("LOGS/TELEFONY", 0755);
    test::WriteFile("MERLOX.INI", "[Ornitel]\nPytaj=1,4,0," + std::to_string(test::FreeUdpPort()) + "\n");
    test::WriteFile("LOGS/TELEFONY/CLIP.DAT", std::string(5620, '\0'));
    test::WriteFile("LOGS/TELEFONY/" + Today() + ".LOG",
                    Event(NowTime(), "UDPoling() - rozpoczeto nasluch na UDP UDP 1338") +
                        Event(NowTime(), "Odrzucono datagramy od 10.9.9.9: 1 - nadawcy nie ma na li\x98" "cie Nadawcy") +
                        Event(NowTime(), "Odrzucono datagramy od 10.9.9.9: 41 - nadawcy nie ma na li\x98" "cie Nadawcy") +
                        Event("10:00:00", "Brak wolnych slot\xA2w na wpisanie telefonu: 600 - > 207") +
                        Event("10:00:00", "Brak wolnych slot\xA2w na wpisanie telefonu: 600 - > 207", "OFFICE2:s=2") +
                        Event("10:05:00", "Brak wolnych slot\xA2w na wpisanie telefonu: 601 - > 208"));
    test::ProgramResult result = Tool("doctor .");
    EXPECT_EQ(result.exitCode, 1) << result.output;
    const std::string& out = result.output;
    EXPECT_NE(out.find("senders allowed (Nadawcy in ./Ornitel.ini): 192.168.1.20"), std::string::npos) << out;
    EXPECT_NE(out.find("refused 42 datagram(s) from 10.9.9.9"), std::string::npos) << out;
    EXPECT_NE(out.find("callerid senders add 10.9.9.9"), std::string::npos) << out;
    EXPECT_NE(out.find("2 call(s) today found no free slot, since 10:00:00, for 207, 208"), std::string::npos) << out;
    EXPECT_NE(out.find("station OFFICE1 s=1: last \"I'm alive\" at"), std::string::npos) << out;

    std::string full(5620, '\0');
    for (int slot = 0; slot < 10; ++slot) full.replace(slot * 562 + 521, 3, "20" + std::to_string(slot));
    test::WriteFile("full.dat", full);
    test::ProgramResult slots = Tool("slots full.dat");
    EXPECT_NE(slots.output.find("all ten slots are taken"), std::string::npos) << slots.output;
    EXPECT_EQ(Tool("slots LOGS/TELEFONY/CLIP.DAT").output.find("all ten slots"), std::string::npos);
}
