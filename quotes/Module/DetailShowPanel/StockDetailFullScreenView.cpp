#include "Module/DetailShowPanel/StockDetailFullScreenView.h"

#include "Common/StylePool.h"
#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "gfx/Context.h"
#include "gfx/Font.h"
#include "gfx/Image.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kStrikeType = 2970;
// Makes the message layer send the count asked for and keep every tick it returns.
constexpr int32_t kPagedTag = 100;
constexpr float kDecelerationRate = 0.4f;
constexpr const char *kTimeoutAction = "replyTimeout";

base::Ref<ui::Label> makeLabel(gfx::Rect frame, base::Ref<gfx::Font> font, gfx::Align alignment) {
    auto label = base::make<ui::Label>(frame);
    label->setFont(std::move(font));
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    return label;
}

} // namespace

// --- One page

StockDetailScrollView::StockDetailScrollView(gfx::Rect frame) : ui::View(frame) {
    setHidden(true);
}

void StockDetailScrollView::SetBasicInf(const StockBasicInf &basicInf) {
    m_lastClosePrice = basicInf.closeprice;
    m_priceDecimal = basicInf.decimal;
    m_stockType = basicInf.type;
    m_stockCode = basicInf.code;
}

void StockDetailScrollView::UpdateStrikeArray(const std::vector<base::Ref<StkStrikeDetailItem>> *strikeArray,
                                              int pageNo) {
    m_strikeArray = strikeArray ? *strikeArray : std::vector<base::Ref<StkStrikeDetailItem>>{};
    m_currentPageNo = pageNo;
    setHidden(!strikeArray || pageNo < 0);
    setNeedsDisplay();
}

std::string StockDetailScrollView::timeText(size_t j) const {
    const StkStrikeDetailItem &tick = *m_strikeArray[j];
    bool secondsOnly = j > 0 && tick.time >= 10001 && tick.time / 100 == m_strikeArray[j - 1]->time / 100;
    return Util::FormatTime(tick.time, secondsOnly);
}

void StockDetailScrollView::drawRect(gfx::Context &context, gfx::Rect) {
    float h = bounds().height();
    context.setFill(*gfx::Color::black());
    context.fillRect(bounds());
    context.setFill(*gfx::Color::rgba(0.3f, 0.3f, 0.3f, 0.5f));
    for (int k : {0, 2, 4})
        context.fillRect({BandLeft + ColumnWidth * float(k), 0, ColumnWidth, h});
    if (m_currentPageNo < 0)
        return;
    const StylePool &style = StylePool::Instance();
    auto font = gfx::Font::system(15);
    size_t count = std::min(m_strikeArray.size(), size_t(Columns * Rows));
    for (size_t j = 0; j < count; ++j) {
        const StkStrikeDetailItem &tick = *m_strikeArray[j];
        float x = ColumnWidth * float(j / Rows) + TextLeft, y = RowHeight * float(j % Rows) + TextTop;
        auto text = [&](const std::string &s, const gfx::Color &colour, float left, float width) {
            context.setFill(colour);
            context.drawText(s, {left, y, width, RowHeight}, *font, gfx::LineBreak::Clip, gfx::Align::Right);
        };
        text(timeText(j), *gfx::Color::white(), x, TimeWidth);
        text(Util::FormatPrice(tick.dealPrice, m_priceDecimal),
             *style.getPriceColor(m_lastClosePrice, tick.dealPrice), x + TimeWidth, PriceWidth);
        text(Util::FormatBuySellPanVolume(tick.dealVol, m_stockCode, m_stockType),
             *(tick.isOuterPan ? style.clTextRise : style.clTextFall), x + TimeWidth + PriceWidth,
             VolumeWidth);
    }
}

// --- The pager

struct StockDetailFullScreenView::Relay : ui::ScrollViewDelegate {
    base::Weak<StockDetailFullScreenView> view;
    base::Opt<void> didScroll(ui::ScrollView &scrollView) override {
        if (auto v = view.lock())
            v->scrollViewDidScroll(scrollView);
        return {};
    }
};

