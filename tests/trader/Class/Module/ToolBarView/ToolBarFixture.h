#pragma once

#include "Class/Module/ToolBarView/TraderToolBarView.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "host/Offscreen.h"
#include "peers/LoopDriver.h"
#include "peers/TradeGateway.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace toolbar {

constexpr const char *kBroker = "本地券商";
constexpr const char *kMobile = "13800138000";
constexpr const char *kCode = "123456";
constexpr const char *kAccount = "880001";
constexpr const char *kPassword = "123456";
inline const gfx::Rect kBarFrame{974, 65, 50, 654};

// The process-wide trade connection logged in to the loopback gateway, an offscreen window whose
// root controller hosts the bar as the tab-bar controller does, and the trade message centre's lock
// timer, all on the main run loop under a virtual clock. No settings file in the documents.
class ToolBarTest : public ::testing::Test {
protected:
    ToolBarTest();
    ~ToolBarTest() override;

    // Phone check and login on the gateway.
    void logIn();
    // A bar shown as the application delegate shows it, its slide over.
    base::Ref<TraderToolBarView> showBar();
    // Taps the view's centre where it lies in the window, then runs until idle.
    void tap(ui::View &view);
    void press(int tag) { tap(*bar->button(tag)); }
    // Lets the slides end.
    void settleSlides() { driver.advance(0.2); }
    void settle();
    bool lockCounting() const;
    // The open panel, as its class.
    template <class T> base::Ref<T> panel() const { return std::dynamic_pointer_cast<T>(bar->prevView()); }
    std::vector<std::string> alertTexts() const;
    // The functions the gateway received since the mark, heartbeats left out; moves the mark.
    std::vector<int> sentSince(size_t &seen) const;
    std::vector<std::string> tipTexts() const;
    // "LaunchTrader" messages posted since the start.
    int launches() const { return launches_; }

    base::VirtualClock clock;
    host::TestApp app{&clock};
    peers::LoopDriver driver{clock};
    std::unique_ptr<peers::TradeGateway> gateway;
    base::Ref<TradeDataBase> db;
    base::Ref<ui::ViewController> host;
    base::Ref<TraderToolBarView> bar;

private:
    int launches_ = 0;
    base::Ref<base::Object> observer_ = base::make<base::Object>();
};

} // namespace toolbar
