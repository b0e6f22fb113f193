#include "Module/DetailShowPanel/PopTechSettingsController.h"

#include "Common/FileFunc.h"
#include "Module/StockDataBaseMgnt/Common/TechLine/TechIndex.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"
#include "host/Offscreen.h"
#include "ui/Label.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

// Hears the reports as "NAME p1,p2,...".
struct Host : base::Object, PopTechSettingsControllerDelegate {
    std::vector<std::string> heard;
    base::Opt<void> ReturnSelectedTechName(const std::string &name, const base::Array &params) override {
        std::string text = name + " ";
        for (size_t i = 0; i < params.size(); ++i)
            text += (i ? "," : "") + std::to_string(params[i]["Parameter"].intValue());
        heard.push_back(text);
        return {};
    }
};

std::vector<int64_t> parametersOf(const base::Array &list, const std::string &name) {
    std::vector<int64_t> values;
    for (const base::Value &record : list)
        if (record["TechName"].stringValue() == name) {
            const base::Value params = record["Params"];
            for (const base::Value &param : *params.array())
                values.push_back(param["Parameter"].intValue());
        }
    return values;
}

struct PopTechSettingsTest : ::testing::Test {
    host::TestApp app;
    const std::string file = FileFunc::getFilePath(TechIndex::UserSettingsFile);
    base::Ref<Host> host = base::make<Host>();
    base::Ref<PopTechSettingsController> screen;

    void SetUp() override {
        std::filesystem::remove_all(file);
        DataManager::sharedDataManager().msgboxParentHandle = app.window().weakSelf<ui::View>();
        open();
    }
    void TearDown() override {
        std::filesystem::remove_all(file);
        DataManager::sharedDataManager().msgboxParentHandle.reset();
    }
    void open() {
        screen = base::make<PopTechSettingsController>();
        screen->delegate = host;
        screen->view().setFrame({0, 0, 300, 150});
        app.window().addSubview(screen->viewRef());
        app.render();
    }
    // A tap on the button, and time for the wheels to turn.
    void press(ui::Button *button) {
        ASSERT_TRUE(button && !button->isHidden());
        app.tap(button->convert(gfx::Point{button->bounds().width() / 2, button->bounds().height() / 2},
                                nullptr));
        app.advance(1);
    }
    // Turns wheel c to a value as a finger would, with the report the wheel sends when it settles.
    void turn(int component, int value) {
        ui::PickerView &picker = *screen->paramPickerView();
        picker.selectRow(value - PopTechSettingsController::MinParameter, component, false);
        picker.settled(component, value - PopTechSettingsController::MinParameter);
    }
    std::vector<int> wheels() const {
        std::vector<int> values;
        ui::PickerView &picker = *screen->paramPickerView();
        for (int c = 0; c < picker.numberOfComponents(); ++c)
            values.push_back(picker.selectedRow(c) + PopTechSettingsController::MinParameter);
        return values;
    }
};

TEST_F(PopTechSettingsTest, ButtonsReportTheirIndicatorAndBecomeTheCurrentOne) {
    for (int i = 0; i < PopTechSettingsController::TechCount; ++i)
        EXPECT_EQ(screen->techButton(i)->isEnabled(), i != 0) << i;
    EXPECT_EQ(screen->techButton(6)->currentTitle(), "KDJ");
    EXPECT_EQ(screen->techButton(6)->tag, 407);
    EXPECT_EQ(screen->techButton(7)->frame(), (gfx::Rect{225, 32, 75, 28}));

    press(screen->techButton(6));
    EXPECT_EQ(host->heard, std::vector<std::string>{"KDJ 9,3,3"});
    EXPECT_EQ(screen->currentIndex(), 6);
    EXPECT_FALSE(screen->techButton(6)->isEnabled());
    EXPECT_TRUE(screen->techButton(0)->isEnabled());
}

