// The caller-ID window against the listener at the moments where they
// meet: calls filed between the last refresh and F5, a restart while the
// window holds another slot file. Each race is staged:
// the call is sent before a given step of the script, and the step waits
// until the listener has filed it.
#include "window_fixture.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <functional>
#include <map>

#include "script/script_driver.h"
#include "support/udp_helpers.h"
#include "window/window_runner.h"

namespace {

// Named so that the thread-sanitizer run takes it with the window tests.
using CallerIdWindowRaces = PluginWindowTest;

// A user who works from a script and does something of the test's before
// given steps (1: the first window line), and keeps the boxes shown.
class StagedUser : public refhost::WindowUser {
public:
    explicit StagedUser(refhost::ScriptDriver& driver) : driver_(driver), installed_(this) {}
    bool Act(refhost::RunningWindow& window) override {
        auto staged = beforeStep.find(++steps_);
        if (staged != beforeStep.end()) staged->second();
        return driver_.Act(window);
    }
    std::optional<std::string> ChooseFile(std::string_view mask) override { return driver_.ChooseFile(mask); }
    bool ShowMessage(std::string_view, std::string_view text, bool, bool&) override {
        boxes.push_back(refhost::Readable(text));
        return false;   // the console shows it and answers
    }
    std::map<int, std::function<void()>> beforeStep;
    std::vector<std::string> boxes;

private:
    refhost::ScriptDriver& driver_;
    refhost::ScopedWindowUser installed_;
    int steps_ = 0;
};

CallRecord SlotOf(const std::string& file, int slot) {
    std::string bytes = test::ReadFile(file);
    CallRecord record{};
    if (bytes.size() >= sizeof record * (slot + 1)) std::memcpy(&record, bytes.data() + sizeof record * slot, sizeof record);
    return record;
}

// Sends a call as the box does and waits until the listener has written
// it into the slot file.
bool FileStagedCall(const std::string& phone, const std::string& target, const std::string& text, int slot,
              const std::string& file = "LOGS/TELEFONY/CLIP.DAT") {
    if (!test::SendUdp(1338, phone + "\t" + target + "\t\t\t" + text)) return false;
    return test::WaitUntil([&] { return SlotOf(file, slot).phone == phone; });
}

refhost::ScriptContext ContextFor(refhost::PluginSession& session) {
    refhost::ScriptContext context;
    context.action30010 = [&session](int32_t argument) { return session.Action30010(argument); };
    return context;
}

std::string RunStaged(refhost::ScriptDriver& driver) {
    refhost::ScriptResult result = driver.Run();
    return result.ok ? "" : result.error;
}

// Another station's hold of the slot file: the lock on the file beside
// it, taken as every station takes it.
class OtherStationHold {
public:
    ~OtherStationHold() { Release(); }
    bool Take(const std::string& slotFile) {
        descriptor_ = open((slotFile + ".lck").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        return descriptor_ >= 0 && flock(descriptor_, LOCK_EX | LOCK_NB) == 0;
    }
    void Release() {
        if (descriptor_ >= 0) close(descriptor_);
        descriptor_ = -1;
    }

private:
    int descriptor_ = -1;
};

refhost::Script Parsed(const std::string& text) {
    std::string error;
    std::optional<refhost::Script> script = refhost::ParseScript(text, "test", error);
    EXPECT_TRUE(script) << error;
    return script ? *script : refhost::Script{};
}

}  // namespace

// Calls arrive after the window was last refreshed and before F5: one for
// a target a row shows, one for a target no row shows yet. F5 stores the
// edit of a row whose slot is unchanged, keeps each new call whole, and
// does not write the row whose slot received a call: the user is told.
TEST_F(CallerIdWindowRaces, CallsFiledBeforeF5StayWholeAndOnlyEditsAreSaved) {
    Slots slots{};
    slots[0] = Slot("111", "201", "Pierwsza NIP:1111111111");
    slots[1] = Slot("333", "202", "Druga NIP:3333333333");
    Start(kLogOption, 0, &slots);
    refhost::ScriptDriver driver(Parsed("action\n"
                                        "window type 0x410B \"999\"\n"    // row 1: its slot gets a call
                                        "window type 0x4115 \"444\"\n"    // row 2: its slot stays
                                        "window key F5\n"
                                        "expect input 0x410B \"222\"\n"   // the new call is shown
                                        "expect input 0x4115 \"444\"\n"
                                        "window key F12\n"),
                                 ContextFor(session));
    StagedUser user(driver);
    user.beforeStep[3] = [] {
        EXPECT_TRUE(FileStagedCall("222", "201", "Nowa NIP:2222222222", 0));
        EXPECT_TRUE(FileStagedCall("555", "203", "Trzecia NIP:5555555555", 2));
    };
    EXPECT_EQ(RunStaged(driver), "");

    Slots saved = ReadSlots();
    EXPECT_STREQ(saved[0].phone, "222");
    EXPECT_STREQ(saved[0].target, "201");
    EXPECT_STREQ(saved[0].text, "Nowa NIP:2222222222");
    EXPECT_STREQ(saved[1].phone, "444");
    EXPECT_EQ(std::memcmp(saved[1].text, slots[1].text, sizeof slots[1].text), 0);
    EXPECT_STREQ(saved[2].phone, "555");
    EXPECT_STREQ(saved[2].target, "203");
    EXPECT_STREQ(saved[2].text, "Trzecia NIP:5555555555");
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_NE(user.boxes[0].find("Wiersz nr 1 nie został zapisany"), std::string::npos) << user.boxes[0];
}

// Between the last refresh and F5, row 1's slot gets a new call and row
// 2's call is edited at another station (its F5 wrote another phone over
// the same call). Neither row is saved, and the box tells the two apart.
TEST_F(CallerIdWindowRaces, ConflictBoxTellsANewCallFromAnEditAtAnotherStation) {
    Slots slots{};
    slots[0] = Slot("111", "201", "Pierwsza NIP:1111111111");
    slots[1] = Slot("333", "202", "Druga NIP:3333333333");
    Start(kLogOption, 0, &slots);
    refhost::ScriptDriver driver(Parsed("action\n"
                                        "window type 0x410B \"999\"\n"
                                        "window type 0x4115 \"444\"\n"
                                        "window key F5\n"
                                        "window key F12\n"),
                                 ContextFor(session));
    StagedUser user(driver);
    user.beforeStep[3] = [this] {
        EXPECT_TRUE(FileStagedCall("222", "201", "Nowa NIP:2222222222", 0));
        Slots edited = ReadSlots();
        std::snprintf(edited[1].phone, sizeof edited[1].phone, "48333");
        WriteSlots(edited);
    };
    EXPECT_EQ(RunStaged(driver), "");
    Slots saved = ReadSlots();
    EXPECT_STREQ(saved[0].phone, "222");
    EXPECT_STREQ(saved[1].phone, "48333");
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0],
              "Wiersz nr 1 nie został zapisany - w międzyczasie przyszło na niego nowe połączenie (widać je teraz "
              "w oknie)\nWiersz nr 2 nie został zapisany - w międzyczasie zmieniono go na innym stanowisku (widać "
              "teraz tę zmianę w oknie)");
}