StockDetailFullScreenView::StockDetailFullScreenView(gfx::Rect frame)
    : ui::View(frame), m_relay(base::make<Relay>()) {
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    m_stockDetailScrollView =
        base::make<ui::ScrollView>(gfx::Rect{0, TitleHeight, frame.width(), frame.height() - TitleHeight});
    m_stockDetailScrollView->pagingEnabled = true;
    m_stockDetailScrollView->decelerationRate = kDecelerationRate;
    m_stockDetailScrollView->setBackgroundColor(gfx::Color::clear());
    addSubview(m_stockDetailScrollView);
    for (auto &page : m_scrollSubViewArray) {
        page = base::make<StockDetailScrollView>(gfx::Rect{0, 0, PageWidth, PageHeight});
        m_stockDetailScrollView->addSubview(page);
    }
    m_titleLabel = makeLabel({60, 0, 300, TitleHeight}, gfx::Font::boldSystem(20), gfx::Align::Left);
    addSubview(m_titleLabel);
    m_closeButton = ui::Button::custom({5, 5, 25, 25});
    m_closeButton->setBackgroundImage(gfx::Image::named("stockDetail_ZoomOut.png"));
    addSubview(m_closeButton);
    m_pageInfoLabel = makeLabel({362, 0, 300, TitleHeight}, gfx::Font::system(14), gfx::Align::Center);
    addSubview(m_pageInfoLabel);
    m_strikePack->tag = kPagedTag;
    m_strikePack->pos = 1;
}

base::Ref<StockDetailFullScreenView>
StockDetailFullScreenView::Open(ui::View &panel, gfx::Rect ticksFrame, int strikeLastPos,
                                const base::Weak<base::Object> &parent, bool withName,
                                base::Weak<StockDetailFullScreenViewDelegate> delegate) {
    auto pager = base::make<StockDetailFullScreenView>(
        gfx::Rect{panel.frame().x(), ticksFrame.y(), ticksFrame.width(), ticksFrame.height()});
    pager->delegate = std::move(delegate);
    static const std::string noCode;
    static const base::Ref<StockBasicInf> noRecord;
    auto screen = std::dynamic_pointer_cast<StockDetailParent>(parent.lock());
    const base::Ref<StockBasicInf> &record = screen ? screen->getCurrentBasicInf() : noRecord;
    pager->SetStockCode(screen ? screen->getCurrentCode() : noCode, record, strikeLastPos);
    std::string name = record ? record->name : std::string();
    pager->titleLabel().setText(withName ? base::str::format("%@ - 逐笔成交", name) : "逐笔成交");
    pager->ShowWithAnimationZoomToRect(kFullRect);
    if (ui::View *root = panel.superview())
        root->addSubview(pager);
    return pager;
}

StockDetailFullScreenView::~StockDetailFullScreenView() {
    base::NotificationCenter::shared().removeObserver(this);
    base::RunLoop::main().cancelPerforms(this);
    saveCache();
}

void StockDetailFullScreenView::setUp() {
    ui::View::setUp();
    auto weak = weakSelf<StockDetailFullScreenView>();
    m_relay->view = weak;
    m_stockDetailScrollView->delegate = m_relay;
    base::NotificationCenter &center = base::NotificationCenter::shared();
    center.addObserver(weak, ObserverName, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            DataBase::ProcRecvNotify(n, *self);
    });
    center.addObserver(weak, DataBase::CommonNotify, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->CommonNotify(n);
    });
    m_closeButton->addTarget(base::Action(weak, "GoBackAction",
                                          [weak](base::Object *) {
                                              if (auto self = weak.lock())
                                                  self->GoBackAction();
                                          }),
                             ui::TouchUpInside);
}

