#include "KLineView.h"

#include "Common/StylePool.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "gfx/Image.h"

#include <cmath>

namespace {

// The detail screen's chart switches; none before the quote connection is set up.
StockDetailStatus *detailStatus() {
    return DataBase::sharedDataBase()->IO_StockDetailStatus().get();
}

float rightOf(const gfx::Rect &r) {
    return r.x() + r.width();
}

} // namespace

base::Ref<KLineView> KLineView::create(gfx::Rect frame, int viewMode) {
    struct Made : KLineView {
        Made(gfx::Rect frame, int viewMode) : KLineView(frame, viewMode) {}
    };
    base::Ref<KLineView> view = base::make<Made>(frame, viewMode);
    view->initUI();
    return view;
}

KLineView::KLineView(gfx::Rect frame, int viewMode)
    : KLineViewBase(frame), m_viewMode(viewMode), kobj(base::make<KLineClass>(viewMode)) {
    tag = Tag;
    multipleTouchEnabled = true;
}

void KLineView::initUI() {
    kobj->delegate = self<KLineView>();
    StockDetailStatus *status = detailStatus();
    kobj->setIsShowVol(status ? status->isShowKLineVol : true);
    kobj->setIsShowLevel2Tech(false);

    m_cursorView = KLineCursorView::create(bounds(), self<KLineView>());
    m_cursorView->setHidden(true);
    addSubview(m_cursorView);

    if (m_viewMode == 0) {
        btnChangeTech1 = makeTechButton(&KLineView::techButtonAction);
        m_exrightButton = ui::Button::custom();
        if (auto bg = gfx::Image::named("exright_btnbg.png"))
            m_exrightButton->setBackgroundImage(bg->stretchable(10, 15));
        m_exrightButton->setTitle("不复权");
        m_exrightButton->titleLabel().setFont(gfx::Font::system(13));
        m_exrightButton->setTitleColor(gfx::Color::white());
        m_exrightButton->addTarget(BASE_ACTION(this, exrightAction), ui::TouchUpInside);
        addSubview(m_exrightButton);

        m_bNeedShowLevel2Tech = true;
        const int32_t stored = status ? status->klineLevel2TechIndex : 0;
        kobj->initLevel2TechIndex(stored > 0 ? stored : DefaultLevel2TechType);
        kobj->setIsShowLevel2Tech(false);
        btnChangeTech2 = makeTechButton(&KLineView::level2ButtonAction);
    }
    addTap();
    addPan();
    addDblPan();
    addPinch();
    addLongPress();
    laidOutSize_ = bounds().s;
}

base::Ref<ui::Button> KLineView::makeTechButton(void (KLineView::*action)(ui::Button *)) {
    auto button = ui::Button::custom({0, 0, TechButtonSize, TechButtonSize});
    button->setImage(StylePool::Instance().imgSetTechIndex);
    button->addTarget(base::action(this, "techButton", action), ui::TouchDown);
    button->setHidden(true);
    addSubview(button);
    return button;
}

void KLineView::drawRect(gfx::Context &context, gfx::Rect) {
    // The pass shows the marks of the candles on screen again; a mark of candles no longer loaded
    // (another security, a cleared chart) must not stay behind.
    for (CMMultiStateButton *mark : exrightMarks())
        mark->setHidden(true);
    kobj->setIsShowCursor(!m_cursorView->isHidden());
    kobj->draw(context, bounds());
}

void KLineView::layoutSubviews() {
    if (bounds().s != laidOutSize_) {
        laidOutSize_ = bounds().s;
        hideCursorView();
        m_cursorView->setFrame(bounds());
        setNeedsDisplay();
    }
    placeButtons();
}

