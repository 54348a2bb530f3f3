// The start checks and the one message box that explains a refused start,
// for every branch of the report, through the reference host's switches.
#include <filesystem>

#include "plugin_fixture.h"

using FailureReport = PluginTest;

static bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

static int CountOf(const std::string& text, const std::string& part) {
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

TEST_F(FailureReport, OneMissingServiceIsNamedInTheSingular) {
    host().lackOrdinals = {52028};
    Load();
    EXPECT_EQ(session.Start(), -1);
    std::string report = Report();
    EXPECT_EQ(CountOf(report, "message box \"STOP!!!\""), 1);
    EXPECT_TRUE(Contains(report, "potrzebuje zaimportować\n  funkcję o numerze 52028 z modułu"));
    EXPECT_TRUE(Contains(report, "jednak moduł główny jej nie posiada."));
    EXPECT_TRUE(Contains(report, "WTYCZKA NIE ZOSTANIE ZAŁADOWANA!!!"));
}

TEST_F(FailureReport, SeveralMissingServicesAreListedInAscendingOrder) {
    host().lackOrdinals = {52158, 52044, 30005};
    Load();
    EXPECT_EQ(session.Start(), -1);
    std::string report = Report();
    EXPECT_TRUE(Contains(report, "funkcje o numerach 30005, 52044, 52158 z modułu głównego"));
    EXPECT_TRUE(Contains(report, "moduł główny ich nie posiada"));
}

TEST_F(FailureReport, TenMissingServicesListTheFirstEightStored) {
    // In table order: 40008 41611 41613 30005 38417 52158 52044 52021 | 52006 52020
    host().lackOrdinals = {40008, 41611, 41613, 30005, 38417, 52158, 52044, 52021, 52006, 52020};
    Load();
    EXPECT_EQ(session.Start(), -1);
    std::string report = Report();
    EXPECT_TRUE(Contains(report,
        "funkcje o numerach 30005, 38417, 40008, 41611, 41613, 52021, 52044, 52158 z modułu"));
    EXPECT_TRUE(Contains(report, "ich nie posiada"));
}

TEST_F(FailureReport, AbsentTableIsShownAsBrak) {
    host().tableSize = 0;
    Load();
    EXPECT_EQ(session.Start(), -1);
    std::string report = Report();
    EXPECT_TRUE(Contains(report, "Rozmiary rekordów niektórych tabel nie zgadzają się"));
    EXPECT_TRUE(Contains(report, "(moduł 'libcallerid.so'):"));
    EXPECT_TRUE(Contains(report, "TABELA\tWE WTYCZCE\tW PROGRAMIE"));
    EXPECT_TRUE(Contains(report, "k4\t1536\tbrak"));
    EXPECT_TRUE(Contains(report, "Moduł libcallerid.so\n  NIE zostanie załadowany!"));
}

TEST_F(FailureReport, OtherRecordSizeIsShownWithItsValue) {
    host().tableSize = 1024;
    Load();
    EXPECT_EQ(session.Start(), -1);
    EXPECT_TRUE(Contains(Report(), "k4\t1536\t1024"));
}

// The table check keeps its first result; the table hook of a second start
// still sees the changed table, refuses, and its row is what the report shows.
TEST_F(FailureReport, SecondStartAfterTableChangeIsRefusedByTheHook) {
    Load();
    ASSERT_EQ(session.Start(), 0);
    session.Stop();
    host().tableSize = 2048;
    EXPECT_EQ(session.Start(), -1);
    std::string report = Report();
    EXPECT_EQ(CountOf(report, "k4\t1536"), 1);
    EXPECT_TRUE(Contains(report, "k4\t1536\t2048"));
}

TEST_F(FailureReport, MissingFeaturesAreShownAsBits) {
    host().features = 0x11;
    Load();
    EXPECT_EQ(session.Start(), -1);
    EXPECT_TRUE(Contains(Report(), "Program nie obsługuje cech 0x00000010,\n"
                                   "  które są niezbędne dla modułu 'Caller ID Tabele"));
}

TEST_F(FailureReport, FeatureBitZeroAloneIsAccepted) {
    host().features = 1;
    Load();
    EXPECT_EQ(session.Start(), 0);
    session.Stop();
}

TEST_F(FailureReport, ReportBeforeAnyStartFindsEveryFeatureMissing) {
    Load();
    EXPECT_TRUE(Contains(Report(), "Program nie obsługuje cech 0xFFFFFFFF"));
}

TEST_F(FailureReport, HostDateEqualToTheMinimumIsAccepted) {
    host().hostDate = "Jan  1 2023";
    Load();
    EXPECT_EQ(session.Start(), 0);
    session.Stop();
}

TEST_F(FailureReport, OlderHostGetsTheVersionMessage) {
    host().hostDate = "Dec 31 2022";
    Load();
    EXPECT_EQ(session.Start(), -1);
    std::string report = Report();
    EXPECT_TRUE(Contains(report, "Moduł \"libcallerid.so\" i program występują w różnych wersjach!"));
    EXPECT_TRUE(Contains(report, "zainstaluj aktualizację programu wraz z modułem \"libcallerid.so\"."));
}

TEST_F(FailureReport, UnreadableMinimumDateRefusesTheStart) {
    host().datesReadable = false;
    Load();
    EXPECT_EQ(session.Start(), -1);
    EXPECT_TRUE(Contains(Report(), "występują w różnych wersjach"));
}

TEST_F(FailureReport, OnlyInterfaceLevel112IsAccepted) {
    host().interfaceLevel = 111;
    Load();
    EXPECT_EQ(session.Start(), -1);
    EXPECT_TRUE(Contains(Report(), "występują w różnych wersjach"));
    host().interfaceLevel = 113;
    EXPECT_EQ(session.Start(), -1);
    host().interfaceLevel = 112;
    EXPECT_EQ(session.Start(), 0);
    session.Stop();
}

TEST_F(FailureReport, NothingToReportSaysTheModuleWasNotInitialised) {
    Load();
    ASSERT_EQ(session.Start(), 0);
    std::string report = Report();
    EXPECT_TRUE(Contains(report, "Moduł \"libcallerid.so\" nie został poprawnie zainicjowany,\n"
                                 "  więc NIE BĘDZIE AKTYWNY!"));
    session.Stop();
}

// A module file name is text, never a format.
TEST_F(FailureReport, PercentInTheModuleFileNameIsShownAsItIs) {
    std::string copy = scratch.path() + "/100%s%n.so";
    std::filesystem::copy_file(CALLERID_PLUGIN_PATH, copy);
    host().tableSize = 0;
    Load(copy);
    EXPECT_EQ(session.Start(), -1);
    EXPECT_TRUE(Contains(Report(), "Moduł 100%s%n.so\n  NIE zostanie załadowany!"));
}
