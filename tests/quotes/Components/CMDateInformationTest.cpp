#include "Components/CMDateInformation.h"
#include "Components/CMGlobal.h"

#include "base/Bundle.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

base::Date gmt(int year, int month, int day, int hour = 0) {
    return CMDate::dateFromDateInformation({day, month, year, 0, 0, hour, 0}, base::TimeZone::gmt());
}

// Runs with the device in one zone, restoring $TZ afterwards.
class ZonedDates : public ::testing::TestWithParam<const char *> {
protected:
    void SetUp() override {
        const char *tz = std::getenv("TZ");
        saved_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", GetParam(), 1);
    }
    void TearDown() override {
        if (saved_)
            ::setenv("TZ", saved_->c_str(), 1);
        else
            ::unsetenv("TZ");
    }
    std::optional<std::string> saved_;
};

TEST_P(ZonedDates, MonthsStepFromMidnightGmtOnTheFirstWhateverTheDeviceZone) {
    // 15 March 2012 03:00 at UTC+8 is 14 March 19:00 GMT.
    const base::Date march15 = gmt(2012, 3, 14, 19);
    EXPECT_EQ(CMDate::firstOfMonth(march15), gmt(2012, 3, 1));
    EXPECT_EQ(CMDate::nextMonth(gmt(2012, 12, 1)), gmt(2013, 1, 1));
    EXPECT_EQ(CMDate::previousMonth(gmt(2013, 1, 1)), gmt(2012, 12, 1));
    EXPECT_EQ(CMDate::nextMonth(gmt(2012, 1, 1, 15)), gmt(2012, 2, 1)) << "the time of day is dropped";
    EXPECT_EQ(CMDate::daysBetweenDate(gmt(2012, 2, 1), gmt(2012, 3, 1)), 29);
    EXPECT_EQ(CMDate::daysBetweenDate(gmt(2012, 3, 1), gmt(2012, 2, 1)), 29);
    EXPECT_EQ(CMDate::daysBetweenDate(gmt(2012, 3, 1), gmt(2012, 3, 1).adding(-3600)), 0);
}

TEST_P(ZonedDates, FieldsRollOverAndRoundTripInTheDeviceZone) {
    EXPECT_EQ(CMDate::dateFromDateInformation({0, 3, 2012, 0, 0, 0, 0}, base::TimeZone::gmt()),
              gmt(2012, 2, 29));
    EXPECT_EQ(CMDate::dateFromDateInformation({1, 13, 2012, 0, 0, 0, 0}, base::TimeZone::gmt()),
              gmt(2013, 1, 1));
    const CMDateInformation info = CMDate::dateInformation(gmt(2015, 8, 1, 12));
    EXPECT_EQ(CMDate::dateFromDateInformation(info), gmt(2015, 8, 1, 12));
    const CMDateInformation utc = CMDate::dateInformation(gmt(2015, 8, 1, 12), base::TimeZone::gmt());
    EXPECT_EQ(utc, (CMDateInformation{1, 8, 2015, 7, 0, 12, 0})); // a Saturday
}

INSTANTIATE_TEST_SUITE_P(EastAndWest, ZonedDates, ::testing::Values("Asia/Shanghai", "America/New_York"));

TEST(CMGlobal, BundlePathsAndScaleAwarePictures) {
    EXPECT_EQ(CMGlobal::fullBundlePath("MonthCalendar.bundle/Images"),
              base::Bundle::main().resourcePath() + "/MonthCalendar.bundle/Images");
    // The screen's scale is 1: the plain file.
    auto arrow = CMGlobal::imageNamedTK("MonthCalendar.bundle/Images/calendar/Month Calendar Left Arrow");
    ASSERT_TRUE(arrow);
    EXPECT_EQ(arrow->scale(), 1);
    EXPECT_EQ(arrow->size(), (gfx::Size{44, 44}));
    EXPECT_FALSE(CMGlobal::imageNamedTK("MonthCalendar.bundle/Images/calendar/No Such Picture"));
}

} // namespace
