#include "MinLineView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "Module/CommonControls/MinLine/Chart/ChartMinLineClass.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "gfx/Image.h"

#include <algorithm>

namespace {

// The chart of a comparison record, or none before its first minutes.
base::Ref<ChartMinLineClass> recordChart(const base::Value &record) {
    return record["mobj"].objectAs<ChartMinLineClass>();
}

} // namespace

MinLineView::MinLineView(gfx::Rect frame, int32_t viewMode)
    : KLineViewBase(frame), m_viewMode(viewMode), m_mobj(base::make<MinLineClass>(viewMode)) {
    tag = Tag;
    m_mobj->setIsShowVol(true);
}

void MinLineView::setUp() {
    KLineViewBase::setUp();
    if (m_viewMode == MinLineClass::CompactMode) {
        m_mobj->setDrawMinLineStep(CompactDrawStep);
    } else {
        m_bNeedShowLevel2Tech = true;
        const base::Ref<StockDetailStatus> &status = DataBase::sharedDataBase()->IO_StockDetailStatus();
        int32_t chosen = status ? status->minlineLevel2TechIndex : 0;
        m_mobj->initLevel2TechIndex(chosen > 0 ? chosen : DefaultLevel2TechIndex);
        m_btnChangeTech2 = ui::Button::custom();
        Util::setImgBtnProp(*m_btnChangeTech2, StylePool::Instance().imgSetTechIndex);
        m_btnChangeTech2->addTarget(BASE_ACTION(this, OnChangeTech2), ui::TouchDown);
        addSubview(m_btnChangeTech2);
    }
    m_btnBomb = ui::Button::custom();
    m_btnBomb->setImage(gfx::Image::named("infoButton.png"));
    m_btnBomb->addTarget(BASE_ACTION(this, bombButtonAction), ui::TouchUpInside);
    m_btnBomb->setHidden(true);
    addSubview(m_btnBomb);

    m_cursorView = base::make<MinLineCursorView>(gfx::Rect{0, 0, bounds().width(), bounds().height()},
                                                 weakSelf<MinLineView>());
    m_cursorView->setHidden(true);
    addSubview(m_cursorView);
    m_laidOutSize = bounds().s;
    addTap();
    addLongPress();
}

void MinLineView::Update(base::Ref<StockQuoteInf> basicInf, base::Ref<MinLineList> mlineList) {
    if (basicInf)
        m_mobj->setIsShowLevel2Tech(m_bNeedShowLevel2Tech && StockFunc::isSHSZStock(basicInf.get()));
    bool lost = !basicInf || basicInf->code.empty();
    m_mobj->Update(std::move(basicInf), std::move(mlineList));
    if (m_viewMode == MinLineClass::FullMode && lost)
        m_cursorView->setHidden(true);
    redraw();
}

void MinLineView::UpdateIndexRiseFallLine(const std::string &code,
                                          base::Ref<MinLineClassBase::ReplyList> rspArray) {
    if (m_mobj->UpdateIndexRiseFallLine(code, std::move(rspArray)))
        redraw();
}

void MinLineView::setMultiStockList(base::Array list) {
    m_multiStockList = std::move(list);
    redraw();
}

void MinLineView::UpdateAddStock(const std::string &code, base::Ref<MinLineList> mlineList) {
    for (base::Value &record : m_multiStockList) {
        auto basicInf = record["basicInf"].objectAs<StockQuoteInf>();
        if (!record.dict() || record["code"].stringValue() != code || !basicInf)
            continue;
        base::Ref<ChartMinLineClass> chart = recordChart(record);
        if (!chart) {
            chart = base::make<ChartMinLineClass>();
            chart->setIsShowVol(false);
            record.dict()->set("mobj", chart);
        }
        chart->Update(basicInf, std::move(mlineList));
        redraw();
        return;
    }
}

void MinLineView::CloseAddStocksMode() {
    m_mobj->calcMaxMinPriceVol();
    redraw();
}

void MinLineView::clearView() {
    m_cursorView->setHidden(true);
    m_mobj->Update(nullptr, nullptr);
    m_mobj->UpdateLevel2TechIndex(getCurLevel2TechType(), nullptr);
    redraw();
}

void MinLineView::zeroView() {
    m_mobj->setIsShowLevel2Tech(false);
    m_mobj->Update(base::make<StockQuoteInf>(), base::make<MinLineList>());
    redraw();
}

void MinLineView::hideCursor() {
    m_cursorView->setHidden(true);
    redraw();
}

void MinLineView::storeLevel2TechIndex(int32_t techType) {
    // Before the coordinator is set up the choice lasts only as long as this view.
    if (const base::Ref<StockDetailStatus> &status = DataBase::sharedDataBase()->IO_StockDetailStatus())
        status->minlineLevel2TechIndex = techType;
}

void MinLineView::changeLevel2TechIndex(int32_t techType) {
    if (techType == getCurLevel2TechType())
        return;
    storeLevel2TechIndex(techType);
    m_mobj->changeLevel2TechIndex(techType);
    redraw();
    if (auto owner = delegate.lock())
        owner->reqMLineLevel2TechIndex();
}

