#pragma once

#include "Module/FrontPage/StocksPoolView/StockPoolGridView.h"

#include "ui/ScrollView.h"

#include <map>
#include <string>
#include <vector>

// Hears the code of a stock tapped on a pool page. Optional.
class BasePoolViewDelegate {
public:
    virtual ~BasePoolViewDelegate() = default;
    virtual base::Opt<void> SelectedStock(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
};

// One pool page of the stock-pool tab: boards (`StockPoolGridView`) on a fixed diagram in a scroll
// view, joined by arrows and brackets. A small board's zoom button opens one enlarged board over
// the page, with a mask (tag MaskTag) that keeps touches from the boards below; the enlarged board
// shows the rows the small one held when it opened, and its own zoom button closes it again with
// the animation back. Rows tapped on any board report their code.
class BasePoolView : public ui::View, public StockPoolGridViewDelegate {
public:
    static constexpr int MaskTag = 99;
    static constexpr float DetailX = 187, DetailWidth = 650, DetailHeight = 500;
    static constexpr float DetailRowHeight = 44, DetailHeaderHeight = 30;

    // One board of a page's diagram.
    struct Board {
        int poolID;
        const char *title;
        gfx::Rect frame;
        uint16_t gridType;
        float red, green, blue;
    };
    // A decoration: an image at its own size with its top-left corner at the point.
    struct Decoration {
        const char *image;
        gfx::Point origin;
    };

    void setUp() override;

    // The board showing the pool, or nullptr when this page has none.
    StockPoolGridView *boardForPool(int poolID) const;
    const std::vector<base::Ref<StockPoolGridView>> &boards() const { return boards_; }
    StockPoolGridView *detailPoolGridView() const { return detailPoolGridView_.get(); }
    ui::ScrollView &bgScrollView() { return *bgScrollView_; }

    base::Opt<void> ZoomInAction(StockPoolGridView &board) override;
    base::Opt<void> ZoomOutAction(StockPoolGridView &board) override;
    base::Opt<void> ReturnSelectedRowItem(const base::Ref<StockPoolInf> &record) override;

    base::Weak<BasePoolViewDelegate> delegate;

protected:
    BasePoolView(gfx::Rect frame, std::vector<Board> layout, std::vector<Decoration> decorations);

private:
    void GenUI(gfx::Rect rect);
    void GenTagImage();

    std::vector<Board> layout_;
    std::vector<Decoration> decorations_;
    base::Ref<ui::ScrollView> bgScrollView_;
    std::vector<base::Ref<StockPoolGridView>> boards_;
    std::map<int, base::Ref<StockPoolGridView>> byPool_;
    base::Ref<StockPoolGridView> detailPoolGridView_;
};

// Page 1 ("锐丰股票池1号"): hot boards and stocks, money flows and scans feeding "锐丰1号池", then
// the observation pool and "英雄榜". Pools 101 to 108.
class WinPoolOneView : public BasePoolView {
public:
    explicit WinPoolOneView(gfx::Rect frame);
};

// Page 2 ("锐丰股票池2号"): profit, assets and growth feeding "优质能量池", then "持仓能量池" and
// its observation pool. Pools 201 to 206.
class WinPoolTwoView : public BasePoolView {
public:
    explicit WinPoolTwoView(gfx::Rect frame);
};

// Page 3 ("新股能量池"): new shares climbing through five energy grades. Pools 301 to 306.
class NewStockPoolView : public BasePoolView {
public:
    explicit NewStockPoolView(gfx::Rect frame);
};
