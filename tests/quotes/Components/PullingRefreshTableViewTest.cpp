#include "Components/PullingRefreshTableView.h"
#include "Components/CMDateInformation.h"

#include "base/VirtualClock.h"
#include "host/Offscreen.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

namespace {

// 12 August 2015, 10:00 at UTC+8.
const base::Date Now = CMDate::dateFromDateInformation({12, 8, 2015, 0, 0, 2, 0}, base::TimeZone::gmt());

struct Rows : ui::TableDataSource {
    int count = 3;
    int numberOfRows(ui::TableView &, int) override { return count; }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &, ui::IndexPath) override {
        return base::make<ui::TableCell>();
    }
};

// The owner: forwards the scroll events and records what the table tells it.
struct Owner : ui::TableDelegate, PullingRefreshTableViewDelegate {
    base::Weak<PullingRefreshTableView> table;
    int refreshes = 0, loads = 0;

    base::Opt<void> didScroll(ui::ScrollView &view) override {
        if (auto t = table.lock())
            t->tableViewDidScroll(view);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &view, bool) override {
        if (auto t = table.lock())
            t->tableViewDidEndDragging(view);
        return {};
    }
    void pullingTableViewDidStartRefreshing(PullingRefreshTableView &) override { ++refreshes; }
    base::Opt<void> pullingTableViewDidStartLoading(PullingRefreshTableView &) override {
        ++loads;
        return {};
    }
};

class PullingTest : public ::testing::Test {
protected:
    std::optional<std::string> savedTz_;
    base::VirtualClock clock{Now.sinceReference()};
    host::TestApp app{&clock};
    base::Ref<Rows> rows = base::make<Rows>();
    base::Ref<Owner> owner = base::make<Owner>();
    base::Ref<PullingRefreshTableView> table;

    void SetUp() override {
        const char *tz = std::getenv("TZ");
        savedTz_ = tz ? std::optional<std::string>(tz) : std::nullopt;
        ::setenv("TZ", "Asia/Shanghai", 1);
        table = PullingRefreshTableView::create({0, 0, 320, 400}, owner);
        owner->table = table;
        table->dataSource = rows;
        table->delegate = owner;
        app.window().addSubview(table);
        app.render();
    }
    void TearDown() override {
        if (savedTz_)
            ::setenv("TZ", savedTz_->c_str(), 1);
        else
            ::unsetenv("TZ");
    }
    // The user holds the table at the offset, then lets go.
    void pullTo(float y) { table->setContentOffset({0, y}); }
    void release() { table->tableViewDidEndDragging(*table); }
    std::string headerText() { return table->headerView().stateLabel().text(); }
    std::string footerText() { return table->footerView().stateLabel().text(); }
};

TEST_F(PullingTest, PullingTheHeaderPastSixtyPointsArmsIt) {
    EXPECT_EQ(table->headerView().frame(), (gfx::Rect{0, -400, 320, 400}));
    EXPECT_EQ(table->footerView().stateLabel().text(), "上拉加载");
    pullTo(-60.5f);
    EXPECT_EQ(headerText(), "释放刷新");
    EXPECT_EQ(table->headerView().arrow().transform(), gfx::Transform::rotation(float(M_PI)));
    pullTo(-30);
    EXPECT_EQ(headerText(), "下拉刷新");
    EXPECT_TRUE(table->headerView().arrow().transform().isIdentity());
    release();
    EXPECT_EQ(owner->refreshes, 0);
    pullTo(-60);
    EXPECT_EQ(headerText(), "下拉刷新") << "exactly 60 changes nothing";
}

TEST_F(PullingTest, ARefreshHoldsTheHeaderUntilTheOwnerFinishes) {
    pullTo(-70);
    release();
    EXPECT_EQ(owner->refreshes, 1);
    EXPECT_EQ(headerText(), "正在刷新");
    EXPECT_EQ(table->contentInset(), (gfx::EdgeInsets{60, 0, 0, 0}));
    pullTo(-90);
    release();
    pullTo(200);
    release();
    EXPECT_EQ(owner->refreshes, 1);
    EXPECT_EQ(owner->loads, 0) << "nothing else starts while one is under way";

    table->tableViewDidFinishedLoading();
    EXPECT_EQ(headerText(), "下拉刷新");
    EXPECT_EQ(table->headerView().dateLabel().text(), "最后更新: 今天 10:00");
    app.advance(PullingRefreshTableView::RefreshResetSeconds);
    EXPECT_EQ(table->contentInset(), gfx::EdgeInsets{});
}