void MinLineView::resetLevel2TechIndex(int32_t techType,
                                       const base::Ref<MinLineClassBase::ReplyList> &series) {
    storeLevel2TechIndex(techType);
    m_mobj->resetLevel2TechIndex(techType, series);
    redraw();
}

void MinLineView::UpdateLevel2TechIndex(int32_t techType,
                                        const base::Ref<MinLineClassBase::ReplyList> &series) {
    if (m_mobj->UpdateLevel2TechIndex(techType, series))
        redraw();
}

void MinLineView::UpdateInfoBomb(int32_t time) {
    m_btnBomb->setFrame({m_mobj->getInfoBombXPos(time), 0, BombButtonSize, BombButtonSize});
    m_btnBomb->setHidden(false);
}

void MinLineView::hideInfoBomb() {
    m_btnBomb->setHidden(true);
}

void MinLineView::SetChartBackgroundColor(base::Ref<gfx::Color> color) {
    m_mobj->chartBackgroundColor = std::move(color);
    redraw();
}

void MinLineView::drawRect(gfx::Context &context, gfx::Rect) {
    m_mobj->setIsShowCursor(!m_cursorView->isHidden());
    if (m_multiStockList.empty()) {
        m_mobj->setIsAddStocksMode(false);
        m_mobj->draw(context, bounds());
    } else {
        drawAddStocks(context);
    }
}

void MinLineView::drawAddStocks(gfx::Context &context) {
    float rate = m_mobj->getMaxPriceRate();
    for (const base::Value &value : m_multiStockList)
        if (auto chart = recordChart(value))
            rate = std::max(rate, chart->getMaxPriceRate());
    if (rate <= 0)
        return;
    const StylePool &style = StylePool::Instance();
    m_mobj->setMaxPriceRate(rate);
    m_mobj->setIsAddStocksMode(true);
    // The average line would read as one more comparison stock; it returns with the plain chart.
    bool showAverage = m_mobj->isShowPriceAveLine();
    m_mobj->setIsShowPriceAveLine(false);
    m_mobj->draw(context, bounds());
    m_mobj->setIsShowPriceAveLine(showAverage);

    float x = TitleX;
    m_mobj->drawAddStockText(context, x, TitleY, *style.clPriceLine, x);
    for (const base::Value &record : m_multiStockList) {
        base::Ref<ChartMinLineClass> chart = recordChart(record);
        if (!chart)
            continue;
        const gfx::Color &color = *style.getAddStockColor(int(record["colorID"].intValue()));
        chart->setMaxPriceRate(rate);
        chart->setIsAddStocksMode(true);
        chart->draw(context, m_mobj->m_rtMain, color);
        chart->drawAddStockText(context, x + TitleGap, TitleY, color, x);
    }
}

// The button sits on the level-2 pane's border, which the chart works out from the view's size
// and its mode: placed before the draw pass, it stands right in the frame that shows the pane.
void MinLineView::resetLevel2ButtonFrame() {
    if (!m_btnChangeTech2)
        return;
    m_mobj->setIsAddStocksMode(!m_multiStockList.empty());
    m_mobj->calcRects(bounds());
    // Without the pane the button would sit outside the view.
    m_btnChangeTech2->setHidden(!m_mobj->isShowLevel2Tech());
    const gfx::Rect &border = m_mobj->m_rtLevel2Border;
    m_btnChangeTech2->setFrame(
        {border.maxX() - Level2ButtonInset, border.y(), Level2ButtonSize, Level2ButtonSize});
}

void MinLineView::layoutSubviews() {
    gfx::Size size = bounds().s;
    if (size.w <= 0 || size.h <= 0)
        return;
    resetLevel2ButtonFrame();
    if (size == m_laidOutSize)
        return;
    m_laidOutSize = size;
    m_cursorView->setHidden(true);
    m_cursorView->setFrame({0, 0, size.w, size.h});
}

void MinLineView::redraw() {
    setNeedsLayout();
    setNeedsDisplay();
}

bool MinLineView::shouldReceiveTouch(ui::GestureRecognizer &recognizer, const ui::Touch &touch) {
    return KLineViewBase::shouldReceiveTouch(recognizer, touch) &&
           m_mobj->getCursorRect().contains(touch.location(this));
}

void MinLineView::singleTap() {
    if (!m_mobj->canShowCursor(m_tapPoint))
        return;
    redraw();
    m_cursorView->showView(m_tapPoint);
}

void MinLineView::handleLongPressFrom(ui::LongPressRecognizer *recognizer) {
    if (!recognizer)
        return;
    m_tapPoint = recognizer->location(this);
    if (recognizer->state() == ui::GestureState::Began)
        singleTap();
    else if (m_mobj->canShowCursor(m_tapPoint))
        m_cursorView->showViewAgain(m_tapPoint);
}

void MinLineView::OnChangeTech2(ui::Button *sender) {
    if (auto owner = delegate.lock())
        owner->SetMLineLevel2TechIndexAction(sender, 0, "");
}

void MinLineView::bombButtonAction(ui::Button *sender) {
    if (auto owner = delegate.lock())
        owner->minLineView_didTouchBomb(sender);
}
