#include "Module/Decision/DecisionViewController.h"

#include "DataBase/DataBase.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "ui/NavigationController.h"

BASE_REGISTER_CLASS(DecisionViewController);

namespace {

bool isLandscape(ui::Orientation orientation) {
    return orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
}

bool visible(const base::Ref<ui::View> &view) {
    return view && !view->isHidden();
}

} // namespace

void DecisionViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    initUI();
}

void DecisionViewController::initUI() {
    setTitle(Title);
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    if (ui::NavigationController *nav = navigationController())
        nav->navigationBar().setTint(gfx::Color::rgba(24 / 255.f, 40 / 255.f, 53 / 255.f));
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
    frontSwitchTabBarView_ = base::make<FrontSwitchTabBarView>(StripFrame);
    frontSwitchTabBarView_->delegate = weakSelf<DecisionViewController>();
    frontSwitchTabBarView_->SetButtonArray({TabTitles.begin(), TabTitles.end()});
    view().addSubview(frontSwitchTabBarView_);
    gRect_ = TabFrame;
    selectTab(RankTab);
    // The overall rankings ask at once, connected or not.
    rankMutiListView_->NotifyTimeEvent(RankIndex);
}

void DecisionViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<DecisionViewController>());
}

void DecisionViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    resetCurTimerCenter();
    int index = getCurTabIndex();
    if (dataHasOverTime() && index != -1)
        reqDataOnTimer(index);
}

void DecisionViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        if (timer->controller().get() == static_cast<TimerCenterDelegate *>(this))
            timer->setController({});
    setViewDisappearTick();
}

bool DecisionViewController::shouldAutorotateTo(ui::Orientation orientation) {
    currentOrientation_ = int(orientation);
    return isLandscape(orientation);
}

void DecisionViewController::didReceiveMemoryWarning() {
    CMViewController::didReceiveMemoryWarning();
    clearMemory();
}

void DecisionViewController::clearMemory() {
    base::Ref<ui::View> shown = currentSelectedView_.lock();
    auto drop = [&shown](auto &list) {
        if (list && list != shown) {
            list->removeFromSuperview();
            list.reset();
        }
    };
    drop(ddeDecisionView_);
    drop(sectionAnalysView_);
    drop(svfundView_);
}

base::Opt<void> DecisionViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}

// --- Tabs

ui::View *DecisionViewController::tabView(int index) const {
    switch (index) {
    case RankTab:
        return rankMutiListView_.get();
    case SectionTab:
        return sectionAnalysView_.get();
    case DDETab:
        return ddeDecisionView_.get();
    case SVFundTab:
        return svfundView_.get();
    default:
        return nullptr;
    }
}

// A tab's view made while the chart grid shows goes beneath it: the grid stays on top until back.
void DecisionViewController::addTabView(const base::Ref<ui::View> &tab) {
    if (base::Ref<TotalRankMultiMLineView> grid = rankMultiMLineView_.lock())
        view().insertSubviewBelow(tab, grid.get());
    else
        view().addSubview(tab);
}

template <class List>
void DecisionViewController::makeList(base::Ref<List> &member, int index, int boardIndex) {
    if (!member) {
        member = base::make<List>(gRect_, index);
        member->parentControllerTarget = weakSelf<MarketTableBaseViewTarget>();
        member->delegate = weakSelf<DecisionViewController>();
        member->curBoardStocksTabIndex = boardIndex;
        addTabView(member);
    }
    currentSelectedView_ = member;
}

base::Opt<void> DecisionViewController::frontSwitchTabBarView_didSelectTabItem(int index,
                                                                               const std::string &) {
    selectTab(index);
    return {};
}

void DecisionViewController::selectTab(int index) {
    switch (index) {
    case RankTab:
        if (!rankMutiListView_) {
            rankMutiListView_ = base::make<TotalRankMultiListView>(gRect_);
            rankMutiListView_->delegate = weakSelf<DecisionViewController>();
            addTabView(rankMutiListView_);
        }
        currentSelectedView_ = rankMutiListView_;
        break;
    case SectionTab:
        makeList(sectionAnalysView_, SectionIndex, SectionBoardIndex);
        break;
    case DDETab:
        makeList(ddeDecisionView_, DDEIndex, DDEBoardIndex);
        break;
    case SVFundTab:
        makeList(svfundView_, SVFundIndex, SVFundBoardIndex);
        break;
    default:
        break;
    }
    CheckWhichTabIsAlive();
    resetCurTimerCenter();
}

void DecisionViewController::CheckWhichTabIsAlive() {
    base::Ref<ui::View> shown = currentSelectedView_.lock();
    for (int index = RankTab; index <= SVFundTab; ++index)
        if (ui::View *tab = tabView(index))
            tab->setHidden(tab != shown.get());
}

int DecisionViewController::getCurTabIndex() const {
    base::Ref<TotalRankMultiMLineView> grid = rankMultiMLineView_.lock();
    if (visible(grid) || visible(rankMutiListView_))
        return RankIndex;
    if (visible(ddeDecisionView_))
        return ddeDecisionView_->isBoardStocksShowing() ? DDEBoardIndex : DDEIndex;
    if (visible(sectionAnalysView_))
        return sectionAnalysView_->isBoardStocksShowing() ? SectionBoardIndex : SectionIndex;
    if (visible(svfundView_))
        return svfundView_->isBoardStocksShowing() ? SVFundBoardIndex : SVFundIndex;
    return -1;
}

// --- Refresh

