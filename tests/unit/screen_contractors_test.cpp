// The host's contractor table on the screen (sample data with valid NIPs,
// the NIP column, the search by NIP) and the file chooser's listing of a
// directory in the host's form of paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string>

#include "screen/file_listing.h"
#include "support/test_support.h"
#include "tables/contractors.h"

namespace {

using namespace refhost::screen;

TEST(ScreenContractors, NipCheckDigitFollowsTheWeights) {
    EXPECT_TRUE(IsValidNip("5260001246"));
    EXPECT_FALSE(IsValidNip("5260001247"));   // wrong check digit
    EXPECT_FALSE(IsValidNip("1234567890"));   // the weighted sum gives 10: no NIP has it
    EXPECT_FALSE(IsValidNip("526000124"));    // nine digits
    EXPECT_FALSE(IsValidNip("526-00-01-246"));
}

TEST(ScreenContractors, SampleContractorsHaveValidDistinctNips) {
    std::set<std::string> nips;
    for (const Contractor& contractor : SampleContractors()) {
        EXPECT_TRUE(IsValidNip(contractor.nip)) << contractor.code;
        nips.insert(contractor.nip);
    }
    EXPECT_EQ(nips.size(), SampleContractors().size());
    EXPECT_GE(SampleContractors().size(), 5u);
}

TEST(ScreenContractors, TheNipStandsInColumnSevenAsThePlugInExpects) {
    auto columns = ContractorColumns();
    auto nip = std::find_if(columns.begin(), columns.end(),
                            [](const TableColumn& column) { return column.number == kNipColumnNumber; });
    ASSERT_NE(nip, columns.end());
    EXPECT_EQ(kNipColumnNumber, 7);
    EXPECT_STREQ(nip->title, "NIP");
    EXPECT_EQ(nip->value(SampleContractors()[1]), "779-00-04-561");
}

TEST(ScreenContractors, SearchByNipIgnoresDashesAndFindsOnlyTheWholeNumber) {
    auto contractors = SampleContractors();
    auto found = FindByNip(contractors, "779-00-04-561");
    ASSERT_TRUE(found);
    EXPECT_STREQ(contractors[*found].nip, "7790004561");
    EXPECT_EQ(FindByNip(contractors, "7790004561"), found);
    EXPECT_FALSE(FindByNip(contractors, "779-00-04-56"));
    EXPECT_FALSE(FindByNip(contractors, ""));
    EXPECT_FALSE(FindByNip(contractors, "NIP"));
    EXPECT_EQ(NipForDisplay("7790004561"), "779-00-04-561");
    EXPECT_EQ(NipForDisplay("123456789"), "123456789");
}

TEST(ScreenFileListing, PathsSplitAndClimbInTheHostsForm) {
    EXPECT_EQ(DirectoryPart("LOGS\\TELEFONY\\CLIP.DAT"), "LOGS\\TELEFONY\\");
    EXPECT_EQ(DirectoryPart("CLIP.DAT"), "");
    EXPECT_EQ(EnterDirectory("LOGS\\", "TELEFONY"), "LOGS\\TELEFONY\\");
    EXPECT_EQ(EnterDirectory("LOGS\\TELEFONY\\", ".."), "LOGS\\");
    EXPECT_EQ(EnterDirectory("LOGS\\", ".."), "");
    EXPECT_EQ(EnterDirectory("", ".."), "..\\");
    EXPECT_EQ(EnterDirectory("..\\", ".."), "..\\..\\");
    EXPECT_EQ(EnterDirectory("\\", ".."), "\\");
}

TEST(ScreenFileListing, MasksMatchWithoutRegardToCase) {
    EXPECT_TRUE(MatchesMask("clip.dat", "*.DAT"));
    EXPECT_TRUE(MatchesMask("README", "*.*"));
    EXPECT_TRUE(MatchesMask("CLIP.DAT", "?LIP.*"));
    EXPECT_FALSE(MatchesMask("CLIP.DAT", "*.LOG"));
    EXPECT_FALSE(MatchesMask("CLIP.DAT", "?.DAT"));
}

TEST(ScreenFileListing, DirectoriesComeFirstAndNamesAreMazovia) {
    test::ScratchDirectory scratch;
    std::filesystem::create_directories("LOGS/TELEFONY");
    test::WriteFile("LOGS/b.dat", "");
    test::WriteFile("LOGS/a.log", "");
    test::WriteFile("LOGS/łódź.dat", "");
    test::WriteFile("LOGS/€uro.dat", "");  // no Mazovia byte for the euro sign
    auto entries = ListDirectory("LOGS\\", "*.dat");
    std::vector<std::string> names;
    for (const ListedEntry& entry : entries) names.push_back(entry.name + (entry.directory ? "\\" : ""));
    EXPECT_EQ(names, (std::vector<std::string>{"..\\", "TELEFONY\\", "b.dat", "\x92\xA2" "d\xA6.dat"}));
    EXPECT_EQ(ListDirectory("NO\\SUCH\\", "*.*").size(), 1u);  // only the way up
}

}  // namespace
