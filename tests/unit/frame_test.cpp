// The plug-in frame inside this test program: the import table and its
// binding stubs, the record-size check, module file names.
#include <gtest/gtest.h>

#include <cstring>

#include "host/binding.h"
#include "host/checks.h"
#include "host/report.h"
#include "plugin/frame.h"
#include "plumbing/host.h"
#include "plumbing/system.h"
#include "services/services.h"
#include "support/test_support.h"

TEST(ImportTable, EveryServiceIsBoundWhenTheHostHasThemAll) {
    EXPECT_EQ(g_missingServices.count, 0);
    EXPECT_NE(g_frame.hostModule, nullptr);
    EXPECT_NE(g_frame.hostControl, nullptr);
    for (int i = 0; i < kHostImportCount; ++i) {
        EXPECT_NE(g_hostImports[i], nullptr) << "entry " << i;
        EXPECT_NE(g_hostImports[i], g_hostBindingStubs[i]) << "entry " << i;
    }
}

TEST(ImportTable, OrdinalsAreInTableOrder) {
    EXPECT_EQ(HostOrdinal(Host::StopMessage), 35802u);
    EXPECT_EQ(HostOrdinal(Host::Unused40008), 40008u);
    EXPECT_EQ(HostOrdinal(Host::RunWindow), 52026u);
    EXPECT_EQ(HostOrdinal(Host::AppendLine), 52407u);
    EXPECT_EQ(static_cast<int>(Host::AppendLine), kHostImportCount - 1);
}

// A call through an entry that still holds its stub binds the entry and
// reaches the host with every argument intact, variadic ones included.
TEST(BindingStub, FirstCallBindsAndPassesTheArgumentsOn) {
    test::TakeConsole();
    int index = static_cast<int>(Host::StopMessage);
    g_hostImports[index] = g_hostBindingStubs[index];
    CallHost<Host::StopMessage>(15000, "STOP!!!", "%s|%d|%s|%u|%c", 61441, 28206, "one", -2,
                                "three", 4000000000u, 'Z');
    EXPECT_EQ(g_hostImports[index], reinterpret_cast<void*>(&ordinal_35802));
    EXPECT_NE(test::TakeConsole().find("one|-2|three|4000000000|Z"), std::string::npos);

    index = static_cast<int>(Host::DateValue);
    g_hostImports[index] = g_hostBindingStubs[index];
    EXPECT_EQ(CallHost<Host::DateValue>("Feb 28 2024"), 20240228);
}

TEST(BindingStub, ServiceTheHostLacksIsCountedAndNeverCalled) {
    for (int i = 0; i < refhost::kExportedServiceCount; ++i) {
        if (refhost::kExportedServices[i].ordinal == 51594) {
            ASSERT_TRUE(refhost::WithdrawExport(refhost::kExportedServices[i].address));
        }
    }
    int index = static_cast<int>(Host::InterfaceLevel);
    g_hostImports[index] = g_hostBindingStubs[index];
    refhost::HostOptions().interfaceLevel = 7;

    EXPECT_EQ(CallHost<Host::InterfaceLevel>(), 0);  // the stand-in, not the host
    EXPECT_EQ(g_hostImports[index], nullptr);
    EXPECT_EQ(g_missingServices.count, 1);
    EXPECT_EQ(g_missingServices.ordinals[0], 51594);
    EXPECT_EQ(CallHost<Host::InterfaceLevel>(), 0);
    EXPECT_EQ(g_missingServices.count, 1);  // a null entry is not resolved again
}

TEST(MissingServiceList, KeepsTheFirstEightAndCountsOn) {
    void* entry = nullptr;
    for (unsigned ordinal = 60001; ordinal <= 60010; ++ordinal)
        EXPECT_EQ(ResolveHostService(OrdinalKey(ordinal), &entry), nullptr);
    EXPECT_EQ(g_missingServices.count, 10);
    EXPECT_EQ(g_missingServices.ordinals[0], 60001);
    EXPECT_EQ(g_missingServices.ordinals[7], 60008);
    EXPECT_EQ(ResolveHostService("no_such_service", &entry), nullptr);
    EXPECT_EQ(g_missingServices.count, 10);  // names are not counted
}

TEST(RecordSizes, CheckIsComputedOnceAndCached) {
    refhost::HostOptions().tableSize = 1536;
    EXPECT_EQ(CheckTableSizes(), 0);
    refhost::HostOptions().tableSize = 1024;
    EXPECT_EQ(CheckTableSizes(), 0);
    EXPECT_EQ(FirstRecordSizeMismatch(), nullptr);
}

TEST(RecordSizes, AnEntryIsListedOnce) {
    RecordSizeMismatch first{1536, 0, "k4", nullptr}, second{1536, 99, "k4", nullptr};
    ListRecordSizeMismatch(&first);
    ListRecordSizeMismatch(&second);
    ListRecordSizeMismatch(&first);
    ASSERT_EQ(FirstRecordSizeMismatch(), &first);
    EXPECT_EQ(first.next, &second);
    EXPECT_EQ(second.next, nullptr);
}

// A host that gives no control entry is never called through none: every
// feature counts as missing (bit 0 aside), and the report says so.
TEST(StartChecks, HostWithoutControlEntryOffersNoFeatureAndIsNotCalled) {
    HostControlEntry control = g_frame.hostControl;
    g_frame.hostControl = nullptr;
    g_frame.missingFeatureBits = 0;
    refhost::HostOptions().trace = true;
    test::TakeConsole();
    EXPECT_EQ(RunStartChecks(), -1);
    EXPECT_EQ(g_frame.missingFeatureBits, 0xFFFFFFFEu);
    ReportLoadFailure();
    refhost::HostOptions().trace = false;
    std::string console = test::TakeConsole();
    g_frame.hostControl = control;
    EXPECT_EQ(console.find("trace: 30006"), std::string::npos) << console;
    EXPECT_NE(console.find("Program nie obsługuje cech 0xFFFFFFFE"), std::string::npos) << console;
}

TEST(ModuleFileName, TakesTheTextAfterTheLastSeparatorOfEitherKind) {
    EXPECT_STREQ(ModuleFileNameOf("callerid.dll"), "callerid.dll");
    EXPECT_STREQ(ModuleFileNameOf("C:\\MERLOX\\callerid.dll"), "callerid.dll");
    EXPECT_STREQ(ModuleFileNameOf("/opt/host/libcallerid.so"), "libcallerid.so");
    EXPECT_STREQ(ModuleFileNameOf("C:\\a/b\\plug.dll"), "plug.dll");   // '\' last
    EXPECT_STREQ(ModuleFileNameOf("C:\\a\\b/plug.dll"), "plug.dll");   // '/' last
    EXPECT_STREQ(ModuleFileNameOf("dir\\"), "");
}

TEST(ModuleFileName, AttachRecordsThisModule) {
    EXPECT_NE(std::strstr(g_frame.modulePath, "unit_tests"), nullptr);
    EXPECT_STREQ(g_frame.moduleFileName, "unit_tests");
}
