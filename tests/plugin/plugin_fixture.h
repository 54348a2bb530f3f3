// Loads the built plug-in into the reference host of this test process,
// after the test has set the host's fault switches.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "plumbing/host.h"
#include "services/session.h"
#include "support/test_support.h"

class PluginTest : public ::testing::Test {
protected:
    refhost::Options& host() { return refhost::HostOptions(); }

    void Load(const std::string& path = CALLERID_PLUGIN_PATH) {
        std::string error;
        ASSERT_TRUE(refhost::ApplyLoadFaults(error)) << error;
        ASSERT_TRUE(session.Load(path, error)) << error;
        test::TakeConsole();
    }

    // What the failure report showed, as readable text.
    std::string Report() {
        session.ReportFailure();
        return test::TakeConsole();
    }

    test::ScratchDirectory scratch;
    refhost::PluginSession session;
};
