#include "base/Log.h"

#include <gtest/gtest.h>

namespace {

// What one text of each level prints under a threshold.
std::string printedUnder(base::LogLevel threshold) {
    const base::LogLevel saved = base::logThreshold();
    base::setLogThreshold(threshold);
    testing::internal::CaptureStdout();
    base::log(base::LogLevel::Debug, "debug");
    base::log(base::LogLevel::Info, "info");
    base::log(base::LogLevel::Warning, "warning");
    base::log(base::LogLevel::Error, "error");
    base::setLogThreshold(saved);
    return testing::internal::GetCapturedStdout();
}

TEST(Log, PrintsLinesAtOrAboveTheThreshold) {
    EXPECT_EQ(printedUnder(base::LogLevel::Debug), "debug\ninfo\nwarning\nerror\n");
    EXPECT_EQ(printedUnder(base::LogLevel::Warning), "warning\nerror\n");
    EXPECT_EQ(printedUnder(base::LogLevel::Off), "");
}

} // namespace