void StockDetailFullScreenView::SetStockCode(const std::string &code,
                                             const base::Ref<StockBasicInf> &basicInf, int strikeLastPos) {
    m_strikePack->code = code;
    m_strikeLastPos = strikeLastPos;
    const base::Ref<DataBase> &db = DataBase::sharedDataBase();
    m_quotesDate = db && db->IO_NetDataCenter() ? db->IO_NetDataCenter()->IO_QuotesDate : 0;
    loadCache();
    int last = std::max(strikeLastPos, 0) / PageTicks;
    m_currentPageNo = m_maxPageNo = m_scrollPrevPageNo = last;
    setContentPages(last + 1);
    for (const auto &page : m_scrollSubViewArray)
        if (basicInf)
            page->SetBasicInf(*basicInf);
    showPage(*m_scrollSubViewArray[0], last);
    showPage(*m_scrollSubViewArray[1], last - 1);
    showPage(*m_scrollSubViewArray[2], -1);
    scrollToPage(last);
    writePageLabel();
    bool sent = reqOnePageStrike(last);
    if (strikeLastPos >= PageTicks) {
        if (!sent)
            reqOnePageStrike(last - 1);
        else
            m_waitingReqPageNoArray.push_back(last - 1);
    }
}

// --- Requests

bool StockDetailFullScreenView::reqOnePageStrike(int pageNo) {
    if (pageNo < 0)
        return false;
    base::Ref<StrikeDetailPageInfo> page = m_strikePageDict->getPageInfoWithCreate(pageNo);
    page->pageNo = pageNo;
    int held = int(page->array.size());
    if (page->isGetAllData || held >= PageTicks)
        return false;
    if (page->currentReqPos < 0)
        page->currentReqPos = pageNo * PageTicks + held;
    m_strikePack->rspArray.clear();
    m_strikePack->pos = page->currentReqPos;
    m_strikePack->reqCount = std::min(PageTicks - held, BatchTicks);
    m_isBusyofReqStrike = true;
    m_reqPageNo = pageNo;
    const base::Ref<DataBase> &db = DataBase::sharedDataBase();
    if (db && db->IO_NetDataCenter())
        db->IO_NetDataCenter()->RequestStkStrikeDetail(std::string(ObserverName), m_strikePack);
    base::RunLoop &loop = base::RunLoop::main();
    loop.cancelPerforms(this, kTimeoutAction);
    auto weak = weakSelf<StockDetailFullScreenView>();
    loop.performAfter(ReplyTimeout, base::Action(weak, kTimeoutAction, [weak](base::Object *) {
                          if (auto self = weak.lock())
                              self->replyMissing();
                      }));
    return true;
}

void StockDetailFullScreenView::reqWaitingPages() {
    while (!m_waitingReqPageNoArray.empty()) {
        int pageNo = m_waitingReqPageNoArray.front();
        m_waitingReqPageNoArray.pop_front();
        if (reqOnePageStrike(pageNo))
            return;
    }
    m_isBusyofReqStrike = false;
    m_reqPageNo = -1;
    base::RunLoop::main().cancelPerforms(this, kTimeoutAction);
}

// A request whose reply will not come (lost, or the connection went down): ask again.
void StockDetailFullScreenView::replyMissing() {
    if (!m_isBusyofReqStrike)
        return;
    m_isBusyofReqStrike = false;
    m_strikePack->isIdle = true;
    if (!reqOnePageStrike(m_reqPageNo))
        reqWaitingPages();
}

void StockDetailFullScreenView::CommonNotify(const base::Notification &notification) {
    if (notification.userInfo.get("HQConnectStatus").boolValue())
        replyMissing();
}

void StockDetailFullScreenView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType != kStrikeType || !params || !params->has("reqPos") || !params->has("reqCount"))
        return;
    int reqPos = int(params->get("reqPos").intValue()), reqCount = int(params->get("reqCount").intValue());
    int pageNo = reqPos >= 0 ? reqPos / PageTicks : -1;
    base::Ref<StrikeDetailPageInfo> page = m_strikePageDict->getPageInfo(pageNo);
    if (!page)
        return;
    std::vector<int> touched{pageNo};
    for (const auto &object : m_strikePack->rspArray)
        if (auto tick = std::dynamic_pointer_cast<StkStrikeDetailItem>(object); tick && addTick(tick))
            touched.push_back(tick->pos / PageTicks);
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    for (int n : touched)
        refreshViewOf(n);
    int rspCount = int(params->get("rspCount").intValue());
    if (rspCount < reqCount)
        page->isGetAllData = true;
    int rspPos = params->has("rspPos") ? int(params->get("rspPos").intValue()) : reqPos;
    page->currentReqPos = rspPos + rspCount;
    if (!reqOnePageStrike(pageNo))
        reqWaitingPages();
}

