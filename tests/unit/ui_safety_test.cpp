// The window and hook code where a datagram's text or the host's tables
// could make it go wrong: long NIPs, unterminated texts, a table without a
// handler, installing the table hook twice.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "plumbing/host.h"
#include "services/host_tables.h"
#include "storage/phone_slots.h"
#include "storage/settings.h"
#include "support/test_support.h"
#include "ui/caller_id_window.h"
#include "ui/nip.h"
#include "ui/search_hooks.h"

TEST(NipExtraction, TakesOnlyTheDigitsRightAfterTheFirstMarker) {
    char nip[kMaxNipDigits + 1];
    ExtractNip("Firma NIP:1234567890 tel", 500, nip);
    EXPECT_STREQ(nip, "1234567890");
    ExtractNip("NIP: 1234567890", 500, nip);
    EXPECT_STREQ(nip, "");
    ExtractNip("nip:1234567890", 500, nip);
    EXPECT_STREQ(nip, "");
    ExtractNip("NIP:12x NIP:9876543210", 500, nip);
    EXPECT_STREQ(nip, "12");
}

TEST(NipExtraction, LongNipIsCutToSixteenDigits) {
    char nip[kMaxNipDigits + 1 + 8];
    std::memset(nip, 'X', sizeof nip);
    ExtractNip("NIP:123456789012345678901234", 500, nip);
    EXPECT_STREQ(nip, "1234567890123456");
    EXPECT_EQ(nip[kMaxNipDigits + 1], 'X');  // nothing written past the field
}

TEST(NipExtraction, UnterminatedTextIsReadOnlyWithinItsField) {
    char text[24];
    std::memcpy(text, "NIP:12345678901234567890", sizeof text);  // no terminator
    char nip[kMaxNipDigits + 1];
    ExtractNip(text, 10, nip);
    EXPECT_STREQ(nip, "123456");
}

// The window data record from the image and the settings as they stand.
static void FillWindowDataFromImage() {
    SlotView view{};
    std::memcpy(view.slots, g_phoneSlots, sizeof view.slots);
    view.settings = g_settings;
    FillWindowData(view);
}

TEST(WindowData, SlotWithoutTerminatorsFillsBoundedRows) {
    std::memset(g_phoneSlots, '7', sizeof g_phoneSlots);
    std::memcpy(g_phoneSlots[0].text, "NIP:", 4);
    g_settings.selectedSlot = 0;
    FillWindowDataFromImage();
    EXPECT_EQ(std::strlen(g_windowData.rows[0].phone), 20u);
    EXPECT_EQ(std::strlen(g_windowData.rows[0].target), 20u);
    EXPECT_STREQ(g_windowData.rows[0].nip, "7777777777777777");
    EXPECT_STREQ(SelectedNip(), "7777777777777777");
}

TEST(WindowData, SelectedSlotOutOfRangeHasNoNip) {
    std::memset(g_phoneSlots, 0, sizeof g_phoneSlots);
    std::strcpy(g_phoneSlots[9].text, "NIP:1234567890");
    g_settings.selectedSlot = 9;
    FillWindowDataFromImage();
    EXPECT_STREQ(SelectedNip(), "123-45-67-890");
    g_settings.selectedSlot = 10;
    FillWindowDataFromImage();
    EXPECT_STREQ(SelectedNip(), "");
    g_settings.selectedSlot = -1;
    FillWindowDataFromImage();
    EXPECT_STREQ(SelectedNip(), "");
}

TEST(WindowData, LongSlotFileNameIsCutInTheWindowOnly) {
    std::string name(250, 'a');
    std::strcpy(g_settings.slotFileName, name.c_str());
    FillWindowDataFromImage();
    EXPECT_EQ(std::strlen(g_windowData.fileName), 200u);
    EXPECT_EQ(std::string(g_settings.slotFileName), name);
}

static TableHandler DescriptorHandler() { return refhost::ContractorTableHandler(); }

static void SetDescriptorHandler(TableHandler handler) {
    std::memcpy(refhost::ContractorTable()->bytes + refhost::kDescriptorHandlerOffset, &handler,
                sizeof handler);
}

static int g_hostHandlerCalls = 0;
static int HOSTAPI CountingHandler(int, int, int, int, int, int, int, int, int, int, int) {
    return ++g_hostHandlerCalls;
}

TEST(ContractorTableHook, InstallingTwiceKeepsTheFirstHandlerAndStopRestoresItOnce) {
    SetDescriptorHandler(&CountingHandler);
    ASSERT_EQ(HookContractorTable(true), 0);
    TableHandler hook = DescriptorHandler();
    EXPECT_NE(hook, &CountingHandler);
    ASSERT_EQ(HookContractorTable(true), 0);
    EXPECT_EQ(DescriptorHandler(), hook);

    EXPECT_EQ(hook(65, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0), 1);  // passed on to the host's
    EXPECT_EQ(HookContractorTable(false), 0);
    EXPECT_EQ(DescriptorHandler(), &CountingHandler);
    SetDescriptorHandler(nullptr);
    EXPECT_EQ(HookContractorTable(false), 0);  // a second stop touches nothing
    EXPECT_EQ(DescriptorHandler(), nullptr);
}

TEST(ContractorTableHook, TableWithoutHandlerIsNotCalledThroughNone) {
    SetDescriptorHandler(nullptr);
    ASSERT_EQ(HookContractorTable(true), 0);
    TableHandler hook = DescriptorHandler();
    ASSERT_NE(hook, nullptr);
    EXPECT_EQ(hook(65, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0), 0);
    HookContractorTable(false);
}

TEST(ContractorTableHook, OtherRecordSizeLeavesTheTableAlone) {
    refhost::HostOptions().tableSize = 1000;
    SetDescriptorHandler(&CountingHandler);
    EXPECT_EQ(HookContractorTable(true), -1);
    EXPECT_EQ(DescriptorHandler(), &CountingHandler);
    refhost::HostOptions().tableSize = 1536;
}
