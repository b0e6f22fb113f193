#pragma once

#include "Module/FrontPage/StocksPoolView/BasePoolView.h"

#include "Components/CMSlideMenuItem.h"
#include "Module/StockDataBaseMgnt/StockPoolData.h"

#include "ui/ViewController.h"

#include <array>

// The home page's stock-pool tab ("锐丰股票池"): three page buttons over three pool pages, of which
// one shows. Page 1 is made with the view, pages 2 and 3 on their first selection. The view asks
// for the pools of the page on show when it is made, when a page is first made, and on every
// refresh tick of its owner; each pool reply goes to the board of its pool id on the page that
// has it (a reply for a page not made yet, or for an id no page has, is dropped). A tapped row
// opens the stock's detail screen on the owner's navigation stack.
class StocksPoolView : public ui::View,
                       public CMSlideMenuItemDelegate,
                       public StockPoolDataDelegate,
                       public BasePoolViewDelegate {
public:
    static constexpr const char *ObserverName = "StocksPoolViewNotify";
    static constexpr float ButtonHeight = 35;
    static constexpr std::array<const char *, 3> PageTitles = {"锐丰股票池1号", "锐丰股票池2号",
                                                               "新股能量池"};

    explicit StocksPoolView(gfx::Rect frame);
    void setUp() override;

    void NotifyTimeEvent() { reqCurrentTabData(); }
    void reqCurrentTabData();

    base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) override;
    void UpdateStockPoolArray(const base::Ref<NetDataCenter::StockPoolList> &list, int poolID) override;
    base::Opt<void> SelectedStock(const std::string &code) override;

    // Page 1 to 3; nullptr before the page is made.
    BasePoolView *page(int number) const;
    CMSlideMenuItem &pageButton(int number) { return *buttons_.at(size_t(number - 1)); }
    StockPoolData &stockpoolData() { return *stockpoolData_; }

    base::Weak<ui::ViewController> frontParentHandler;

private:
    gfx::Rect pageFrame() const;

    base::Ref<StockPoolData> stockpoolData_;
    std::array<base::Ref<CMSlideMenuItem>, 3> buttons_;
    base::Ref<WinPoolOneView> winPoolOneView_;
    base::Ref<WinPoolTwoView> winPoolTwoView_;
    base::Ref<NewStockPoolView> newStockPoolView_;
};