TEST_F(PullingTest, AReleaseWithTheHeaderPullOffStartsNothing) {
    table->setEnableHeaderPull(false);
    EXPECT_TRUE(table->headerView().isHidden());
    pullTo(-70);
    release();
    EXPECT_EQ(owner->refreshes, 0);
    EXPECT_EQ(table->headerView().state(), LoadingView::Release);
}

TEST_F(PullingTest, ShortContentPutsTheFooterAtTheFrameHeightAndLoadsOnAPullUp) {
    EXPECT_EQ(table->footerView().frame().y(), 400);
    pullTo(61); // 61 + 400 - 132 points past the content's end
    EXPECT_EQ(footerText(), "释放加载更多");
    release();
    EXPECT_EQ(owner->loads, 1);
    EXPECT_EQ(footerText(), "正在加载");
    EXPECT_EQ(table->contentInset(), (gfx::EdgeInsets{0, 0, 60, 0}));
}

TEST_F(PullingTest, TheEndSurvivesAPullAndStartsNoLoad) {
    table->setReachedTheEnd(true);
    EXPECT_EQ(footerText(), "没有了哦");
    pullTo(200);
    EXPECT_EQ(footerText(), "没有了哦");
    release();
    EXPECT_EQ(owner->loads, 0);
    table->setReachedTheEnd(false);
    EXPECT_EQ(footerText(), "上拉加载更多");
}

TEST_F(PullingTest, AfterALoadEveryGrowthStepsOnUntilAPullDownRefresh) {
    rows->count = 20; // 880 points of rows
    table->reloadData();
    app.render();
    EXPECT_EQ(table->footerView().frame().y(), 880);
    pullTo(541); // 61 past the end
    release();
    ASSERT_EQ(owner->loads, 1);
    table->tableViewDidFinishedLoading();
    app.advance(PullingRefreshTableView::InsetSeconds);
    const float before = table->contentOffset().y;
    rows->count = 30;
    table->reloadData();
    app.render();
    EXPECT_EQ(table->contentOffset().y, before + 44);
    EXPECT_EQ(table->footerView().frame().y(), 1320);
    rows->count = 40;
    table->reloadData();
    app.render();
    EXPECT_EQ(table->contentOffset().y, before + 88) << "the step repeats while no refresh has started";

    pullTo(-70);
    release();
    ASSERT_EQ(owner->refreshes, 1);
    table->tableViewDidFinishedLoading();
    app.advance(PullingRefreshTableView::RefreshResetSeconds);
    const float settled = table->contentOffset().y;
    rows->count = 50;
    table->reloadData();
    app.render();
    EXPECT_EQ(table->contentOffset().y, settled);
}

TEST_F(PullingTest, TheLastUpdateCountsWholeDays) {
    struct Case {
        double hoursAgo;
        const char *text;
    } cases[] = {
        {39 + 55 / 60.0, "最后更新: 昨天 18:05"}, // 10 August 18:05: one whole day ago
        {23, "最后更新: 今天 11:00"},             // the previous calendar day, but not a whole day ago
        {50, "最后更新: 前天 08:00"},
        {72, "最后更新: 2015-08-09 10:00"},
        {-5, "最后更新: 今天 15:00"},
    };
    for (const Case &c : cases) {
        table->headerView().updateRefreshDate(Now.adding(-c.hoursAgo * 3600), table->dateFormatString);
        EXPECT_EQ(table->headerView().dateLabel().text(), c.text) << c.hoursAgo;
    }
}

TEST_F(PullingTest, AFinishWithNothingLoadingOnlyStampsTheHeader) {
    table->tableViewDidFinishedLoadingWithMessage("已是最新");
    EXPECT_EQ(table->headerView().dateLabel().text(), "最后更新: 今天 10:00");
    EXPECT_EQ(table->footerView().dateLabel().text(), "");
    EXPECT_EQ(table->messageLabel(), nullptr);
    table->flashMessage("已是最新");
    ASSERT_TRUE(table->messageLabel());
    EXPECT_EQ(table->messageLabel()->frame(), (gfx::Rect{0, 0, 320, 20}));
    app.advance(2.0);
    EXPECT_EQ(table->messageLabel(), nullptr);
}

} // namespace
