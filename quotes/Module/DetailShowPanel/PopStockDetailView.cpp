#include "Module/DetailShowPanel/PopStockDetailView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailValues.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "gfx/Image.h"
#include "ui/Animator.h"
#include "ui/ImageView.h"

namespace {

constexpr int kBookLevels = 10;
constexpr int kStockMode = 0, kFutureMode = 2;

base::Ref<CMSlideMenuItem> makeTab(gfx::Rect frame, const char *title, int tag) {
    auto tab = CMSlideMenuItem::create(frame);
    tab->normalImage().setImage(gfx::Image::named("configbar_normal.png"));
    tab->pressedImage().setImage(gfx::Image::named("configbar_highlight.png"));
    tab->titleLabel().setText(title);
    tab->tag = tag;
    tab->SetPressed(0);
    return tab;
}

base::Ref<ui::Transition> push(ui::Transition::From from) {
    auto transition = base::make<ui::Transition>();
    transition->type = ui::Transition::Type::Push;
    transition->subtype = from;
    transition->duration = PopStockDetailView::SlideSeconds;
    return transition;
}

} // namespace

// Hears the end of the slide-out.
struct PopStockDetailView::Relay : ui::TransitionDelegate {
    base::Weak<PopStockDetailView> view;
    base::Opt<void> animationDidStop(ui::Transition &, bool) override {
        if (auto v = view.lock())
            v->windowDidHide();
        return {};
    }
};

PopStockDetailView::Fields PopStockDetailView::FieldsFor(const StockBasicInf &record) {
    if (record.type == 0)
        return {{3, 503, 504, 505, 506, 518}, {"总额", "昨收", "今开", "最高", "最低", "市值"}};
    if (Util::isQHType(record.type))
        return {{22, 504, 505, 509, 506, 3}, StockDetailValues::fieldNames(kFutureMode)};
    if (Util::isSHSZCode(record.code))
        return {{519, 20, 3, 2, 510, 511}, StockDetailValues::fieldNames(kStockMode)};
    return {};
}

PopStockDetailView::PopStockDetailView(gfx::Rect frame) : ui::View(frame), m_relay(base::make<Relay>()) {
    setBackgroundColor(gfx::Color::clear());
    gfx::Point centre{frame.width() / 2, frame.height() / 2};
    m_backgroundView = base::make<ui::View>(
        gfx::Rect{centre.x - kWindowSize.w / 2, centre.y - kWindowSize.h / 2, kWindowSize.w, kWindowSize.h});
    m_backgroundView->setBackgroundColor(gfx::Color::clear());

    m_contentView = base::make<ui::View>(kContentFrame);
    m_contentView->setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    ui::Layer &layer = m_contentView->layer();
    layer.borderWidth = 1;
    layer.borderColor = gfx::Color::rgba(0.29f, 0.29f, 0.29f, 0.7f);
    layer.shadowColor = gfx::Color::rgba(0.5f, 0.5f, 0.5f);
    layer.shadowOffset = {1, 1};
    m_backgroundView->addSubview(m_contentView);
    m_goBackButton = ui::Button::custom({657, -3, 26, 26});
    m_goBackButton->setBackgroundImage(gfx::Image::named("close_pop.png"));
    m_backgroundView->addSubview(m_goBackButton);

    m_contentView->addSubview(
        base::make<ui::ImageView>(gfx::Rect{0, 0, 640, 80}, gfx::Image::named("popWindow_bg.png")));
    m_stockInfoShowView = base::make<StockInfoShowView>(gfx::Rect{0, 0, 320, 80});
    m_stockInfoShowView->clearView();
    m_stockInfoShowView->SetTurnPageShow(false);
    m_contentView->addSubview(m_stockInfoShowView);
    m_stockPriceShowView = base::make<StockPriceShowView>(gfx::Rect{340, 0, 300, 80});
    m_contentView->addSubview(m_stockPriceShowView);
    m_buySellPanelView = base::make<BuySellPanelView>(gfx::Rect{440, 80, 200, 360});
    m_buySellPanelView->SetBuySellNum(kBookLevels);
    m_buySellPanelView->SetBuySellData(base::make<StockBasicInf>());
    m_contentView->addSubview(m_buySellPanelView);
    m_trendTab = makeTab({6, 78, 80, 35}, "走势", TrendTabTag);
    m_klineTab = makeTab({92, 78, 80, 35}, "K线", KLineTabTag);
    m_contentView->addSubview(m_trendTab);
    m_contentView->addSubview(m_klineTab);
    m_trendTab->SetPressed(1);

    m_trendLineView = base::make<MinLineView>(kChartFrame, ChartViewMode);
    m_trendLineView->setBackgroundColor(StylePool::Instance().clChartBG);
    m_contentView->addSubview(m_trendLineView);
    m_klineView = KLineView::create(kChartFrame, ChartViewMode);
    m_klineView->setBackgroundColor(StylePool::Instance().clChartBG);
    m_klineView->setHidden(true);
    m_contentView->addSubview(m_klineView);
}

