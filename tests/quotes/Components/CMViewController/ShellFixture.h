#pragma once

#include "Components/CMViewController.h"
#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "host/Offscreen.h"
#include "ui/NavigationController.h"

#include <gtest/gtest.h>

namespace shell {

// A top-level screen that asks for a set of bar elements when its view loads and counts the trade
// button's taps.
struct ShellScreen : CMViewController {
    struct Bar {
        bool settings = false, help = false, trader = false, news = false, alarm = false, search = false;
    } bar;
    int trades = 0;

    void viewDidLoad() override {
        SetNavigationWithShowSettings(bar.settings, bar.help, bar.trader);
        SetNavigationWithShowBreakingNews(bar.news);
        SetNavigationWithShowStockAlarm(bar.alarm);
        if (bar.search)
            SetNavigationWithSearchBar();
    }
    base::Opt<void> traderButtonAction(ui::View &) override {
        ++trades;
        return {};
    }
};

// An offscreen window, the user's files and the quote coordinator fresh for each test, and the
// screens put in it under a navigation controller.
class ShellTest : public ::testing::Test {
protected:
    ShellTest();
    ~ShellTest() override;

    base::Ref<ShellScreen> makeScreen(ShellScreen::Bar bar);
    // The screen as the root of a navigation controller in the window.
    base::Ref<ui::NavigationController> show(base::Ref<CMViewController> screen);
    // The middle of a view, in window coordinates.
    static gfx::Point centre(ui::View &view);
    static ui::NavigationController &navOf(ui::Popover &popover);
    static SearchMyStockContentController &searchOf(CMViewController &screen);
    static ui::View &settingsControl(CMViewController &screen);
    static RealNews &breakingNews();

    host::TestApp app;
};

} // namespace shell
