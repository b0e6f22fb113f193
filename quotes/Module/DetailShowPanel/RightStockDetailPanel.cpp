#include "Module/DetailShowPanel/RightStockDetailPanel.h"

#include "Module/DetailShowPanel/RightForeignIndexDetailPanel.h"
#include "gfx/Image.h"

namespace {

constexpr float kTopItemWidth = 85, kBelowItemWidth = 85.3f, kItemTopSpace = 1;
constexpr int kBookLevels = 10;

} // namespace

base::Ref<CMSlideMenuView> MakeRightPanelStrip(gfx::Rect frame, const std::vector<std::string> &titles,
                                               float itemWidth) {
    auto strip = CMSlideMenuView::create(frame);
    strip->setBackgroundColor(gfx::Color::pattern(gfx::Image::named("title_bg.png")));
    strip->normalImage = nullptr;
    strip->pressedImage = gfx::Image::named("title_btn_bg.png");
    strip->SetMenuItemArray(titles);
    strip->SetSelectedItemIndex(0);
    strip->SetMenuItemWidth(itemWidth, kItemTopSpace, 0, 0);
    return strip;
}

const std::vector<std::string> &RightStockDetailPanel::FieldCaptions() {
    static const std::vector<std::string> captions{"最新", "均价", "涨跌", "换手", "涨幅", "今开",
                                                   "总手", "最高", "现手", "最低", "总额", "量比",
                                                   "涨停", "跌停", "内盘", "外盘"};
    return captions;
}

RightStockDetailPanel::RightStockDetailPanel(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(RightPanelBackground());
}

void RightStockDetailPanel::setUp() {
    ui::View::setUp();
    float w = bounds().width(), h = bounds().height();
    m_slideMenuViewTop =
        MakeRightPanelStrip({0, 0, w, StripHeight}, {"买卖", "龙虎盘", "板块"}, kTopItemWidth);
    m_slideMenuViewTop->delegate = weakSelf<RightStockDetailPanel>();
    addSubview(m_slideMenuViewTop);

    m_buySellPanelView = base::make<BuySellPanelView>(gfx::Rect{0, StripHeight, w, BookHeight});
    m_buySellPanelView->clearView();
    m_buySellPanelView->SetBuySellNum(kBookLevels);
    addSubview(m_buySellPanelView);
    m_tigerSubDetailView = base::make<TigerSubDetailView>(gfx::Rect{0, StripHeight, w, BookHeight});
    m_tigerSubDetailView->setHidden(true);
    addSubview(m_tigerSubDetailView);
    m_elementBoardView = base::make<ElementBoardView>(gfx::Rect{0, StripHeight, w, BookHeight});
    m_elementBoardView->setHidden(true);
    m_elementBoardView->delegate = weakSelf<RightStockDetailPanel>();
    addSubview(m_elementBoardView);

    float below = StripHeight + BookHeight;
    m_slideMenuViewBelow =
        MakeRightPanelStrip({0, below, w, StripHeight}, {"分笔", "大单", "盘口"}, kBelowItemWidth);
    m_slideMenuViewBelow->delegate = weakSelf<RightStockDetailPanel>();
    addSubview(m_slideMenuViewBelow);

    gfx::Rect tables{0, below + StripHeight, w, h - 430};
    m_strikeDetailView = base::make<StrikeDetailView>(gfx::Rect{}, weakSelf());
    m_strikeDetailView->setFrame(tables);
    m_strikeDetailView->setTableViewBaseViewDelegate(weakSelf<RightStockDetailPanel>());
    addSubview(m_strikeDetailView);
    m_stockDDDetailView = base::make<StockDDDetailView>(gfx::Rect{}, weakSelf());
    m_stockDDDetailView->setFrame(tables);
    m_stockDDDetailView->setHidden(true);
    addSubview(m_stockDDDetailView);
    m_valuePanelView = base::make<ValuePanelView>(tables);
    m_valuePanelView->setHidden(true);
    m_valuePanelView->SetFieldArray(FieldCaptions());
    m_valuePanelView->SetValueArray(RepeatedValues(FieldCaptions().size()));
    addSubview(m_valuePanelView);
}

base::Opt<void> RightStockDetailPanel::ReturnSelectedIndex(int index, CMSlideMenuView &sender) {
    if (&sender == m_slideMenuViewTop.get()) {
        m_buySellPanelView->setHidden(index != 0);
        m_tigerSubDetailView->setHidden(index != 1);
        m_elementBoardView->setHidden(index != 2);
    } else if (&sender == m_slideMenuViewBelow.get()) {
        m_strikeDetailView->setHidden(index != 0);
        m_stockDDDetailView->setHidden(index != 1);
        m_valuePanelView->setHidden(index != 2);
    }
    return {};
}

void RightStockDetailPanel::clearView() {
    m_buySellPanelView->clearView();
    m_tigerSubDetailView->clearView();
    m_strikeDetailView->clearView();
    m_stockDDDetailView->clearView();
    m_valuePanelView->SetValueArray(RepeatedValues(FieldCaptions().size()));
}

base::Opt<void> RightStockDetailPanel::ReturnTlineStock(const std::string &code, const std::string &name) {
    if (auto d = delegate.lock())
        d->ReturnTlineStock(code, name);
    return {};
}

base::Opt<void> RightStockDetailPanel::ZoomInAction(TableBaseView &table) {
    m_strikeFullScreenView =
        StockDetailFullScreenView::Open(*this, table.frame(), m_strikeDetailView->strikeLastPos(),
                                        parentTarget, true, weakSelf<RightStockDetailPanel>());
    return {};
}

base::Opt<void> RightStockDetailPanel::ReturnStrikeFullScreenViewDismiss() {
    m_strikeFullScreenView.reset();
    return {};
}