PopStockDetailView::~PopStockDetailView() = default;

void PopStockDetailView::setUp() {
    ui::View::setUp();
    auto weak = weakSelf<PopStockDetailView>();
    m_relay->view = weak;
    m_stockInfoShowView->delegate = weak;
    m_trendTab->delegate = weak;
    m_klineTab->delegate = weak;
    m_goBackButton->addTarget(base::Action(weak, "GoBackAction",
                                           [weak](base::Object *) {
                                               if (auto self = weak.lock())
                                                   self->GoBackAction();
                                           }),
                              ui::TouchUpInside);
    ui::View::animate(DimSeconds, DimDelay, ui::Curve::EaseIn,
                      [&] { setBackgroundColor(gfx::Color::rgba(0, 0, 0, DimAlpha)); });
    ShowWindow();
}

void PopStockDetailView::ShowWindow() {
    addSubview(m_backgroundView);
    auto transition = push(ui::Transition::From::Top);
    transition->fillForwards = true;
    m_backgroundView->layer().addTransition(transition, "animation");
}

void PopStockDetailView::SetStockCode(const std::string &code) {
    m_stockInfoShowView->SetAddMyStockStatus(
        DataManager::sharedDataManager().IsStockInMyStock(code, MyStockFileName));
}

void PopStockDetailView::UpdatePriceData(const StockBasicInf &record) {
    m_stockName = record.name;
    m_code = record.code;
    StockInfoShowView &info = *m_stockInfoShowView;
    info.nameLabel().setText(record.name);
    info.codeLabel().setText(Util::getNumCode(record.code));
    info.lastLabel().setText(record.FormatValue(4));
    info.changeLabel().setText(record.FormatValue(502));
    info.rangeLabel().setText(record.FormatValue(1));
    info.SetUpDown(float(record.newprice - record.closeprice));
    Fields fields = FieldsFor(record);
    if (fields.ids.empty())
        return;
    std::vector<std::string> values;
    for (int id : fields.ids)
        values.push_back(record.FormatValue(id));
    m_stockPriceShowView->SetFieldNameArray(fields.captions);
    m_stockPriceShowView->SetFieldValueArray(values);
}

void PopStockDetailView::StopKLineWaitingAlert() {
    m_klineView->StopWaitingAlert();
}

base::Opt<void> PopStockDetailView::ReturnSelectedItem(CMSlideMenuItem &item) {
    if (item.tag != TrendTabTag && item.tag != KLineTabTag)
        return {};
    bool candles = item.tag == KLineTabTag;
    m_trendTab->SetPressed(candles ? 0 : 1);
    m_klineTab->SetPressed(candles ? 1 : 0);
    m_trendLineView->setHidden(candles);
    m_klineView->setHidden(!candles);
    if (candles && !m_hasReqKLine) {
        m_hasReqKLine = true;
        m_klineView->StartWaitingAlert(m_klineView->bounds());
        if (auto d = delegate.lock())
            d->RequestPopStockKLine(m_code);
    }
    return {};
}

base::Opt<void> PopStockDetailView::AddNewStockAction(ui::Button &sender) {
    DataManager &data = DataManager::sharedDataManager();
    if (sender.tag == StockInfoShowView::AddTag) {
        data.AddNewStockToModel(MyStockModelName, MyStockFileName, m_stockName, m_code);
        m_stockInfoShowView->SetAddMyStockStatus(true);
    } else if (sender.tag == StockInfoShowView::RemoveTag) {
        data.DelNewStockToModel(MyStockModelName, MyStockFileName, m_stockName, m_code);
        m_stockInfoShowView->SetAddMyStockStatus(false);
    }
    return {};
}

void PopStockDetailView::GoBackAction() {
    HideWindow();
}

void PopStockDetailView::HideWindow() {
    auto transition = push(ui::Transition::From::Bottom);
    transition->delegate = m_relay;
    m_backgroundView->layer().addTransition(transition, "animation");
    m_backgroundView->setHidden(true);
    ui::View::animate(DimSeconds, DimDelay, ui::Curve::EaseIn,
                      [&] { setBackgroundColor(gfx::Color::clear()); });
}

void PopStockDetailView::windowDidHide() {
    auto keep = self<PopStockDetailView>();
    m_backgroundView->removeFromSuperview();
    removeFromSuperview();
    if (auto d = delegate.lock())
        d->OnClosePopStockDetailView();
}
