#include "Module/FrontPage/FrontPageViewController.h"

#include "Components/CMHelpView.h"
#include "Components/CMTabBarController/CMTabBarController.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/StockDetailStatus.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"

BASE_REGISTER_CLASS(FrontPageViewController);

namespace {

constexpr float RightButtonWidth = 44;
constexpr const char *NewsScreenClass = "NewsViewController";

struct HelpTip {
    const char *image;
    gfx::Rect frame;
};
const HelpTip HelpTips[] = {{"search_mask.png", {814, 27, 200, 28}},
                            {"cover_mask.png", {0, 720, 195, 48}},
                            {"cover_mask.png", {903, 719, 121, 49}},
                            {"info_mask.png", {769, 28, 28, 28}}};

bool isLandscape(ui::Orientation orientation) {
    return orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
}

// Whether the tab shows the news screen, alone or at the root of its navigation stack.
bool showsNews(ui::ViewController &tab) {
    if (tab.className() == NewsScreenClass)
        return true;
    auto *nav = dynamic_cast<ui::NavigationController *>(&tab);
    if (!nav)
        return false;
    for (const base::Ref<ui::ViewController> &screen : nav->viewControllers())
        if (screen->className() == NewsScreenClass)
            return true;
    return false;
}

} // namespace

FrontPageViewController::~FrontPageViewController() {
    base::NotificationCenter::shared().removeObserver(this);
}

void FrontPageViewController::setUp() {
    CMViewController::setUp();
    base::Weak<FrontPageViewController> weak = weakSelf<FrontPageViewController>();
    base::NotificationCenter &centre = base::NotificationCenter::shared();
    centre.addObserver(weak, ObserverName, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            DataBase::ProcRecvNotify(n, *self);
    });
    centre.addObserver(weak, DataBase::CommonNotify, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->CommonNotify(n);
    });
}

void FrontPageViewController::DataPoolCallBack(int32_t, const base::Ref<ReqParams> &) {}

void FrontPageViewController::CommonNotify(const base::Notification &) {}

void FrontPageViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    initializeUI();
    resetCurTimerCenter();
}

void FrontPageViewController::initializeUI() {
    SetHelpTip();
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithShowStockAlarm(true);
    SetNavigationWithSearchBar();
    if (navDic.has("Next")) {
        auto control = base::make<ui::SegmentedControl>(gfx::Rect{0, 0, RightButtonWidth, 30});
        control->momentary = true;
        control->style = ui::SegmentedControl::Style::Bar;
        control->insertSegment(gfx::Image::named("NavRightBtn.png"), 0);
        control->addTarget(BASE_ACTION(this, rightAction), ui::ValueChanged);
        navigationItem().setRightItem(ui::BarButtonItem::custom(control));
    }
    frontSwitchTabBarView_ = base::make<FrontSwitchTabBarView>(StripFrame);
    frontSwitchTabBarView_->delegate = weakSelf<FrontPageViewController>();
    frontSwitchTabBarView_->SetButtonArray({TabTitles.begin(), TabTitles.end()});
    view().addSubview(frontSwitchTabBarView_);
    synView_ = base::make<SynthesizedView>(SynFrame);
    synView_->delegate = weakSelf<FrontPageViewController>();
    view().addSubview(synView_);
    currentSelectedView_ = synView_;
}

void FrontPageViewController::SetHelpTip() {
    DataManager &data = DataManager::sharedDataManager();
    if (!data.IsFirstShowHelp(HelpTipID))
        return;
    data.SetHelpShowState(false, HelpTipID);
    ui::ViewController *host = tabBarController();
    if (!host)
        host = navigationController();
    ui::View &over = host ? host->view() : view();
    // The overlay and its tips are placed on the whole screen, status bar included: the root
    // container's view starts below the status bar.
    gfx::Point screenOrigin = host ? gfx::Point{-over.frame().x(), -over.frame().y()} : gfx::Point{};
    base::Ref<CMHelpView> help = CMHelpView::create({screenOrigin, HelpFrame.s});
    help->backgroundImage().setImage(gfx::Image::named("frontpage_mask.png"));
    for (const HelpTip &tip : HelpTips)
        help->SetTipButtonWithImage(tip.image, tip.frame);
    over.addSubview(help);
    helpView_ = help;
}

void FrontPageViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<FrontPageViewController>());
}

void FrontPageViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    // The tab bar adds its strips once it shows; the first-run overlay stays above them.
    if (base::Ref<CMHelpView> help = helpView_.lock())
        if (ui::View *over = help->superview())
            over->bringSubviewToFront(help.get());
    resetCurTimerCenter();
    int index = getCurTabIndex();
    if (dataHasOverTime() && index >= 0)
        reqDataOnTimer(index);
}

void FrontPageViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        if (timer->controller().get() == static_cast<TimerCenterDelegate *>(this))
            timer->setController({});
    setViewDisappearTick();
    if (auto *tabs = dynamic_cast<CMTabBarController *>(tabBarController()))
        tabs->setPrevOrientation(currentOrientation_);
}

bool FrontPageViewController::shouldAutorotateTo(ui::Orientation orientation) {
    currentOrientation_ = int(orientation);
    if (!isLandscape(orientation))
        return false;
    if (frontSwitchTabBarView_)
        frontSwitchTabBarView_->setFrame(StripLandscape);
    ResizeTabViews(TabLandscape);
    return true;
}

void FrontPageViewController::ResizeTabViews(gfx::Rect rect) {
    gRect_ = rect;
    for (ui::View *tab : tabViews())
        tab->setFrame(rect);
}

void FrontPageViewController::didReceiveMemoryWarning() {
    CMViewController::didReceiveMemoryWarning();
    clearMemory();
}

void FrontPageViewController::clearMemory() {
    base::Ref<ui::View> shown = currentSelectedView_.lock();
    auto drop = [&shown](auto &list) {
        if (list && list != shown) {
            list->removeFromSuperview();
            list.reset();
        }
    };
    drop(ddeDecisionView_);
    drop(sectionAnalysView_);
}

base::Opt<void> FrontPageViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}

void FrontPageViewController::rightAction(ui::View *) {
    base::Value next = navDic.get("Next");
    const base::Dict *entry = next.dict();
    std::string name = navDic.get("Nav_ViewController").stringValue();
    auto screen = std::dynamic_pointer_cast<ui::ViewController>(base::ClassRegistry::create(name));
    ui::NavigationController *nav = navigationController();
    if (!screen || !nav)
        return;
    if (auto *base = dynamic_cast<CMViewController *>(screen.get()))
        base->navDic = entry ? entry->copy() : base::Dict();
    screen->setTitle(navDic.get("Nav_Name").stringValue());
    nav->push(screen, true);
}

// --- Tabs

std::vector<ui::View *> FrontPageViewController::tabViews() const {
    std::vector<ui::View *> made;
    for (ui::View *tab :
         {(ui::View *)synView_.get(), (ui::View *)stocksPoolView_.get(), (ui::View *)subjectInvestView_.get(),
          (ui::View *)discoverValueView_.get(), (ui::View *)profitExpectanceView_.get(),
          (ui::View *)ddeDecisionView_.get(), (ui::View *)sectionAnalysView_.get()})
        if (tab)
            made.push_back(tab);
    return made;
}

ui::View *FrontPageViewController::tabView(int tag) const {
    switch (tag) {
    case HomeTab:
        return synView_.get();
    case PoolTab:
        return stocksPoolView_.get();
    case SubjectTab:
        return subjectInvestView_.get();
    case DiscoverTab:
        return discoverValueView_.get();
    case ProfitTab:
        return profitExpectanceView_.get();
    case DDETab:
        return ddeDecisionView_.get();
    case SectionTab:
        return sectionAnalysView_.get();
    default:
        return nullptr;
    }
}

template <class View> base::Ref<View> &FrontPageViewController::showTab(base::Ref<View> &member) {
    if (!member) {
        member = base::make<View>(gRect_);
        view().addSubview(member);
    } else if constexpr (std::is_base_of_v<HomeWebPanel, View>) {
        member->reloadCurrentWebPage();
    }
    currentSelectedView_ = member;
    return member;
}

template <class List>
void FrontPageViewController::showList(base::Ref<List> &member, int index, int boardIndex) {
    if (!member) {
        member = base::make<List>(gRect_, index);
        member->parentControllerTarget = weakSelf<MarketTableBaseViewTarget>();
        member->delegate = weakSelf<FrontPageViewController>();
        member->curBoardStocksTabIndex = boardIndex;
        view().addSubview(member);
    }
    currentSelectedView_ = member;
}

base::Opt<void> FrontPageViewController::SelectedTabItem(ui::Button &button) {
    switch (button.tag) {
    case HomeTab:
        // Made with the screen.
        synView_->reloadCurrentWebPage();
        currentSelectedView_ = synView_;
        break;
    case PoolTab:
        if (!stocksPoolView_) {
            stocksPoolView_ = base::make<StocksPoolView>(gRect_);
            stocksPoolView_->frontParentHandler = weakSelf<ui::ViewController>();
            view().addSubview(stocksPoolView_);
        }
        currentSelectedView_ = stocksPoolView_;
        break;
    case SubjectTab:
        showTab(subjectInvestView_);
        break;
    case DiscoverTab:
        showTab(discoverValueView_);
        break;
    case ProfitTab:
        showTab(profitExpectanceView_);
        break;
    case DDETab:
        showList(ddeDecisionView_, DDEIndex, DDEBoardIndex);
        break;
    case SectionTab:
        showList(sectionAnalysView_, SectionIndex, SectionBoardIndex);
        break;
    default:
        return {};
    }
    CheckWhichTabIsAlive();
    resetCurTimerCenter();
    return {};
}

