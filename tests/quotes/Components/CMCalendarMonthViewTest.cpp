#include "Components/CMCalendarMonthView.h"
#include "Components/CMDateInformation.h"
#include "Golden.h"

#include "base/VirtualClock.h"
#include "host/Offscreen.h"
#include "ui/Animator.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

base::Date gmt(int year, int month, int day, int hour = 0) {
    return CMDate::dateFromDateInformation({day, month, year, 0, 0, hour, 0}, base::TimeZone::gmt());
}

// Sets an environment variable for the life of the object.
class PinnedEnv {
public:
    PinnedEnv(const char *name, const char *value) : name_(name) {
        const char *old = std::getenv(name);
        saved_ = old ? std::optional<std::string>(old) : std::nullopt;
        ::setenv(name, value, 1);
    }
    ~PinnedEnv() {
        if (saved_)
            ::setenv(name_, saved_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char *name_;
    std::optional<std::string> saved_;
};

struct Owner : base::Object, CMCalendarMonthViewDelegate, CMCalendarMonthViewDataSource {
    std::vector<std::pair<base::Date, base::Date>> asked;
    std::vector<bool> marks;
    std::vector<base::Date> selected, changed;

    std::vector<bool> marksFromDate(CMCalendarMonthView &, base::Date from, base::Date to) override {
        asked.emplace_back(from, to);
        return marks;
    }
    base::Opt<void> didSelectDate(CMCalendarMonthView &, base::Date date) override {
        selected.push_back(date);
        return {};
    }
    base::Opt<void> monthDidChange(CMCalendarMonthView &, base::Date date) override {
        changed.push_back(date);
        return {};
    }
};

// The calendar at the window's origin on 12 August 2015, in the device zone of the parameter.
class CalendarTest : public ::testing::TestWithParam<const char *> {
protected:
    PinnedEnv zone{"TZ", GetParam()};
    PinnedEnv language{"LC_ALL", "zh_CN.UTF-8"};
    base::VirtualClock clock{gmt(2015, 8, 12, 4).sinceReference()};
    host::TestApp app{&clock};
    base::Ref<Owner> owner = base::make<Owner>();
    base::Ref<CMCalendarMonthView> calendar = CMCalendarMonthView::create();

    void SetUp() override {
        calendar->delegate = owner;
        calendar->dataSource = owner;
        app.window().addSubview(calendar);
        calendar->reload();
    }
    // The window point in the middle of grid cell `index` of the shown month.
    gfx::Point cell(int index) {
        return {46.f * float(index % 7) + 23, 44 + 1 + 44.f * float(index / 7) + 22};
    }
    float shownY(ui::View &view) {
        const ui::Look look = ui::Animator::shared().presentation(view);
        return look.center.y - look.bounds.height() / 2;
    }
};

TEST_P(CalendarTest, OpensOnTodaysMonthWithTodayMarked) {
    EXPECT_EQ(calendar->monthDate(), gmt(2015, 8, 1));
    EXPECT_EQ(calendar->currentTile().today(), 12);
    EXPECT_EQ(calendar->frame(), (gfx::Rect{0, 0, 320, 309}));
    EXPECT_EQ(calendar->tileBox().frame(), (gfx::Rect{0, 44, 320, 265}));
    EXPECT_EQ(calendar->monthYear().text(), CMDate::month(gmt(2015, 8, 1), base::TimeZone::gmt()) + " 2015");
    ASSERT_EQ(owner->asked.size(), 1u);
    EXPECT_EQ(owner->asked[0], std::make_pair(gmt(2015, 7, 26), gmt(2015, 9, 5)));
}

TEST_P(CalendarTest, GridsCoverWholeWeeks) {
    struct Case {
        const char *what;
        base::Date month;
        bool sunday;
        int firstOfPrev, lastOfPrev, rows;
        base::Date first, last;
    } cases[] = {
        {"Feb 2015, Sunday first", gmt(2015, 2, 1), true, -1, 0, 4, gmt(2015, 2, 1), gmt(2015, 2, 28)},
        {"Aug 2015, Sunday first", gmt(2015, 8, 1), true, 26, 31, 6, gmt(2015, 7, 26), gmt(2015, 9, 5)},
        {"Nov 2015, Monday first", gmt(2015, 11, 1), false, 26, 31, 6, gmt(2015, 10, 26), gmt(2015, 12, 6)},
        {"Jun 2015, Monday first", gmt(2015, 6, 1), false, -1, 0, 5, gmt(2015, 6, 1), gmt(2015, 7, 5)},
        {"Feb 2015, Monday first", gmt(2015, 2, 1), false, 26, 31, 5, gmt(2015, 1, 26), gmt(2015, 3, 1)},
    };
    for (const Case &c : cases) {
        auto grid = CMCalendarMonthTiles::create(c.month, {}, c.sunday);
        EXPECT_EQ(grid->firstOfPrev(), c.firstOfPrev) << c.what;
        if (c.firstOfPrev > 0) {
            EXPECT_EQ(grid->lastOfPrev(), c.lastOfPrev) << c.what;
        }
        EXPECT_EQ(grid->rows(), c.rows) << c.what;
        EXPECT_EQ(grid->frame(), (gfx::Rect{0, 1, 320, 44.f * float(c.rows) + 1})) << c.what;
        const auto range = CMCalendarMonthTiles::rangeOfDatesInMonthGrid(c.month.adding(86400 * 9), c.sunday);
        EXPECT_EQ(range[0], c.first) << c.what;
        EXPECT_EQ(range[1], c.last) << c.what;
    }
    calendar->selectDate(gmt(2015, 2, 14, 4));
    EXPECT_EQ(calendar->frame().height(), 221);
    EXPECT_EQ(calendar->currentTile().frame().height(), 177);
    EXPECT_EQ(calendar->shadow().frame().y(), 221 - calendar->shadow().frame().height() + 21);
}

TEST_P(CalendarTest, ArrowsSlideTheNextMonthInSharingTheCommonRow) {
    struct Case {
        base::Date from;
        float startY; // where the new grid starts, in the tile box
        base::Date to;
    } cases[] = {
        {gmt(2015, 8, 1), 265 - 44, gmt(2015, 9, 1)}, // 1 September lies in August's last row
        {gmt(2015, 1, 1), 221, gmt(2015, 2, 1)},      // February begins a row of its own
    };
    for (const Case &c : cases) {
        calendar->selectDate(c.from.adding(86400 * 3));
        owner->changed.clear();
        app.tap({299, 19});
        EXPECT_EQ(calendar->monthDate(), c.to);
        EXPECT_EQ(shownY(calendar->currentTile()), c.startY);
        EXPECT_EQ(owner->changed, std::vector<base::Date>{c.to});
        EXPECT_FALSE(calendar->userInteractionEnabled);
        ASSERT_TRUE(calendar->oldTile());
        app.advance(CMCalendarMonthView::SwitchSeconds);
        EXPECT_EQ(calendar->oldTile(), nullptr);
        EXPECT_TRUE(calendar->userInteractionEnabled);
        EXPECT_EQ(calendar->currentTile().frame().y(), 1);
        EXPECT_EQ(calendar->currentTile().superview(), &calendar->tileBox());
        EXPECT_EQ(calendar->tileBox().subviews().size(), 1u);
        EXPECT_EQ(calendar->frame().height(), 44 + calendar->currentTile().frame().height());
    }
    app.tap({20, 19});
    EXPECT_EQ(calendar->monthDate(), gmt(2015, 1, 1));
    EXPECT_EQ(shownY(calendar->currentTile()), -221) << "January ends on a Saturday, before February's grid";
}

TEST_P(CalendarTest, AGreyDayHighlightsWhileDownAndSwitchesMonthOnLift) {
    // Cell 2 of August 2015's grid is 28 July.
    app.touchDown(1, cell(2));
    CMCalendarMonthTiles &august = calendar->currentTile();
    EXPECT_EQ(august.selectedImageView().frame().o, (gfx::Point{92, -1}));
    EXPECT_EQ(august.currentDay().text(), "28");
    EXPECT_EQ(august.selectedDay(), 0);
    EXPECT_TRUE(owner->changed.empty());
    app.touchUp(1);
    EXPECT_EQ(calendar->monthDate(), gmt(2015, 7, 1));
    EXPECT_EQ(calendar->currentTile().selectedDay(), 28);
    EXPECT_EQ(calendar->dateSelected(), gmt(2015, 7, 28));
    EXPECT_TRUE(owner->selected.empty());
    ASSERT_EQ(owner->changed.size(), 1u);
    const CMDateInformation reported = CMDate::dateInformation(owner->changed[0]);
    EXPECT_EQ(reported.month, 7) << "the reported day lies in the new month in the device's zone";
    EXPECT_EQ(reported.day, 28);
    const CMDateInformation midnight = CMDate::dateInformation(gmt(2015, 7, 1));
    EXPECT_EQ(reported.hour, midnight.hour);
}

TEST_P(CalendarTest, DraggingReportsEachNewDayAndNothingBesideTheGrid) {
    // 10, 11 and 12 August sit in cells 15 to 17.
    app.touchDown(1, cell(15));
    app.touchMove(1, cell(15));
    app.touchMove(1, cell(16));
    app.touchMove(1, cell(17));
    app.touchMove(1, {330, cell(17).y});
    app.touchMove(1, {-5, cell(14).y});
    app.touchUp(1);
    EXPECT_EQ(owner->selected,
              (std::vector<base::Date>{gmt(2015, 8, 10), gmt(2015, 8, 11), gmt(2015, 8, 12)}));
    EXPECT_EQ(calendar->dateSelected(), gmt(2015, 8, 12));
    EXPECT_TRUE(owner->changed.empty());
}

TEST_P(CalendarTest, SelectingADateOfTheShownMonthOnlyMovesTheHighlight) {
    CMCalendarMonthTiles *august = &calendar->currentTile();
    calendar->selectDate(gmt(2015, 8, 20, 4));
    EXPECT_EQ(&calendar->currentTile(), august);
    EXPECT_EQ(august->selectedImageView().frame().o, (gfx::Point{46 * 4, 44 * 3 - 1}));
    EXPECT_TRUE(owner->selected.empty());
    EXPECT_TRUE(owner->changed.empty());
    calendar->reload();
    EXPECT_NE(&calendar->currentTile(), august);
    EXPECT_EQ(calendar->dateSelected(), std::nullopt);
    EXPECT_EQ(owner->asked.size(), 2u);
}

TEST_P(CalendarTest, GoldenMonthWithMarksAndToday) {
    owner->marks = {false, false, false, false, false, false, false, false, true, false, false, true};
    calendar->reload(); // short of the grid: the missing cells have no mark
    calendar->selectDate(gmt(2015, 8, 6, 4));
    gfx::Surface window = app.render();
    gfx::Surface shot(320, 309);
    gfx::Context context(shot);
    context.drawImage({0, 0, float(window.width()), float(window.height())}, gfx::Image(window));
    EXPECT_TRUE(qvtest::matchesGolden(shot, "common/month-calendar", 48));
}

INSTANTIATE_TEST_SUITE_P(EastAndWest, CalendarTest, ::testing::Values("Asia/Shanghai", "America/New_York"));

TEST(CMCalendarMonthTiles, TheBottomEdgeIsTheLastRowAndTouchesBesideAreIgnored) {
    host::TestApp app;
    struct Picks : base::Object {
        std::vector<std::vector<int>> got;
    };
    auto picks = base::make<Picks>();
    auto grid = CMCalendarMonthTiles::create(gmt(2015, 8, 1), {}, true);
    grid->setTarget(picks, [&](const std::vector<int> &selection) { picks->got.push_back(selection); });
    app.window().addSubview(grid);
    // The grid lies at y 1 and is 265 high; its last point row counts as the sixth week row.
    app.tap({23, 1 + 264.5f});
    app.tap({340, 100});
    app.tap({300, 1 + 5 * 44 + 10}); // 5 September, on lift
    EXPECT_EQ(picks->got, (std::vector<std::vector<int>>{{30}, {5, 2}}));
}

} // namespace