void DecisionViewController::resetCurTimerCenter() {
    const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter();
    if (!timer)
        return;
    int index = getCurTabIndex();
    if (index == -1) {
        timer->setController({});
        return;
    }
    timer->setController(weakSelf<DecisionViewController>());
    timer->resetCountDown(RefreshPeriod, TimerBase + index);
}

void DecisionViewController::resetTabTimerCenter(int index) {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        timer->resetCountDown(RefreshPeriod, TimerBase + index);
}

base::Opt<void> DecisionViewController::OnTimerCenterNotify(int32_t userID) {
    reqDataOnTimer(userID - TimerBase);
    return {};
}

void DecisionViewController::reqDataOnTimer(int index) {
    if (!DataBase::sharedDataBase()->isHQConnected())
        return;
    switch (index) {
    case RankIndex:
        if (base::Ref<TotalRankMultiMLineView> grid = rankMultiMLineView_.lock())
            grid->NotifyTimeEvent(index);
        else if (rankMutiListView_)
            rankMutiListView_->NotifyTimeEvent(index);
        break;
    case SectionIndex:
    case SectionBoardIndex:
        if (sectionAnalysView_)
            sectionAnalysView_->NotifyTimeEvent(index);
        break;
    case DDEIndex:
    case DDEBoardIndex:
        if (ddeDecisionView_)
            ddeDecisionView_->NotifyTimeEvent(index);
        break;
    case SVFundIndex:
    case SVFundBoardIndex:
        if (svfundView_)
            svfundView_->NotifyTimeEvent(index);
        break;
    default:
        break;
    }
}

base::Opt<void> DecisionViewController::resetTimerCenterOnScroll(int tabIndex) {
    resetTabTimerCenter(tabIndex);
    return {};
}

base::Opt<void> DecisionViewController::EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &) {
    resetTabTimerCenter(DDEBoardIndex);
    return {};
}

base::Opt<void> DecisionViewController::BackToDDEBoardAction() {
    resetTabTimerCenter(DDEIndex);
    return {};
}

base::Opt<void> DecisionViewController::EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &) {
    resetTabTimerCenter(SectionBoardIndex);
    return {};
}

base::Opt<void> DecisionViewController::BackToSectionBoardAction() {
    resetTabTimerCenter(SectionIndex);
    return {};
}

base::Opt<void> DecisionViewController::EnterSVFundBoardStocks(const base::Ref<StockQuoteInf> &) {
    resetTabTimerCenter(SVFundBoardIndex);
    return {};
}

base::Opt<void> DecisionViewController::BackToSVFundBoardAction() {
    resetTabTimerCenter(SVFundIndex);
    return {};
}

// --- Opening a security

void DecisionViewController::openDetail(const std::string &code, const base::Array &rows, int index) {
    ui::NavigationController *nav = navigationController();
    if (!nav || code.empty())
        return;
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    detail->SetCheckStocksArray(rows, index);
    nav->push(detail, true);
}

base::Opt<void> DecisionViewController::ReturnDDEStockCodeMarket(const std::string &code, const std::string &,
                                                                 int stockIndex,
                                                                 const base::Array &dataArray) {
    openDetail(code, dataArray, stockIndex);
    return {};
}

base::Opt<void> DecisionViewController::ReturnSectionStockCodeMarket(const std::string &code,
                                                                     const std::string &, int stockIndex,
                                                                     const base::Array &dataArray) {
    openDetail(code, dataArray, stockIndex);
    return {};
}

base::Opt<void> DecisionViewController::ReturnSVFundStockCodeMarket(const std::string &code,
                                                                    const std::string &, int stockIndex,
                                                                    const base::Array &dataArray) {
    openDetail(code, dataArray, stockIndex);
    return {};
}

base::Opt<void> DecisionViewController::jumpToMinLineView(TotalRankMultiListView &, const base::Dict &info) {
    // `get` answers a copy: keep it while its array is read.
    const base::Value codes = info.get("kDataArray");
    openDetail(info.get("kStkCode").stringValue(), codes.array() ? *codes.array() : base::Array(),
               int(info.get("kStkIndex").intValue()));
    return {};
}

base::Opt<void> DecisionViewController::totalRankMultiMLineView_didSelectGridStockName(
    const std::string &, const std::string &marketCode, int stockIndex, const base::Array &rows) {
    // A security chosen on the grid opens on its intraday chart, as the grid showed it.
    if (const base::Ref<StockDetailStatus> &status = DataBase::sharedDataBase()->IO_StockDetailStatus())
        status->setIsShowKLine(false);
    openDetail(marketCode, rows, stockIndex);
    return {};
}

// --- The chart grid of one rank list

base::Opt<void> DecisionViewController::jumpToMultiMinLineView(TotalRankMultiListView &,
                                                               const base::Dict &info) {
    const base::Value entries = info.get("stkDataArray");
    const base::Array *rows = entries.array();
    if (!rows)
        return {};
    auto grid = base::make<TotalRankMultiMLineView>(gRect_);
    grid->delegate = weakSelf<DecisionViewController>();
    grid->setTitle(info.get("title").stringValue());
    grid->setDataArray(*rows);
    view().addSubview(grid);
    rankMultiMLineView_ = grid;
    return {};
}

base::Opt<void> DecisionViewController::totalRankMultiMLineView_didTouchBack() {
    if (base::Ref<TotalRankMultiMLineView> grid = rankMultiMLineView_.lock())
        grid->removeFromSuperview();
    rankMultiMLineView_ = {};
    return {};
}