// Another slot file chosen in the open window, then a restart (as another
// station's leaving its window sends): calls go to the chosen file, and it
// is the one saved when the window closes.
TEST_F(CallerIdWindowRaces, RestartWhileOpenKeepsTheChosenSlotFile) {
    Slots slots{};
    test::WriteFile("Ornitel.ini", "[Ornitel]\nFilename=LOGS\\TELEFONY\\CLIP.DAT\n");
    Start(kLogOption, 0, &slots);
    refhost::ScriptDriver driver(Parsed("action\n"
                                        "window key W\n"
                                        "window choose-file \"LOGS\\\\TELEFONY\\\\B.DAT\"\n"
                                        "window tick\n"
                                        "window key ESC\n"),
                                 ContextFor(session));
    StagedUser user(driver);
    user.beforeStep[2] = [] {
        ASSERT_TRUE(test::SendUdp(1338, "restart\trestart\trestart\r"));
        ASSERT_TRUE(test::WaitUntil([] {
            return test::CountOf(test::ReadFile(kDayLog), "rozpoczeto nasluch na UDP UDP 1338") >= 2;
        }));
        // The restart takes no slot: the call is the file's first.
        EXPECT_TRUE(FileStagedCall("222", "201", "Po restarcie", 0, "LOGS/TELEFONY/B.DAT"));
    };
    EXPECT_EQ(RunStaged(driver), "");
    EXPECT_NE(test::ReadFile("Ornitel.ini").find("Filename=LOGS\\TELEFONY\\B.DAT"), std::string::npos)
        << test::ReadFile("Ornitel.ini");
    EXPECT_EQ(test::ReadFile(kSlotFile).find("Po restarcie"), std::string::npos);
}

// F4 clears the day log and the slots together or not at all. While
// another station holds the slot file, and while the listener holds the
// plug-in's lock (filing a call as the host holds a lock of its own),
// neither is cleared and the user is told why; then both are.
TEST_F(CallerIdWindowRaces, F4UnderABusyLockClearsNeitherAndSaysWhy) {
    host().hostLock = true;
    Slots slots{};
    slots[0] = Slot("111", "201", "Pierwsza NIP:1111111111");
    test::WriteFile(kDayLog, "earlier line\n");
    Start(kLogOption, 0, &slots);
    const std::string bothKept = "expect file \"LOGS\\\\TELEFONY\\\\CLIP.DAT\" contains \"Pierwsza\"\n"
                                 "expect file \"LOGS\\\\TELEFONY\\\\01-03-2024.LOG\" contains \"earlier line\"\n";
    refhost::ScriptDriver driver(Parsed("action\n"
                                        "window key F4\n" + bothKept +
                                        "host trap 52534\n"
                                        "call \"222\" \"202\" \"Druga\" nowait\n"
                                        "host lock\n"
                                        "window key F4\n"
                                        "host unlock\n"
                                        "call wait\n" + bothKept +
                                        "window key F4\n"
                                        "expect file \"LOGS\\\\TELEFONY\\\\CLIP.DAT\" lacks \"Pierwsza\"\n"
                                        "expect file \"LOGS\\\\TELEFONY\\\\CLIP.DAT\" lacks \"Druga\"\n"
                                        "window key F12\n"),
                                 ContextFor(session));
    StagedUser user(driver);
    OtherStationHold otherStation;
    user.beforeStep[1] = [&] { EXPECT_TRUE(otherStation.Take(kSlotFile)); };
    user.beforeStep[2] = [&] { otherStation.Release(); };
    EXPECT_EQ(RunStaged(driver), "");
    ASSERT_EQ(user.boxes.size(), 2u);
    EXPECT_NE(user.boxes[0].find("nie zostały wyczyszczone - inne stanowisko zapisuje w tej chwili plik telefonów"),
              std::string::npos) << user.boxes[0];
    EXPECT_NE(user.boxes[1].find("nie zostały wyczyszczone - plik telefonów jest w tej chwili zajęty"),
              std::string::npos) << user.boxes[1];
    EXPECT_EQ(test::ReadFile(kDayLog).find("earlier line"), std::string::npos);
}