void FrontPageViewController::CheckWhichTabIsAlive() {
    base::Ref<ui::View> shown = currentSelectedView_.lock();
    for (ui::View *tab : tabViews())
        tab->setHidden(tab != shown.get());
}

int FrontPageViewController::getCurTabIndex() const {
    auto visible = [](const auto &tab) { return tab && !tab->isHidden(); };
    if (visible(synView_))
        return HomeIndex;
    if (visible(stocksPoolView_))
        return PoolIndex;
    if (visible(ddeDecisionView_))
        return ddeDecisionView_->isBoardStocksShowing() ? DDEBoardIndex : DDEIndex;
    if (visible(sectionAnalysView_))
        return sectionAnalysView_->isBoardStocksShowing() ? SectionBoardIndex : SectionIndex;
    return -1;
}

// --- Refresh

void FrontPageViewController::resetCurTimerCenter() {
    const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter();
    if (!timer)
        return;
    int index = getCurTabIndex();
    if (index < 0) {
        timer->setController({});
        return;
    }
    timer->setController(weakSelf<FrontPageViewController>());
    timer->resetCountDown(RefreshPeriod, TimerBase + index);
}

base::Opt<void> FrontPageViewController::OnTimerCenterNotify(int32_t userID) {
    reqDataOnTimer(userID - TimerBase);
    return {};
}

void FrontPageViewController::reqDataOnTimer(int index) {
    if (!DataBase::sharedDataBase()->isHQConnected())
        return;
    if (index == HomeIndex && synView_)
        synView_->indexSideBannerView().NotifyTimeEvent();
    else if (index == PoolIndex && stocksPoolView_)
        stocksPoolView_->NotifyTimeEvent();
    else if ((index == DDEIndex || index == DDEBoardIndex) && ddeDecisionView_)
        ddeDecisionView_->NotifyTimeEvent(index);
    else if ((index == SectionIndex || index == SectionBoardIndex) && sectionAnalysView_)
        sectionAnalysView_->NotifyTimeEvent(index);
}

void FrontPageViewController::resetTabTimerCenter(int index) {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        timer->resetCountDown(RefreshPeriod, TimerBase + index);
}

base::Opt<void> FrontPageViewController::resetTimerCenterOnScroll(int tabIndex) {
    resetTabTimerCenter(tabIndex);
    return {};
}

base::Opt<void> FrontPageViewController::EnterDDEBoardStocks(const base::Ref<StockQuoteInf> &) {
    resetTabTimerCenter(DDEBoardIndex);
    return {};
}

base::Opt<void> FrontPageViewController::BackToDDEBoardAction() {
    resetTabTimerCenter(DDEIndex);
    return {};
}

base::Opt<void> FrontPageViewController::EnterSectionBoardStocks(const base::Ref<StockQuoteInf> &) {
    resetTabTimerCenter(SectionBoardIndex);
    return {};
}

base::Opt<void> FrontPageViewController::BackToSectionBoardAction() {
    resetTabTimerCenter(SectionIndex);
    return {};
}

// --- Opening

void FrontPageViewController::openDetail(const std::string &code, const base::Array &list, int index) {
    ui::NavigationController *nav = navigationController();
    if (!nav)
        return;
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    detail->SetCheckStocksArray(list, index);
    nav->push(detail, true);
}

base::Opt<void> FrontPageViewController::ReturnSynthesizeStockCode(const std::string &code, int index,
                                                                   const std::vector<std::string> &codes) {
    // An index opens on its intraday chart.
    if (const base::Ref<StockDetailStatus> &status = DataBase::sharedDataBase()->IO_StockDetailStatus())
        status->setIsShowKLine(false);
    base::Array list;
    for (const std::string &each : codes)
        list.add(each);
    openDetail(code, list, index);
    return {};
}

base::Opt<void> FrontPageViewController::ReturnNewsFuncID(const std::string &) {
    ui::TabBarController *tabs = tabBarController();
    if (!tabs)
        return {};
    const auto &screens = tabs->viewControllers();
    for (size_t i = 0; i < screens.size(); ++i)
        if (showsNews(*screens[i])) {
            tabs->setSelectedIndex(int(i));
            break;
        }
    return {};
}

base::Opt<void> FrontPageViewController::ReturnDDEStockCodeMarket(const std::string &code,
                                                                  const std::string &, int stockIndex,
                                                                  const base::Array &dataArray) {
    openDetail(code, dataArray, stockIndex);
    return {};
}

base::Opt<void> FrontPageViewController::ReturnSectionStockCodeMarket(const std::string &code,
                                                                      const std::string &, int stockIndex,
                                                                      const base::Array &dataArray) {
    openDetail(code, dataArray, stockIndex);
    return {};
}
