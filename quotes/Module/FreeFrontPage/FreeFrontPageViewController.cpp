#include "Module/FreeFrontPage/FreeFrontPageViewController.h"

#include "DataBase/DataBase.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/NotificationCenter.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"

#include <algorithm>

BASE_REGISTER_CLASS(FreeFrontPageViewController);

namespace {

constexpr const char *PageTitle = "首页";
constexpr float PanelGap = 1, IndexListTopGap = 1, WatchListGap = 5, WatchListBottomGap = 20;
constexpr float NewsSideBarExtra = 3;
constexpr float HeadlineCentreY = 0.45f;

} // namespace

FreeFrontPageViewController::Layout FreeFrontPageViewController::layoutFor(gfx::Rect screenBounds) {
    const float S = std::min(screenBounds.width(), screenBounds.height());
    const float L = std::max(screenBounds.width(), screenBounds.height());
    const float bars = NavBarHeight + TabBarHeight + StatusBarHeight;
    Layout l;
    l.fundFlow = {0, 0, L - NewsSideBarWidth - PanelGap, FundFlowHeight};
    l.indexList = {0, FundFlowHeight, IndexListWidth, S - bars - FundFlowHeight - IndexListTopGap};
    l.newsSideBar = {l.fundFlow.width() + PanelGap, 0, NewsSideBarWidth,
                     S - bars - StatusBarHeight + NewsSideBarExtra};
    l.watchList = {IndexListWidth + WatchListGap, FundFlowHeight,
                   L - IndexListWidth - NewsSideBarWidth - 2 * WatchListGap,
                   l.indexList.height() - WatchListBottomGap};
    l.headlineCentre = {float(int(L * 0.5f)), float(int(S * HeadlineCentreY))};
    return l;
}

void FreeFrontPageViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    showGuideOnFirstRun();
    initUI();
}

void FreeFrontPageViewController::showGuideOnFirstRun() {
    DataManager &data = DataManager::sharedDataManager();
    base::Value shown = data.gUserConfigDict.get(GuideKey);
    if (!shown.isNull() && !shown.boolValue())
        return;
    data.gUserConfigDict.set(GuideKey, false);
    data.SaveUserConfigFile();
    base::NotificationCenter::shared().post(DataBase::AppNotify, nullptr,
                                            base::Dict{{"MSG_ID", "Guide_MSG"}});
}

void FreeFrontPageViewController::initUI() {
    setTitle(PageTitle);
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    if (ui::NavigationController *nav = navigationController())
        nav->navigationBar().setTint(gfx::Color::rgba(0.096f, 0.157f, 0.208f));
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
    layout_ = layoutFor(ui::Screen::main().bounds());
    svCapitalSideBarV_ = base::make<SVCapitalSideBarView>(layout_.fundFlow);
    svCapitalSideBarV_->setBackgroundColor(gfx::Color::rgba(0.02f, 0.11f, 0.16f, 0.99f));
    svCapitalSideBarV_->svCapitalChartV().delegate = weakSelf<FreeFrontPageViewController>();
    indexSidBanner_ = base::make<IndexSideBannerListView>(layout_.indexList);
    indexSidBanner_->indexSideBannerDelegate = weakSelf<FreeFrontPageViewController>();
    mystockListV_ = base::make<MyStockListView>(layout_.watchList);
    mystockListV_->delegate = weakSelf<FreeFrontPageViewController>();
    view().addSubview(indexSidBanner_);
    view().addSubview(svCapitalSideBarV_);
    view().addSubview(mystockListV_);
    initNewsPanels();
}