bool StockDetailFullScreenView::addTick(const base::Ref<StkStrikeDetailItem> &tick) {
    if (tick->pos < 0)
        return false;
    base::Ref<StrikeDetailPageInfo> page = m_strikePageDict->getPageInfoWithCreate(tick->pos / PageTicks);
    page->pageNo = tick->pos / PageTicks;
    auto &ticks = page->array;
    if (int(ticks.size()) >= PageTicks)
        return false;
    auto at = std::lower_bound(ticks.begin(), ticks.end(), tick->pos,
                               [](const auto &held, int pos) { return held->pos < pos; });
    if (at != ticks.end() && (*at)->pos == tick->pos)
        return false;
    ticks.insert(at, tick);
    return true;
}

// --- Live ticks

void StockDetailFullScreenView::UpdateParentStrikeArray(const std::vector<base::Ref<base::Object>> &strikes,
                                                        int) {
    if (m_maxPageNo < 0)
        return;
    base::Ref<StrikeDetailPageInfo> last = m_strikePageDict->getPageInfoWithCreate(m_maxPageNo);
    int newest = last->array.empty() ? m_maxPageNo * PageTicks - 1 : last->array.back()->pos;
    int newestPage = m_maxPageNo;
    for (const auto &object : strikes) {
        auto tick = std::dynamic_pointer_cast<StkStrikeDetailItem>(object);
        if (!tick || tick->pos <= newest)
            continue;
        // A tick past the next one would leave a gap in the pages.
        if (tick->pos != newest + 1)
            break;
        int pageNo = tick->pos / PageTicks;
        if (pageNo > newestPage) {
            m_strikePageDict->getPageInfoWithCreate(newestPage)->isGetAllData = true;
            refreshViewOf(newestPage);
            newestPage = pageNo;
        }
        if (!addTick(tick))
            break;
        newest = tick->pos;
    }
    if (newestPage > m_maxPageNo)
        ResetNewPageView(newestPage);
    else
        refreshViewOf(m_maxPageNo);
}

void StockDetailFullScreenView::ResetNewPageView(int pageNo) {
    setContentPages(pageNo + 1);
    if (m_currentPageNo == m_maxPageNo) {
        for (const auto &view : m_scrollSubViewArray) {
            int shown = view->currentPageNo();
            if ((pageNo >= 2 && shown == pageNo - 2) || shown == pageNo - 1 || shown == pageNo)
                continue;
            showPage(*view, pageNo);
            break;
        }
        m_maxPageNo = m_currentPageNo = m_scrollPrevPageNo = pageNo;
        scrollToPage(pageNo);
    } else {
        m_maxPageNo = pageNo;
    }
    writePageLabel();
}

// --- Pages on screen

void StockDetailFullScreenView::scrollViewDidScroll(ui::ScrollView &scrollView) {
    int visible = int(std::floor((scrollView.contentOffset().x + PageWidth / 2) / PageWidth));
    if (visible != m_scrollPrevPageNo) {
        m_scrollPrevPageNo = visible;
        gotoNewPage(visible);
    }
}

void StockDetailFullScreenView::gotoNewPage(int pageNo) {
    if (pageNo < 0 || pageNo > m_maxPageNo)
        return;
    m_currentPageNo = pageNo;
    writePageLabel();
    if (pageNo == 0 || pageNo == m_maxPageNo)
        return;
    const int wanted[] = {pageNo - 1, pageNo, pageNo + 1};
    auto isWanted = [&](int n) {
        return std::find(std::begin(wanted), std::end(wanted), n) != std::end(wanted);
    };
    StockDetailScrollView *spare = nullptr;
    for (const auto &view : m_scrollSubViewArray)
        if (!isWanted(view->currentPageNo()))
            spare = view.get();
    if (!spare)
        return;
    for (int n : wanted) {
        if (viewShowing(n))
            continue;
        showPage(*spare, n);
        base::Ref<StrikeDetailPageInfo> page = m_strikePageDict->getPageInfo(n);
        if (page && (page->isGetAllData || int(page->array.size()) >= PageTicks))
            return;
        if (m_isBusyofReqStrike)
            m_waitingReqPageNoArray.push_front(n);
        else
            reqOnePageStrike(n);
        return;
    }
}