// The buttons sit on the panes' borders, which the chart works out from the view's size and the
// panes shown: placed before the draw pass, they stand right in the frame that shows the panes.
void KLineView::placeButtons() {
    kobj->calcRects(bounds());
    if (m_exrightButton)
        m_exrightButton->setFrame({bounds().width() - 120, 0, 70, 20});
    if (btnChangeTech1) {
        btnChangeTech1->setHidden(!kobj->isShowVol());
        const gfx::Rect b = kobj->m_rtVolBorder;
        btnChangeTech1->setFrame({rightOf(b) - 22, b.y(), TechButtonSize, TechButtonSize});
    }
    if (btnChangeTech2) {
        btnChangeTech2->setHidden(!m_bNeedShowLevel2Tech || !kobj->isShowLevel2Tech());
        const gfx::Rect b = kobj->m_rtLevel2Border;
        btnChangeTech2->setFrame({rightOf(b) - 22, b.y(), TechButtonSize, TechButtonSize});
    }
}

void KLineView::redraw() {
    setNeedsLayout();
    setNeedsDisplay();
}

void KLineView::Update(base::Ref<StockBasicInf> basicInf, base::Ref<KLineList> klineList, int32_t ktype,
                       int32_t updateType) {
    if (basicInf)
        kobj->setIsShowLevel2Tech(m_bNeedShowLevel2Tech && StockFunc::isSHSZStock(basicInf.get()));
    kobj->Update(std::move(basicInf), std::move(klineList), ktype, updateType);
    redraw();
    if (!m_cursorView->isHidden())
        m_cursorView->setNeedsDisplay();
}

void KLineView::clearView() {
    hideCursorView();
    kobj->setKoffset(0);
    kobj->Update(nullptr, nullptr, m_ktype);
    kobj->dropLevel2Series(kobj->getCurLevel2TechType());
    redraw();
}

void KLineView::SetChartBackgroundColor(base::Ref<gfx::Color> color) {
    kobj->chartBackgroundColor = std::move(color);
    redraw();
}

void KLineView::changeTechIndex(const std::string &techName, const std::optional<base::Array> &paramArray) {
    const int32_t type = TechIndex::getTechType(techName);
    if (type < 1)
        return;
    if (kobj->changeTechIndex(type, paramArray))
        redraw();
}

void KLineView::changeMainTechIndex(int32_t techType) {
    kobj->changeMainTechIndex(techType);
}

void KLineView::initLevel2TechIndex(int32_t techType) {
    kobj->initLevel2TechIndex(techType);
}

void KLineView::changeLevel2TechIndex(int32_t techType) {
    if (techType == kobj->getCurLevel2TechType())
        return;
    if (StockDetailStatus *status = detailStatus())
        status->klineLevel2TechIndex = techType;
    kobj->changeLevel2TechIndex(techType);
    redraw();
    if (!m_cursorView->isHidden())
        m_cursorView->setNeedsDisplay();
    if (auto owner = delegate.lock())
        owner->reqKLineLevel2TechIndex();
}

void KLineView::resetLevel2TechIndex(int32_t techType, const base::Ref<KLineClassBase::ReplyList> &series) {
    if (StockDetailStatus *status = detailStatus())
        status->klineLevel2TechIndex = techType;
    kobj->resetLevel2TechIndex(techType, series);
    redraw();
}

bool KLineView::UpdateLevel2TechIndex(int32_t techType, const base::Ref<KLineClassBase::ReplyList> &series) {
    if (!kobj->UpdateLevel2TechIndex(techType, series))
        return false;
    redraw();
    return true;
}

void KLineView::setMultiStockList(base::Array list) {
    kobj->setMultiStockList(std::move(list));
}

void KLineView::OpenAddStocksMode() {
    kobj->OpenAddStocksMode();
}

void KLineView::CloseAddStocksMode(bool redraw) {
    kobj->CloseAddStocksMode();
    if (redraw)
        this->redraw();
}

void KLineView::hideCursorView() {
    if (m_cursorView->isHidden())
        return;
    m_cursorView->setHidden(true);
    redraw();
}

void KLineView::drawCursor(gfx::Context &context, gfx::Rect rect, gfx::Point cursorTouch) {
    kobj->drawCursor(context, rect, cursorTouch);
}

CMMultiStateButton *KLineView::exrightMark(int32_t date) {
    return dynamic_cast<CMMultiStateButton *>(viewWithTag(date + ExrightMarkTagBase));
}