TEST_F(PopTechSettingsTest, ParameterModeMakesOneWheelAndLabelPerParameter) {
    press(screen->techButton(6));
    press(screen->paramSetBtn());
    EXPECT_TRUE(screen->techButton(0)->isHidden());
    EXPECT_FALSE(screen->applyBtn()->isHidden());
    ASSERT_EQ(screen->componentCount(), 3);
    EXPECT_NEAR(screen->rowWidth(), 93.33, 0.01);
    EXPECT_EQ(wheels(), (std::vector<int>{9, 3, 3}));
    const float xs[] = {15, 108.33f, 201.67f};
    for (int i = 0; i < 3; ++i) {
        auto label = dynamic_cast<ui::Label *>(
            screen->view().viewWithTag(PopTechSettingsController::LabelTagBase + i));
        ASSERT_TRUE(label);
        EXPECT_NEAR(label->frame().x(), xs[i], 0.01);
        EXPECT_NEAR(label->frame().width(), 93.33, 0.01);
    }
    // The wheels offer 1 to 99: no 0 can be chosen.
    EXPECT_EQ(screen->paramPickerView()->numberOfRows(0), 99);

    screen->ResetCurrentSettings();
    EXPECT_FALSE(screen->techButton(0)->isHidden());
    EXPECT_TRUE(screen->paramPickerView()->isHidden());
    EXPECT_EQ(screen->view().viewWithTag(PopTechSettingsController::LabelTagBase), nullptr);
}

TEST_F(PopTechSettingsTest, RestoringDefaultsPutsTheBundleValuesBackOnWheelsAndList) {
    press(screen->techButton(6));
    press(screen->paramSetBtn());
    turn(0, 5);
    EXPECT_EQ(parametersOf(screen->techIndexArray(), "KDJ"), (std::vector<int64_t>{5, 3, 3}));
    EXPECT_EQ(parametersOf(screen->defaultTechIndexArray(), "KDJ"), (std::vector<int64_t>{9, 3, 3}));
    press(screen->defaultBtn());
    EXPECT_EQ(wheels(), (std::vector<int>{9, 3, 3}));
    EXPECT_EQ(parametersOf(screen->techIndexArray(), "KDJ"), (std::vector<int64_t>{9, 3, 3}));
    EXPECT_FALSE(base::FileManager::exists(file)); // nothing saved yet
}

TEST_F(PopTechSettingsTest, ApplyWritesTheWholeListAndTheEngineUsesIt) {
    press(screen->paramSetBtn()); // VOL, unchanged
    press(screen->applyBtn());
    EXPECT_EQ(host->heard, std::vector<std::string>{"VOL 5,10,20"});
    std::optional<base::Value> saved = base::PropertyList::read(file);
    ASSERT_TRUE(saved && saved->array());
    EXPECT_EQ(saved->array()->size(), screen->defaultTechIndexArray().size());
    EXPECT_FALSE(screen->paramSetBtn()->isHidden());

    press(screen->techButton(6));
    press(screen->paramSetBtn());
    turn(0, 5);
    press(screen->applyBtn());
    EXPECT_EQ(host->heard.back(), "KDJ 5,3,3");
    TechIndex kdj(TechIndex::KDJ, TechIndex::SubClass);
    EXPECT_EQ(kdj.getParamsText(), "KDJ(5,3,3)");

    // A new screen starts from the saved list.
    open();
    EXPECT_EQ(parametersOf(screen->techIndexArray(), "KDJ"), (std::vector<int64_t>{5, 3, 3}));
}

TEST_F(PopTechSettingsTest, FailedSaveShowsTheTipAndStillReportsTheEdits) {
    std::filesystem::create_directories(file); // a folder where the file should go
    press(screen->techButton(8));
    host->heard.clear();
    press(screen->paramSetBtn());
    turn(0, 12);
    press(screen->applyBtn());
    ASSERT_EQ(app.toasts().size(), 1u);
    EXPECT_EQ(app.toasts()[0].text, PopTechSettingsController::SaveFailedTip);
    ASSERT_EQ(host->heard.size(), 1u);
    EXPECT_EQ(host->heard[0].substr(0, 7), "RSI 12,");
    EXPECT_EQ(parametersOf(screen->techIndexArray(), "RSI")[0], 12);
}

} // namespace