void StockDetailFullScreenView::showPage(StockDetailScrollView &view, int pageNo) {
    if (pageNo >= 0)
        view.setFrame({PageWidth * float(pageNo), 0, PageWidth, PageHeight});
    base::Ref<StrikeDetailPageInfo> page = m_strikePageDict->getPageInfo(pageNo);
    view.UpdateStrikeArray(page ? &page->array : nullptr, pageNo);
}

StockDetailScrollView *StockDetailFullScreenView::viewShowing(int pageNo) const {
    for (const auto &view : m_scrollSubViewArray)
        if (view->currentPageNo() == pageNo)
            return view.get();
    return nullptr;
}

void StockDetailFullScreenView::refreshViewOf(int pageNo) {
    StockDetailScrollView *view = viewShowing(pageNo);
    base::Ref<StrikeDetailPageInfo> page = m_strikePageDict->getPageInfo(pageNo);
    if (view && page)
        view->UpdateStrikeArray(&page->array, pageNo);
}

void StockDetailFullScreenView::setContentPages(int pages) {
    m_stockDetailScrollView->setContentSize({PageWidth * float(pages), PageHeight});
}

void StockDetailFullScreenView::scrollToPage(int pageNo) {
    m_stockDetailScrollView->setContentOffset({PageWidth * float(pageNo), 0}, false);
}

void StockDetailFullScreenView::writePageLabel() {
    m_pageInfoLabel->setText(base::str::format("第 %d 页, 共 %d 页", m_currentPageNo + 1, m_maxPageNo + 1));
}

// --- Zoom

void StockDetailFullScreenView::ShowWithAnimationZoomToRect(gfx::Rect rect) {
    m_fromRect = frame();
    ui::View::animate(ZoomSeconds, 0, ui::Curve::EaseInOut, [&] {
        m_closeButton->setFrame({0, 0, 25, 25});
        m_stockDetailScrollView->setFrame({0, TitleHeight, rect.width(), rect.height() - TitleHeight});
        setFrame(rect);
    });
}

void StockDetailFullScreenView::GoBackAction() {
    auto weak = weakSelf<StockDetailFullScreenView>();
    ui::View::animate(
        ZoomSeconds, 0, ui::Curve::EaseInOut,
        [&] {
            m_stockDetailScrollView->setFrame(
                {0, TitleHeight, m_fromRect.width(), m_fromRect.height() - TitleHeight});
            setFrame(m_fromRect);
        },
        [weak](bool) {
            auto self = weak.lock();
            if (!self)
                return;
            if (auto d = self->delegate.lock())
                d->ReturnStrikeFullScreenViewDismiss();
            self->removeFromSuperview();
        });
}

// --- The day's tick cache

void StockDetailFullScreenView::loadCache() {
    if (m_strikePack->code.empty() || m_quotesDate <= 0)
        return;
    std::vector<base::Ref<StkStrikeDetailItem>> cached;
    if (LocalFileFunc::readStrikeDetail(m_strikePack->code, cached, m_quotesDate))
        for (const auto &tick : cached)
            addTick(tick);
}

void StockDetailFullScreenView::saveCache() const {
    if (m_strikePack->code.empty() || m_quotesDate <= 0)
        return;
    std::vector<base::Ref<StkStrikeDetailItem>> all;
    for (const auto &[pageNo, page] : m_strikePageDict->pages)
        if (pageNo >= 0 && pageNo <= m_maxPageNo)
            all.insert(all.end(), page->array.begin(), page->array.end());
    if (!all.empty())
        LocalFileFunc::saveStrikeDetail(m_strikePack->code, all, m_quotesDate);
}
