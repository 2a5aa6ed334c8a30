// GoogleTest side of as_ordinary_user.h.
#pragma once

#include <gtest/gtest.h>

#include "as_ordinary_user.h"

namespace zktest {

// The current test, run again as "nobody": true when it passed there (and nothing skipped).
inline ::testing::AssertionResult currentTestPassesAsOrdinaryUser() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string(info->test_suite_name()) + "." + info->name();
    const OrdinaryUserRun run = runSelfAsOrdinaryUser({"--gtest_filter=" + name});
    // A filter that matched nothing would pass too: the one test must have run and passed.
    if (run.status == 0 && run.output.find("[  PASSED  ] 1 test.") != std::string::npos &&
        run.output.find("[  SKIPPED ]") == std::string::npos)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << name << " as the user nobody (status " << run.status << "):\n"
           << run.output;
}

} // namespace zktest

// At the top of a test that needs an ordinary user: as root, the test runs again as
// "nobody" and that run's result stands for this one.
#define ZK_AS_ORDINARY_USER()                                                                      \
    do {                                                                                           \
        if (::zktest::runsAsRoot()) {                                                              \
            EXPECT_TRUE(::zktest::currentTestPassesAsOrdinaryUser());                              \
            return;                                                                                \
        }                                                                                          \
    } while (false)
