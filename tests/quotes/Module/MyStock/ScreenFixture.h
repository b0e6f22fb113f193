#pragma once

#include "CoordinatorFixture.h"

#include "Module/MyStock/MyStockViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "DataBase/ComAPI.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"
#include "ui/NavigationController.h"

#include <string>
#include <utility>
#include <vector>

namespace mystock {

constexpr int CodeListClass = 106;
constexpr int GroupSize = 120;

// A finished login on a loopback market of 120 stocks on each exchange, the default group
// "MyStockList" holding 120 of them, and the watch-list screen under a navigation controller.
class MyStockScreenTest : public coordinator::CoordinatorTest {
protected:
    MyStockScreenTest() : coordinator::CoordinatorTest(peers::MarketFixture::standard(GroupSize)) {
        for (int i = 0; i < GroupSize; ++i) {
            const peers::Security &s = market.securities()[size_t(i)];
            group.add(base::Dict{{"MarketCode", s.market + s.code}, {"StockName", s.name}});
        }
        base::FileManager::remove(documentsFile("MyStockModuleList.plist"));
        EXPECT_TRUE(base::PropertyList::write(group, documentsFile("MyStockList.plist")));
        MyStockViewController::resetEditFlag();
        DataManager::resetSharedDataManager();
        DataManager::sharedDataManager().initialize();
        DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
        DataBase::setSharedDataBase(db);
        readyWithoutAccount();
        advance(30);
        nav = base::make<ui::NavigationController>(screen);
        app.window().setRootViewController(nav);
        app.runPending();
        settle();
    }
    ~MyStockScreenTest() override {
        app.window().setRootViewController(nullptr);
        nav.reset();
        screen.reset();
        settle();
        DataBase::setSharedDataBase(nullptr);
        DataManager::resetSharedDataManager();
        MyStockViewController::resetEditFlag();
    }
    // The by-code quote requests (their code counts) since the last call.
    std::vector<size_t> codeRequests() {
        std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
        std::vector<size_t> counts;
        for (size_t i = codesSeen_; i < frames.size(); ++i) {
            ByteView body = frames[i].bytes();
            uint32_t pos = 0;
            if (ComAPI::ReadShort(body, pos) != CodeListClass)
                continue;
            ComAPI::ReadShort(body, pos);
            counts.push_back(size_t(ComAPI::ReadShort(body, pos)));
        }
        codesSeen_ = frames.size();
        return counts;
    }
    size_t minuteRequests() {
        size_t all = quotes.received(peers::QuoteServer::MinLineType).size(), fresh = all - minutesSeen_;
        minutesSeen_ = all;
        return fresh;
    }
    // The candle requests (code and period) since the last call.
    std::vector<std::pair<std::string, int>> candleRequests() {
        std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::CandleType);
        std::vector<std::pair<std::string, int>> asked;
        for (size_t i = candlesSeen_; i < frames.size(); ++i) {
            ByteView body = frames[i].bytes();
            uint32_t pos = 0;
            std::string code = ComAPI::ReadString(body, pos);
            asked.emplace_back(code, ComAPI::ReadByte(body, pos));
        }
        candlesSeen_ = frames.size();
        return asked;
    }
    // A finger on the middle of the view, and what it set off.
    void tapCentre(const ui::View &view) {
        gfx::Rect r = view.convert(view.bounds(), nullptr);
        app.tap({r.x() + r.width() / 2, r.y() + r.height() / 2});
        app.runPending();
        settle();
    }
    ui::Button &tabButton(int i) { return *screen->configBarView().tabButton(i); }
    ui::Button &circleButton(int i) { return *screen->configBarView().circleButton(i); }
    // The code of the row at the index as the screen shows it.
    std::string codeAt(size_t row) const { return *screen->myStockDataArray()->items.at(row)->MarketCode; }

    peers::MarketFixture market = quotes.market();
    base::Array group;
    base::Ref<MyStockViewController> screen = base::make<MyStockViewController>();
    base::Ref<ui::NavigationController> nav;

private:
    size_t codesSeen_ = 0, minutesSeen_ = 0, candlesSeen_ = 0;
};

} // namespace mystock
