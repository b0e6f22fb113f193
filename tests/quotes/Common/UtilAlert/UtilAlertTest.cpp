#include "Common/Util.h"

#include "Components/CMAlertView.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "gfx/Image.h"
#include "host/Offscreen.h"
#include "ui/Button.h"

#include <gtest/gtest.h>

namespace {

struct UtilAlertTest : ::testing::Test {
    host::TestApp app;
};

TEST_F(UtilAlertTest, InfoBoxIsAModalAlertWithOneCloseButton) {
    Util::ShowInfoBox("自选股已成功上传到服务器", "自选股同步");
    Util::ShowInfoBox("密码错误");
    ASSERT_EQ(app.alerts().size(), 2u);
    EXPECT_EQ(app.alerts()[0].title, "自选股同步");
    EXPECT_EQ(app.alerts()[0].message, "自选股已成功上传到服务器");
    EXPECT_EQ(app.alerts()[1].title, "提示");
    EXPECT_EQ(app.alerts()[1].buttons, std::vector<std::string>{"关闭"});
    EXPECT_EQ(app.visibleAlerts().size(), 2u);

    EXPECT_TRUE(app.pressAlertButton(0));
    EXPECT_EQ(app.alerts()[1].dismissedWith, 0);
    EXPECT_EQ(app.visibleAlerts().size(), 1u);
}

TEST_F(UtilAlertTest, TipBoxIsTheMessageBoxOverTheMainView) {
    DataManager &dm = DataManager::sharedDataManager();
    dm.msgboxParentHandle = app.window().weakSelf<ui::View>();
    Util::ShowTipBox("！！！！！！致命错误，请求号不匹配(2936 != 2955)，断开连接！！！！！！");
    ASSERT_EQ(app.toasts().size(), 1u);
    EXPECT_EQ(app.toasts()[0].text, "！！！！！！致命错误，请求号不匹配(2936 != 2955)，断开连接！！！！！！");
    ASSERT_EQ(app.window().subviews().size(), 1u);
    EXPECT_NE(dynamic_cast<CMAlertView *>(app.window().subviews()[0].get()), nullptr);
    app.advance(2.5);
    EXPECT_TRUE(app.window().subviews().empty());
    dm.msgboxParentHandle.reset();
}

std::vector<ui::Label *> labelsIn(ui::Button &btn) {
    std::vector<ui::Label *> labels;
    for (const auto &view : btn.subviews())
        if (auto *label = dynamic_cast<ui::Label *>(view.get()); label && label != &btn.titleLabel())
            labels.push_back(label);
    return labels;
}

TEST(UtilButtons, ImageButtonKeepsItsImageOnlyWhenGiven) {
    auto image = gfx::Image::named("selbox.png");
    for (const auto &given : {image, base::Ref<gfx::Image>()}) {
        auto btn = ui::Button::custom({0, 0, 40, 40});
        Util::setImgBtnProp(*btn, given);
        EXPECT_EQ(btn->imageForState(ui::Normal), given);
        EXPECT_EQ(*btn->backgroundColor(), *gfx::Color::clear());
    }
}

TEST(UtilButtons, SelectionBoxTakesItsSizeOnlyWhenItHasNone) {
    struct Case {
        gfx::Rect frame, expected;
    };
    for (const Case &c : {Case{{0, 0, 0, 30}, {0, 0, 120, 28}}, Case{{5, 5, 90, 30}, {5, 5, 90, 30}}}) {
        auto btn = ui::Button::custom(c.frame);
        Util::setSelBoxBtnProp(*btn, "日K线", 120, 28);
        EXPECT_EQ(btn->frame(), c.expected);
        auto *label = dynamic_cast<ui::Label *>(btn->viewWithTag(66));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->frame(), (gfx::Rect{0, 0, 106, 28}));
        EXPECT_EQ(label->text(), "日K线");
        ASSERT_TRUE(btn->backgroundImageForState(ui::Normal));
        EXPECT_EQ(btn->backgroundImageForState(ui::Normal)->leftCap(), 10);

        Util::setSelBoxTitle(*btn, "周K线");
        EXPECT_EQ(label->text(), "周K线");
    }
    auto plain = ui::Button::custom({0, 0, 40, 40});
    Util::setSelBoxTitle(*plain, "无标签");
}

TEST(UtilButtons, VerticalTitleSpreadsLongTitlesOneCharacterPerLabel) {
    auto shortTitle = ui::Button::custom({0, 0, 30, 100});
    Util::setVertBtnProp(*shortTitle, nullptr, "涨\n幅");
    ASSERT_EQ(labelsIn(*shortTitle).size(), 1u);
    EXPECT_EQ(labelsIn(*shortTitle)[0]->text(), "涨幅");
    EXPECT_EQ(labelsIn(*shortTitle)[0]->frame(), (gfx::Rect{4, 0, 26, 100}));

    auto longTitle = ui::Button::custom({0, 0, 30, 126});
    Util::setVertBtnProp(*longTitle, nullptr, "成交\n金额排名");
    std::vector<ui::Label *> labels = labelsIn(*longTitle);
    ASSERT_EQ(labels.size(), 6u);
    EXPECT_EQ(labels[0]->text(), "成");
    EXPECT_EQ(labels[0]->frame(), (gfx::Rect{4, 3, 26, 20}));
    EXPECT_EQ(labels[5]->text(), "名");
    EXPECT_EQ(labels[5]->frame(), (gfx::Rect{4, 103, 26, 20}));
}

} // namespace