void FreeFrontPageViewController::initNewsPanels() {
    newsSideBarV_ = base::make<NewsSideBarView>(layout_.newsSideBar);
    newsSideBarV_->setBackgroundColor(gfx::Color::rgba(0.18f, 0.28f, 0.41f, 1));
    newsSideBarV_->delegate = weakSelf<FreeFrontPageViewController>();
    view().addSubview(newsSideBarV_);
    newsContentV_ =
        base::make<NewsContentFrontPageView>(gfx::Rect{0, 0, HeadlinePopupSize.w, HeadlinePopupSize.h});
    newsContentV_->delegate = weakSelf<FreeFrontPageViewController>();
    newsContentV_->setFrame({layout_.headlineCentre.x - HeadlinePopupSize.w / 2,
                             layout_.headlineCentre.y - HeadlinePopupSize.h / 2, HeadlinePopupSize.w,
                             HeadlinePopupSize.h});
}

void FreeFrontPageViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        timer->setController(weakSelf<FreeFrontPageViewController>());
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<FreeFrontPageViewController>());
}

void FreeFrontPageViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    resetCurTimerCenter();
    if (dataHasOverTime())
        reqDataOnTimer(0);
}

void FreeFrontPageViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        if (timer->controller().get() == static_cast<TimerCenterDelegate *>(this))
            timer->setController({});
    setViewDisappearTick();
}

bool FreeFrontPageViewController::shouldAutorotateTo(ui::Orientation orientation) {
    return orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
}

base::Opt<void> FreeFrontPageViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}

void FreeFrontPageViewController::resetCurTimerCenter() {
    const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter();
    if (!timer)
        return;
    timer->setController(weakSelf<FreeFrontPageViewController>());
    timer->resetCountDown(RefreshPeriod, TimerID);
}

base::Opt<void> FreeFrontPageViewController::OnTimerCenterNotify(int32_t userID) {
    reqDataOnTimer(userID - TimerID);
    return {};
}

void FreeFrontPageViewController::reqDataOnTimer(int) {
    if (!DataBase::sharedDataBase()->isHQConnected())
        return;
    if (svCapitalSideBarV_)
        svCapitalSideBarV_->requestSVCaiptalCharData();
    if (newsSideBarV_)
        newsSideBarV_->refreshOnTimer(nullptr);
    if (indexSidBanner_)
        indexSidBanner_->reqIndexBanner();
    if (mystockListV_)
        mystockListV_->NotifyTimeEvent();
}

base::Opt<void> FreeFrontPageViewController::chartViewClick(SVCapitalChartView &, const base::Dict &) {
    return {};
}

void FreeFrontPageViewController::newsSideBarViewItemClick(NewsSideBarView &, const base::Dict &userInfo) {
    if (!newsContentV_)
        return;
    if (!newsContentV_->superview()) {
        newsContentV_->addTapGestureRecognizerToSuperView(&view());
        view().addSubview(newsContentV_);
    }
    if (userInfo.has(NewsSideBarView::UrlKey))
        newsContentV_->refreshData(userInfo.get(NewsSideBarView::UrlKey).stringValue());
}

base::Opt<void>
FreeFrontPageViewController::newsContentFrontPageView_didClickStockCode(const std::string &code) {
    openDetail(code, base::Array(), 0);
    return {};
}

base::Opt<void> FreeFrontPageViewController::IndexSideBannerMinLineViewClick(ui::View &,
                                                                             const base::Dict &info) {
    base::Value stocks = info.get("kDataArray");
    openDetail(info.get("kStkCode").stringValue(), stocks.array() ? *stocks.array() : base::Array(),
               int(info.get("kStkIndex").intValue()));
    return {};
}

base::Opt<void> FreeFrontPageViewController::ReturnStockCodeMarket(const std::string &code,
                                                                   const std::string &, int stockIndex,
                                                                   const base::Array &dataArray) {
    openDetail(code, dataArray, stockIndex);
    return {};
}

void FreeFrontPageViewController::openDetail(const std::string &code, const base::Array &stocks, int index) {
    ui::NavigationController *nav = navigationController();
    if (!nav || code.empty())
        return;
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    detail->SetCheckStocksArray(stocks, index);
    nav->push(detail, true);
}
