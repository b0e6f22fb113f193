#include "Class/Module/CommonControls/TradeDateRange/TradeDateRange.h"
#include "Class/Module/CommonControls/TradePageStrip/TradePageStrip.h"
#include "Components/CMDateInformation.h"

#include "base/RunLoop.h"
#include "base/VirtualClock.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

namespace {

base::Date gmt(int year, int month, int day, int hour = 0) {
    return CMDate::dateFromDateInformation({day, month, year, 0, 0, hour, 0}, base::TimeZone::gmt());
}

struct Owner : base::Object, TradeDateRangeDelegate, TradePageStripDelegate {
    int toggled = 0, prev = 0, next = 0;
    base::Opt<void> dateRangeCalendarToggled(TradeDateRange &) override {
        return ++toggled, base::Opt<void>{};
    }
    base::Opt<void> prevPageAction() override { return ++prev, base::Opt<void>{}; }
    base::Opt<void> nextPageAction() override { return ++next, base::Opt<void>{}; }
};

// A date row as the query panels lay it, on 12 August 2015 at noon.
class DateRangeTest : public ::testing::Test {
protected:
    base::VirtualClock clock{gmt(2015, 8, 12, 12).sinceReference()};
    host::TestApp app{&clock};
    base::Ref<ui::View> host = base::make<ui::View>(gfx::Rect{0, 0, 320, 654});
    base::Ref<Owner> owner = base::make<Owner>();
    base::Ref<TradeDateRange> range;

    void SetUp() override {
        app.window().addSubview(host);
        range = TradeDateRange::create(*host, {20, 43}, {135, 43}, {0, 119});
        range->delegate = owner;
    }
    void tap(gfx::Point point) {
        app.tap(point);
        base::RunLoop::main().runOnce(base::RunLoop::Default, 0);
    }
    void advance(double seconds) {
        clock.advance(seconds);
        while (base::RunLoop::main().runOnce(base::RunLoop::Default, 0)) {
        }
    }
    // The window point of the day's cell in an open calendar showing August 2015 (the grid starts
    // on Sunday 26 July).
    gfx::Point august(int day) {
        int index = day + 5;
        return {46.f * float(index % 7) + 23, 119 + 44 + 1 + 44.f * float(index / 7) + 22};
    }
};

TEST_F(DateRangeTest, ButtonsShowTodayAndCalendarsWaitHiddenOverTheTable) {
    EXPECT_EQ(range->startDate(), "2015-08-12");
    EXPECT_EQ(range->endDate(), "2015-08-12");
    EXPECT_EQ(range->startDateBtn().frame(), (gfx::Rect{20, 43, 100, 28}));
    EXPECT_EQ(range->endDateBtn().frame(), (gfx::Rect{135, 43, 100, 28}));
    for (CMCalendarMonthView *calendar : {&range->calendar(), &range->endCalendar()}) {
        EXPECT_TRUE(calendar->isHidden());
        EXPECT_EQ(calendar->frame(), (gfx::Rect{0, 119, 320, calendar->frame().height()}));
        EXPECT_EQ(calendar->superview(), host.get());
    }
    EXPECT_EQ(range->currentCal(), nullptr);
    auto caption = std::dynamic_pointer_cast<ui::Label>(range->endCalendar().subviews().back());
    ASSERT_TRUE(caption);
    EXPECT_EQ(caption->text(), "结束查询日期");
    EXPECT_EQ(caption->frame(), (gfx::Rect{0, 0, 320, 10}));
}

TEST_F(DateRangeTest, AButtonOpensItsCalendarAndClosesItOverThreeQuartersOfASecond) {
    tap({70, 57});
    EXPECT_FALSE(range->calendar().isHidden());
    EXPECT_EQ(range->currentCal(), &range->calendar());
    EXPECT_EQ(owner->toggled, 1);

    tap({70, 57});
    EXPECT_EQ(owner->toggled, 2);
    EXPECT_FALSE(range->isOpen(range->calendar()));
    advance(0.7);
    EXPECT_FALSE(range->calendar().isHidden()) << "still fading";
    advance(0.1);
    EXPECT_TRUE(range->calendar().isHidden());
    EXPECT_EQ(range->calendar().alpha(), 1.f) << "ready to open again";
}

TEST_F(DateRangeTest, TheOtherButtonClosesTheCalendarOpenedLastAtOnce) {
    range->startDateAction();
    advance(0.8);
    range->endDateAction();
    EXPECT_TRUE(range->calendar().isHidden());
    EXPECT_FALSE(range->endCalendar().isHidden());
    EXPECT_EQ(range->currentCal(), &range->endCalendar());
    // Reopening while the close fades keeps it open.
    range->endDateAction();
    range->endDateAction();
    advance(0.8);
    EXPECT_FALSE(range->endCalendar().isHidden());
}

TEST_F(DateRangeTest, ATappedDayFillsItsButtonAndClosesItsCalendar) {
    range->endDateAction();
    advance(0.8);
    tap(august(3));
    EXPECT_EQ(range->endDate(), "2015-08-03");
    EXPECT_EQ(range->startDate(), "2015-08-12");
    EXPECT_TRUE(range->endCalendar().isHidden());
    EXPECT_EQ(owner->toggled, 1) << "closing by a day is no toggle";

    range->startDateAction();
    advance(0.8);
    tap(august(1));
    EXPECT_EQ(range->startDate(), "2015-08-01");
}

TEST_F(DateRangeTest, NoDayIsMarked) {
    std::vector<bool> marks = range->marksFromDate(range->calendar(), gmt(2015, 7, 26), gmt(2015, 9, 5));
    EXPECT_EQ(marks.size(), 42u);
    EXPECT_EQ(std::count(marks.begin(), marks.end(), true), 0);
}

TEST(TradePageStrip, RowsAreNumberedAcrossPagesAndWrittenDigitByDigit) {
    struct Case {
        int page, row;
        const char *vertical;
    } cases[] = {{0, 0, "1\n"}, {0, 14, "1\n5\n"}, {1, 0, "1\n6\n"}, {6, 10, "1\n0\n1\n"}};
    for (const Case &c : cases) {
        int n = TradePageStrip::SerialNumber(c.page, c.row);
        EXPECT_EQ(TradePageStrip::FormatSerialNumberVertical(n), c.vertical) << n;
    }
}

TEST(TradePageStrip, ButtonsPageTheOwner) {
    base::VirtualClock clock{0};
    host::TestApp app{&clock};
    auto strip = base::make<TradePageStrip>(gfx::Rect{0, 75, 320, 28}, 210, 213, 263);
    auto owner = base::make<Owner>();
    strip->delegate = owner;
    app.window().addSubview(strip);
    EXPECT_EQ(strip->pageInfoLabel().frame(), (gfx::Rect{3, 0, 210, 28}));
    EXPECT_EQ(strip->prevButton().frame(), (gfx::Rect{213, 0, 50, 28}));
    EXPECT_EQ(strip->nextButton().frame(), (gfx::Rect{263, 0, 50, 28}));
    EXPECT_EQ(strip->pageInfo(), "");
    app.tap({238, 89});
    app.tap({288, 89});
    app.tap({288, 89});
    EXPECT_EQ(owner->prev, 1);
    EXPECT_EQ(owner->next, 2);
}

} // namespace
