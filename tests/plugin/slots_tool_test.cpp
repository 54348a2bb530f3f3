// callerid slots: the listing of a phone-slot file for a person and for a
// script, and what it says about a file of the wrong size.
#include <cstring>

#include "plugin_fixture.h"
#include "storage/call_record.h"

namespace {

CallRecord Slot(const char* phone, const char* target, const char* text) {
    CallRecord record{};
    std::snprintf(record.phone, sizeof record.phone, "%s", phone);
    std::snprintf(record.target, sizeof record.target, "%s", target);
    std::snprintf(record.text, sizeof record.text, "%s", text);
    std::snprintf(record.date, sizeof record.date, "08.12.2026");
    std::snprintf(record.time, sizeof record.time, "10:00:00");
    return record;
}

std::string FileOf(const CallRecord* slots, int count) {
    return std::string(reinterpret_cast<const char*>(slots), sizeof(CallRecord) * count);
}

test::ProgramResult Slots(const std::string& arguments) {
    return test::RunProgram(std::string(CALLERID_TOOL_PATH) + " --lang en slots " + arguments);
}

class SlotsTool : public PluginTest {
protected:
    void SetUp() override {
        slots[0] = Slot("600100200", "201", "Firma \x9C\xA2\x64\xA6 NIP:1234567890");  // "Łódź" in Mazovia
        slots[3] = Slot("48221", "205", "NIP:123456789 krotki");
        test::WriteFile("CLIP.DAT", FileOf(slots, 10));
    }
    CallRecord slots[10] = {};
};

}  // namespace

TEST_F(SlotsTool, ListsEverySlotWithItsNipAndUtf8Text) {
    test::ProgramResult result = Slots("CLIP.DAT");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("CLIP.DAT: 5620 bytes, 10 slots\n"), std::string::npos);
    EXPECT_NE(result.output.find("1     600100200             201                   08.12.2026  10:00:00\n"
                                 "      123-45-67-890!    Firma Łódź NIP:1234567890\n"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("\n2     (free)\n"), std::string::npos);
    EXPECT_NE(result.output.find("123456789!        NIP:123456789 krotki"), std::string::npos);   // not ten digits
    EXPECT_EQ(result.output.find("warning"), std::string::npos);
}

TEST_F(SlotsTool, JsonGivesTheSameForScripts) {
    test::ProgramResult result = Slots("CLIP.DAT --json");
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output.rfind("{\"file\":\"CLIP.DAT\",\"size\":5620,\"expectedSize\":5620,\"complete\":true,"
                                  "\"warning\":null,\"slots\":[{\"slot\":0,\"free\":false,\"phone\":\"600100200\","
                                  "\"target\":\"201\",\"date\":\"08.12.2026\",\"time\":\"10:00:00\","
                                  "\"nip\":\"123-45-67-890\",\"nipValid\":false,\"text\":\"Firma Łódź NIP:1234567890\"},"
                                  "{\"slot\":1,\"free\":true,",
                                  0),
              0u)
        << result.output;
    EXPECT_NE(result.output.find("{\"slot\":9,"), std::string::npos);
}

TEST_F(SlotsTool, ShortFileIsNamedAndItsWholeRecordsAreListed) {
    test::WriteFile("CLIP.DAT", FileOf(slots, 10).substr(0, 1000));
    test::ProgramResult result = Slots("CLIP.DAT");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(test::Unwrapped(result.output).find("callerid slots: the file is 1000 bytes, not 5620: it holds 1 whole record and "
                                 "438 bytes of another, not listed"),
              std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("\n1     600100200"), std::string::npos);
    EXPECT_EQ(result.output.find("\n2     "), std::string::npos);

    test::ProgramResult json = Slots("--json CLIP.DAT");
    EXPECT_NE(json.output.find("\"complete\":false,\"warning\":\"the file is 1000 bytes"), std::string::npos);
}

TEST_F(SlotsTool, LongFileIsNamedToo) {
    test::WriteFile("CLIP.DAT", FileOf(slots, 10) + std::string(380, 'x'));
    test::ProgramResult result = Slots("CLIP.DAT");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(test::Unwrapped(result.output).find("what follows the ten slots (380 bytes) belongs to no slot"), std::string::npos);
    EXPECT_NE(result.output.find("\n10    (free)"), std::string::npos);
}

TEST_F(SlotsTool, NipIsOnlyTheDigitsRightAfterTheFirstMarker) {
    slots[0] = Slot("1", "201", "NIP: 1234567890");
    slots[1] = Slot("2", "202", "nip:1234567890");
    slots[2] = Slot("3", "203", "NIP:123456789012345678 NIP:1234567890");
    test::WriteFile("CLIP.DAT", FileOf(slots, 10));
    test::ProgramResult result = Slots("CLIP.DAT --json");
    EXPECT_NE(result.output.find("\"nip\":\"\",\"nipValid\":null,\"text\":\"NIP: 1234567890\""), std::string::npos);
    EXPECT_NE(result.output.find("\"nip\":\"\",\"nipValid\":null,\"text\":\"nip:1234567890\""), std::string::npos);
    EXPECT_NE(result.output.find("\"nip\":\"1234567890123456\""), std::string::npos) << result.output;
}

TEST_F(SlotsTool, MissingFileAndBadArgumentsAreRefused) {
    EXPECT_EQ(Slots("NO.DAT").exitCode, 2);
    EXPECT_EQ(Slots("").exitCode, 2);
    EXPECT_EQ(Slots("CLIP.DAT --bogus").exitCode, 2);
}