// Touches.

bool KLineView::shouldReceiveTouch(ui::GestureRecognizer &recognizer, const ui::Touch &touch) {
    if (m_viewMode != 1)
        return KLineViewBase::shouldReceiveTouch(recognizer, touch);
    return touch.view() == this && kobj->getCursorRect().contains(touch.location(this));
}

void KLineView::singleTap() {
    if (btnChangeTech1 && !btnChangeTech1->isHidden()) {
        // The button is small: a tap just beside it counts as a touch on it.
        const gfx::Rect f = btnChangeTech1->frame();
        const float h = f.height() * 2;
        const gfx::Rect widened{f.x() + f.width() / 2 - h / 2, f.y() + f.height() / 2 - h / 2, h, h};
        if (widened.contains(m_tapPoint)) {
            techButtonAction(btnChangeTech1.get());
            return;
        }
    }
    if (!kobj->m_rtMain.contains(m_tapPoint) || !kobj->canShowCursor(m_tapPoint))
        return;
    redraw();
    m_cursorView->showView(m_tapPoint);
}

void KLineView::handleLongPressFrom(ui::LongPressRecognizer *recognizer) {
    m_tapPoint = recognizer->location(this);
    if (!kobj->m_rtMain.contains(m_tapPoint))
        return;
    if (recognizer->state() == ui::GestureState::Began) {
        singleTap();
    } else if (recognizer->state() == ui::GestureState::Changed && kobj->canShowCursor(m_tapPoint) &&
               !m_cursorView->isHidden()) {
        m_cursorView->showViewAgain(m_tapPoint);
    }
}

void KLineView::handlePanFrom(ui::PanRecognizer *recognizer) {
    const gfx::Point point = panPoint(*recognizer);
    followPan(recognizer->state(), point, panOrigin());
}

void KLineView::handleDblPanFrom(ui::PanRecognizer *recognizer) {
    const gfx::Point point = panPoint(*recognizer);
    followPan(recognizer->state(), point, panOrigin());
}

void KLineView::followPan(ui::GestureState state, gfx::Point point, gfx::Point origin) {
    if (state == ui::GestureState::Began) {
        moveKLineView(state, origin);
        state = ui::GestureState::Changed;
    }
    moveKLineView(state, point);
}

void KLineView::moveKLineView(ui::GestureState state, gfx::Point currPt) {
    switch (state) {
    case ui::GestureState::Began:
        m_firstTouch = currPt;
        m_oldOffset = kobj->koffset();
        break;
    case ui::GestureState::Changed: {
        const float d = currPt.x - m_firstTouch.x, pitch = kobj->ksize();
        if (std::abs(d) > std::max(PanThreshold, pitch) &&
            kobj->move(m_oldOffset + int(std::trunc(d / std::max(pitch, KLineClassBase::MinPitch)))))
            redraw();
        break;
    }
    case ui::GestureState::Ended:
        if (currPt.x - m_firstTouch.x > PanRequestDistance)
            notifyWindowChanged();
        break;
    default:
        break;
    }
}

void KLineView::handlePinchFrom(ui::PinchRecognizer *recognizer) {
    float s = recognizer->scale > 0 ? recognizer->scale : 0.01f;
    switch (recognizer->state()) {
    case ui::GestureState::Began:
        m_beginKSize = kobj->ksize();
        m_beginPinchScale = s;
        [[fallthrough]];
    case ui::GestureState::Changed: {
        if (m_beginPinchScale <= 0)
            m_beginPinchScale = s;
        const float requested = s >= 1 ? m_beginKSize + s : m_beginKSize - 1 / s;
        if (kobj->zoom(requested))
            redraw();
        break;
    }
    case ui::GestureState::Ended:
        if (s < m_beginPinchScale)
            notifyWindowChanged();
        break;
    default:
        break;
    }
}

void KLineView::notifyWindowChanged() {
    auto owner = delegate.lock();
    if (!owner)
        return;
    if (kobj->needReqKLineForward())
        owner->reqForwardKLineData();
    owner->NotifyReqKLineRelativeData();
}

