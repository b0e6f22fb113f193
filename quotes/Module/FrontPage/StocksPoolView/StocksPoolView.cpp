#include "Module/FrontPage/StocksPoolView/StocksPoolView.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "ui/NavigationController.h"

namespace {

constexpr float ButtonX = 6, ButtonStep = 146, ButtonWidth = 140;

} // namespace

StocksPoolView::StocksPoolView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

void StocksPoolView::setUp() {
    ui::View::setUp();
    stockpoolData_ = StockPoolData::create(ObserverName);
    stockpoolData_->setDelegate(weakSelf<StocksPoolView>());
    for (size_t i = 0; i < buttons_.size(); ++i) {
        auto button =
            CMSlideMenuItem::create({ButtonX + ButtonStep * float(i), 0, ButtonWidth, ButtonHeight});
        button->tag = int(i) + 1;
        button->titleLabel().setText(PageTitles[i]);
        button->normalImage().setImage(gfx::Image::named("configbar_normal.png"));
        button->pressedImage().setImage(gfx::Image::named("configbar_highlight.png"));
        button->delegate = weakSelf<StocksPoolView>();
        button->SetPressed(i == 0 ? 1 : 0);
        buttons_[i] = button;
        addSubview(button);
    }
    winPoolOneView_ = base::make<WinPoolOneView>(pageFrame());
    winPoolOneView_->delegate = weakSelf<StocksPoolView>();
    addSubview(winPoolOneView_);
    reqCurrentTabData();
}

gfx::Rect StocksPoolView::pageFrame() const {
    return {0, ButtonHeight, bounds().width(), bounds().height() - ButtonHeight};
}

BasePoolView *StocksPoolView::page(int number) const {
    switch (number) {
    case 1:
        return winPoolOneView_.get();
    case 2:
        return winPoolTwoView_.get();
    case 3:
        return newStockPoolView_.get();
    default:
        return nullptr;
    }
}

void StocksPoolView::reqCurrentTabData() {
    if (!winPoolOneView_ || !winPoolOneView_->isHidden())
        stockpoolData_->reqSuperPool1();
    else if (winPoolTwoView_ && !winPoolTwoView_->isHidden())
        stockpoolData_->reqSuperPool2();
    else if (newStockPoolView_ && !newStockPoolView_->isHidden())
        stockpoolData_->reqNewStockPool();
}

base::Opt<void> StocksPoolView::ReturnSelectedItem(CMSlideMenuItem &item) {
    int chosen = item.tag;
    if (chosen < 1 || chosen > 3)
        return {};
    for (const base::Ref<CMSlideMenuItem> &button : buttons_)
        button->SetPressed(button->tag == chosen ? 1 : 0);
    bool made = false;
    if (chosen == 2 && !winPoolTwoView_) {
        winPoolTwoView_ = base::make<WinPoolTwoView>(pageFrame());
        made = true;
    } else if (chosen == 3 && !newStockPoolView_) {
        newStockPoolView_ = base::make<NewStockPoolView>(pageFrame());
        made = true;
    }
    if (made) {
        BasePoolView *fresh = page(chosen);
        fresh->delegate = weakSelf<StocksPoolView>();
        addSubview(fresh->self<ui::View>());
    }
    for (int number = 1; number <= 3; ++number)
        if (BasePoolView *p = page(number))
            p->setHidden(number != chosen);
    if (made)
        reqCurrentTabData();
    return {};
}

void StocksPoolView::UpdateStockPoolArray(const base::Ref<NetDataCenter::StockPoolList> &list, int poolID) {
    if (!list)
        return;
    for (int number = 1; number <= 3; ++number)
        if (BasePoolView *p = page(number))
            if (StockPoolGridView *board = p->boardForPool(poolID)) {
                board->SetDataArray(list->items);
                return;
            }
}

base::Opt<void> StocksPoolView::SelectedStock(const std::string &code) {
    auto handler = frontParentHandler.lock();
    ui::NavigationController *nav = handler ? handler->navigationController() : nullptr;
    if (!nav)
        return {};
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    nav->push(detail, true);
    return {};
}
