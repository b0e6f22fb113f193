#include "UserFilesFixture.h"

#include "Components/CMAlertView.h"
#include "Module/NewsViewController/BreakingNewsTipView.h"

namespace {

template <class T> std::vector<T *> shown(const ui::View &in) {
    std::vector<T *> found;
    for (const auto &view : in.subviews())
        if (auto *match = dynamic_cast<T *>(view.get()))
            found.push_back(match);
    return found;
}

TEST_F(UserFiles, MessageBoxIsCentredOnTheHostAndGoesAfterItsTime) {
    dm.ShowAlertView("该股已存在自选股中");
    auto boxes = shown<CMAlertView>(app.window());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->frame(), (gfx::Rect{402, 334, 220, 100}));
    EXPECT_EQ(boxes[0]->infoLabel().text(), "该股已存在自选股中");

    app.advance(2.4);
    EXPECT_EQ(shown<CMAlertView>(app.window()).size(), 1u);
    app.advance(0.2);
    EXPECT_TRUE(shown<CMAlertView>(app.window()).empty());
}

TEST_F(UserFiles, MessageBoxIsCentredInTheParentsOwnSpace) {
    auto parent = base::make<ui::View>(gfx::Rect{100, 50, 400, 300});
    app.window().addSubview(parent);
    dm.ShowAlertView("提示文字", parent.get());
    auto boxes = shown<CMAlertView>(*parent);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->frame(), (gfx::Rect{90, 100, 220, 100}));
}

TEST_F(UserFiles, WithoutAHostViewNoTipIsShown) {
    dm.msgboxParentHandle.reset();
    dm.ShowAlertView("看不见");
    dm.ShowBreakingNews("实时解盘", "", "看不见");
    EXPECT_TRUE(app.toasts().empty());
    EXPECT_TRUE(app.window().subviews().empty());
}

TEST_F(UserFiles, NetworkAlertIsShownAgainWithEachText) {
    dm.ShowAlertTipInfo("网络连接已断开，正在重连服务器...");
    dm.ShowAlertTipInfo("网络连接已断开，请检查本地网络是否畅通...");
    ASSERT_EQ(app.visibleAlerts().size(), 1u);
    ASSERT_EQ(app.alerts().size(), 2u);
    EXPECT_EQ(app.alerts()[0].message, "网络连接已断开，正在重连服务器...");
    EXPECT_EQ(app.alerts()[0].dismissedWith, 0);
    EXPECT_EQ(app.alerts()[1].title, "提示");
    EXPECT_EQ(app.alerts()[1].message, "网络连接已断开，请检查本地网络是否畅通...");
    EXPECT_EQ(app.alerts()[1].buttons, std::vector<std::string>{"关闭"});

    dm.removeShowAlertTipInfo();
    EXPECT_TRUE(app.visibleAlerts().empty());
    dm.removeShowAlertTipInfo();
}

TEST_F(UserFiles, BreakingNewsTipCarriesTheTextsAndGoesAfterThreeSeconds) {
    dm.ShowBreakingNews("实时解盘", "10:30", "沪指午后拉升");
    auto tips = shown<BreakingNewsTipView>(app.window());
    ASSERT_EQ(tips.size(), 1u);
    EXPECT_EQ(tips[0]->frame(), (gfx::Rect{10, 64, 300, 160}));
    EXPECT_EQ(tips[0]->titleLabel().text(), "实时解盘");
    EXPECT_EQ(tips[0]->dateTimeLabel().text(), "10:30");
    EXPECT_EQ(tips[0]->newsLabel().text(), "沪指午后拉升");

    app.advance(2.9);
    EXPECT_EQ(shown<BreakingNewsTipView>(app.window()).size(), 1u);
    app.advance(0.2);
    EXPECT_TRUE(shown<BreakingNewsTipView>(app.window()).empty());
}

} // namespace