// Buttons and menus.

void KLineView::techButtonAction(ui::Button *sender) {
    if (auto owner = delegate.lock())
        owner->SetTechIndexAction(sender, SubTechName);
}

void KLineView::level2ButtonAction(ui::Button *sender) {
    if (auto owner = delegate.lock())
        owner->SetKLineLevel2TechIndexAction(sender, 0, "");
}

void KLineView::exrightAction(ui::Button *sender) {
    if (!exrightPopoverController) {
        exrightMenu_ = base::make<PopMenuController>(gfx::Rect{{0, 0}, ExrightMenuSize});
        exrightMenu_->popMenuID = ExrightMenuID;
        exrightMenu_->delegate = self<KLineView>();
        exrightMenu_->addMenuItem("不复权", 0);
        exrightMenu_->addMenuItem("前复权", 1);
        exrightMenu_->addMenuItem("后复权", 2);
        exrightPopoverController = base::make<ui::Popover>(exrightMenu_);
    }
    ui::View &anchor = sender ? static_cast<ui::View &>(*sender) : *m_exrightButton;
    exrightPopoverController->presentFromRect(anchor.bounds(), anchor, ui::ArrowUp, true);
}

base::Opt<void> KLineView::ReturnSelectedPopMenuItem(int popMenuID, int32_t itemID, const std::string &) {
    if (popMenuID != ExrightMenuID)
        return {};
    if (exrightPopoverController)
        exrightPopoverController->dismiss(true);
    switch (itemID) {
    case 0:
        sendChangeExright(0, 0);
        break;
    case 1: {
        const auto &centre = DataBase::sharedDataBase()->IO_NetDataCenter();
        sendChangeExright(1, centre ? centre->IO_ServerDate : 0);
        break;
    }
    case 2:
        sendChangeExright(2, BackwardExrightDate);
        break;
    default:
        break;
    }
    return {};
}

void KLineView::sendChangeExright(int32_t type, int32_t date) {
    if (auto owner = delegate.lock())
        owner->changeExright(type, date);
}

// Ex-rights marks.

void KLineView::showExrightButton(int32_t exrightDate, int exrightFlag, gfx::Point bottomPoint) {
    if (exrightDate < 1)
        return;
    CMMultiStateButton *mark = exrightMark(exrightDate);
    if (!mark) {
        auto made = CMMultiStateButton::create({0, 0, ExrightMarkSize, ExrightMarkSize});
        made->tag = exrightDate + ExrightMarkTagBase;
        made->delegate = self<KLineView>();
        made->setExrightDate(exrightDate);
        insertSubviewBelow(made, m_cursorView.get());
        mark = made.get();
    }
    const gfx::Rect f = mark->frame();
    mark->setCenter({bottomPoint.x, bottomPoint.y - f.height() / 2 + 10});
    mark->setHidden(false);
    mark->SetCurrentSate(exrightFlag - 1);
}

std::vector<CMMultiStateButton *> KLineView::exrightMarks() const {
    std::vector<CMMultiStateButton *> marks;
    for (const base::Ref<ui::View> &child : subviews())
        if (auto mark = dynamic_cast<CMMultiStateButton *>(child.get()))
            marks.push_back(mark);
    return marks;
}

void KLineView::hideExrightButtons(int32_t dateFrom, int32_t dateTo) {
    for (CMMultiStateButton *mark : exrightMarks())
        if (mark->exrightDate() < dateFrom || mark->exrightDate() > dateTo)
            mark->setHidden(true);
}

base::Opt<void> KLineView::OnExpandFlower(int exrightDate) {
    for (CMMultiStateButton *mark : exrightMarks())
        if (mark->exrightDate() != exrightDate && !mark->isShrinkState())
            mark->ShrinkState();
    return {};
}

base::Opt<void> KLineView::ReturnSelectedButtonIndex(int index, int exrightDate) {
    if (index > 0)
        m_isExrightMode = true;
    sendChangeExright(index, exrightDate);
    return {};
}
