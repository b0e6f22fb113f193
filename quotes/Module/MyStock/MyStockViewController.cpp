#include "Module/MyStock/MyStockViewController.h"

#include "DataBase/DataBase.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "Common/FileFunc.h"
#include "Common/TimeFunc.h"
#include "base/FileManager.h"
#include "base/PropertyList.h"
#include "base/RunLoop.h"
#include "ui/NavigationController.h"

BASE_REGISTER_CLASS(MyStockViewController);

namespace {

constexpr int QuoteReplyType = 2955;
constexpr int MinLineReplyType = 2942;
constexpr float MiniChartHeight = 56;

// The group list the user keeps, else the bundle's.
base::Array readGroupList() {
    std::string documentsCopy =
        FileFunc::getFilePath(std::string(MyStockViewController::GroupListFile) + ".plist");
    if (base::FileManager::exists(documentsCopy))
        if (std::optional<base::Value> list = base::PropertyList::read(documentsCopy); list && list->array())
            return *list->array();
    return loadBundleList(MyStockViewController::GroupListFile);
}

} // namespace

MyStockViewController::~MyStockViewController() {
    base::NotificationCenter::shared().removeObserver(this);
}

QuoteRequester MyStockViewController::requester() {
    return base::Ref<DataPoolDelegate>(self<MyStockViewController>());
}

void MyStockViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    m_mviews = base::make<MiniViewManager>();
    m_myStockQuotesData = MyStockQuotesData::create();
    m_myStockQuotesData->setMyStockDataArray(m_myStockDataArray);
    m_myStockQuotesData->extendedFieldsFlag = 511;
    initData();
    initUI();
    reqQuotesByPage(0);
}

void MyStockViewController::initData() {
    m_currentViewType = 0;
    base::Weak<MyStockViewController> weak = weakSelf<MyStockViewController>();
    auto &centre = base::NotificationCenter::shared();
    centre.addObserver(weak, DataManager::MyStockSwitchCenter, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->MyStockSwitchAction(n);
    });
    centre.addObserver(weak, DataBase::CommonNotify, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->CommonNotify(n);
    });
    base::Array groups = readGroupList();
    // Without a group of the user's the bundle's list serves; without any, the screen stays empty.
    useGroupList(groups.size() ? groups : loadBundleList(GroupListFile));
}

void MyStockViewController::useGroupList(const base::Array &groups) {
    m_myStockModelArray = groups;
    if (groups.size() == 0) {
        m_currentModelName.clear();
        m_currentModelFileName.clear();
        m_myStockArray = base::Array();
        m_myStockQuotesData->createMyStockDataArray(m_myStockArray);
        return;
    }
    m_currentModelName = groups[0]["ModelName"].stringValue();
    m_currentModelFileName = groups[0]["ModelFileName"].stringValue();
    reloadMyStockArray(m_currentModelFileName);
}

void MyStockViewController::initUI() {
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    if (ui::NavigationController *nav = navigationController())
        nav->navigationBar().setTint(gfx::Color::rgba(0.096f, 40 / 255.f, 53 / 255.f));

    m_configBarView = base::make<ConfigBarView>(BarFrame);
    m_configBarView->delegate = weakSelf<MyStockViewController>();
    m_configBarView->SetButtonListTitle(m_currentModelName);
    m_configBarView->SetSelectedCircleTabIndex(0, 0);
    view().addSubview(m_configBarView);

    m_configView = base::make<ConfigView>(QuoteFrame);
    m_configView->setHidden(true);
    view().addSubview(m_configView);

    m_myStockTableView = base::make<MyStockTableView>(QuoteFrame);
    m_myStockTableView->delegate = weakSelf<MyStockViewController>();
    m_myStockTableView->parentControllerTarget = weakSelf<MyStockViewController>();
    m_myStockTableView->SetTableDataArray(m_myStockDataArray);
    view().addSubview(m_myStockTableView);
    view().bringSubviewToFront(m_configView.get());
}

void MyStockViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<MyStockViewController>());
}

void MyStockViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    resetCurTimerCenter();
    if (dataHasOverTime())
        reqDataOnTimer();
}

void MyStockViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        if (timer->controller().get() == static_cast<TimerCenterDelegate *>(this))
            timer->setController({});
    setViewDisappearTick();
}

bool MyStockViewController::shouldAutorotateTo(ui::Orientation orientation) {
    bool landscape =
        orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
    if (landscape && isViewLoaded()) {
        m_configBarView->reLayout(BarFrame);
        m_configView->reLayout(QuoteFrame);
        m_myStockTableView->reLayout(QuoteFrame);
    }
    return landscape;
}

base::Opt<void> MyStockViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}

// --- Group and rows

void MyStockViewController::reloadMyStockArray(const std::string &fileName) {
    m_myStockArray = DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName(fileName);
    m_myStockQuotesData->createMyStockDataArray(m_myStockArray);
}

void MyStockViewController::ReloadModelStocks(const std::string &fileName) {
    reloadMyStockArray(fileName);
    if (editing()) {
        m_configView->currentModelFileName = fileName;
        m_configView->SetTableDataArray(m_myStockArray);
    } else if (!m_myStockTableView->isHidden()) {
        m_myStockTableView->SetTableDataArray(m_myStockDataArray);
        m_myStockTableView->RefreshTableView();
    }
}

void MyStockViewController::ResetMyModuleAndStockArray() {
    if (m_myStockModelArray.size() == 0 || !isViewLoaded())
        return;
    useGroupList(loadBundleList(GroupListFile));
    m_configBarView->SetButtonListTitle(m_currentModelName);
    m_configBarView->SetSelectedCircleTabIndex(0, 0);
    ReloadModelStocks(m_currentModelFileName);
}

void MyStockViewController::MyStockSwitchAction(const base::Notification &notification) {
    if (notification.userInfo.get("MSG_ID").stringValue() != "AddedNewStock")
        return;
    base::Value data = notification.userInfo.get("Data");
    if (data["ModelName"].stringValue() != m_currentModelName || !isViewLoaded())
        return;
    ReloadModelStocks(data["ModelFileName"].stringValue());
    if (editing())
        return;
    // Several changes in quick succession give one re-request, after the last.
    base::RunLoop &loop = base::RunLoop::main();
    loop.cancelPerforms(this, "rereqData");
    loop.performAfter(RereqDelay,
                      base::Action(weakSelf(), "rereqData", [this](base::Object *) { rereqData(); }));
}

// --- Requests

void MyStockViewController::reqQuotesByPage(int page) {
    if (m_myStockDataArray->items.empty())
        return;
    m_myStockQuotesData->reqQuotesByPage(page, requester());
}

void MyStockViewController::rereqData() {
    m_myStockQuotesData->clearPageQuotesArray();
    reqQuotesByPage(0);
}

void MyStockViewController::reqMinLines(const QuoteRecords &records, int count) {
    m_mviews->reqMinLinesWithQuotesArray(records, 0, count, requester(), 0);
}

void MyStockViewController::prereqNextPageQuotes(double offset, double rowHeight) {
    m_myStockQuotesData->prereqNextPageQuotes(offset, rowHeight, requester());
}

void MyStockViewController::reqCurScreenData(const std::vector<int> &visibleRows) {
    QuoteRecords records;
    if (!m_myStockQuotesData->reqCurScreenData(visibleRows, records, requester()))
        reqMinLines(records, int(records.size()));
}

void MyStockViewController::reqCurScreenQuotes(const std::vector<int> &visibleRows) {
    m_myStockQuotesData->reqCurScreenQuotes(visibleRows, requester());
}

void MyStockViewController::resetQuotesSortId(int sortID, int sortType) {
    std::optional<QuoteRecords> sorted = m_myStockQuotesData->beginQuotesSort(
        sortID, sortType, int(m_myStockDataArray->items.size()), requester());
    if (sorted) {
        reqMinLines(*sorted, FirstRowsCharted);
        m_myStockTableView->RefreshTableView();
        return;
    }
    if (DataBase::sharedDataBase()->isHQConnected()) {
        gfx::Rect b = view().bounds();
        startWaitingAlert(
            {(b.width() - WaitingWidth) / 2, (b.height() - WaitingHeight) / 2, WaitingWidth, WaitingHeight});
    }
}

// --- Replies

void MyStockViewController::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!params)
        return;
    if (reqType == QuoteReplyType)
        ProcQuotes(params);
    else if (reqType == MinLineReplyType)
        ProcMinLine(params);
}

void MyStockViewController::ProcQuotes(const base::Ref<ReqParams> &params) {
    std::optional<QuoteRecords> records;
    int startid = -1, value = 0;
    int result = m_myStockQuotesData->ProcQuotes(int(params->get("tag").intValue()), records, startid, value);
    if (result == MyStockQuotesData::VisibleReply) {
        if (records)
            reqMinLines(*records, int(records->size()));
    } else if (result == MyStockQuotesData::SortReply) {
        if (!records)
            return;
        reqMinLines(*records, FirstRowsCharted);
        stopWaitingAlert();
    } else if (result == MyStockQuotesData::PageReply) {
        if (value == 0 && records)
            reqMinLines(*records, FirstRowsCharted);
    } else {
        return;
    }
    if (!m_myStockTableView->isHidden())
        m_myStockTableView->RefreshTableView();
}

void MyStockViewController::ProcMinLine(const base::Ref<ReqParams> &params) {
    base::Ref<MinLinePack> pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
    if (!pack || m_myStockTableView->isHidden())
        return;
    std::string code = params->get("code").stringValue();
    base::Ref<MiniMinLineView> mview = m_mviews->getMViewWithCreate(code, MiniChartHeight);
    if (mview->basicInf()) {
        mview->updateTick = TimeFunc::getCurTick();
        mview->Update(mview->basicInf(), toMinLineList(pack->rspArray));
    }
    m_myStockTableView->UpdateMinLineView(mview, code);
}

// --- Refresh

void MyStockViewController::resetCurTimerCenter() {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter()) {
        timer->setController(weakSelf<MyStockViewController>());
        timer->resetCountDown(RefreshPeriod, FirstTimerID);
    }
}

void MyStockViewController::resetTimerCenterOnScroll(int slot) {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        timer->resetCountDown(RefreshPeriod, FirstTimerID + slot);
}

base::Opt<void> MyStockViewController::OnTimerCenterNotify(int32_t userID) {
    if (userID == FirstTimerID && isViewLoaded() && !editing())
        reqDataOnTimer();
    return {};
}

void MyStockViewController::reqDataOnTimer() {
    if (DataBase::sharedDataBase()->isHQConnected() && !m_myStockTableView->isHidden())
        m_myStockTableView->reqCurScreenQuotes();
}

void MyStockViewController::CommonNotify(const base::Notification &notification) {
    if (notification.userInfo.get("HQConnectStatus").boolValue()) {
        stopWaitingAlert();
        m_mviews->minLineLib()->setAllIdle();
    }
    if (notification.userInfo.get("AppActiveState").stringValue() == "AppDidBecomeActive")
        m_mviews->minLineLib()->clearAllMinLinesData();
}

// --- User actions

base::Opt<void> MyStockViewController::SwitchTabButtonAction(ui::Button &sender) {
    if (sender.tag == ConfigBarView::modelTag) {
        m_currentViewType = 0;
        m_myStockTableView->setHidden(false);
        m_configBarView->EnableCircleBtn(false);
        m_myStockTableView->reqCurScreenData();
        m_myStockTableView->ResetTableMode(1);
    } else if (sender.tag == ConfigBarView::modelTag + 1) {
        m_currentViewType = 1;
        m_myStockTableView->setHidden(false);
        m_configBarView->EnableCircleBtn(false);
        m_myStockTableView->ResetTableMode(0);
    }
    resetCurTimerCenter();
    return {};
}

base::Opt<void> MyStockViewController::BtnEditMyStockAction(ui::Button &sender) {
    s_editFlag = !s_editFlag;
    sender.setTitle(s_editFlag ? "完成" : "编辑");
    m_configView->setHidden(!s_editFlag);
    m_configBarView->EnableTabBtn(!s_editFlag);
    if (s_editFlag) {
        view().bringSubviewToFront(m_configView.get());
        ReloadModelStocks(m_currentModelFileName);
        return {};
    }
    view().bringSubviewToFront(m_myStockTableView.get());
    ReloadModelStocks(m_currentModelFileName);
    rereqData();
    return {};
}

base::Opt<void> MyStockViewController::ReturnStockName(const std::string &, const std::string &code,
                                                       int index) {
    ui::NavigationController *nav = navigationController();
    if (!nav)
        return {};
    // The rows as displayed, so that previous and next follow a sort.
    base::Array shown;
    for (const auto &row : m_myStockDataArray->items)
        shown.add(base::Dict{{"MarketCode", row->MarketCode.value_or("")},
                             {"StockName", row->StockName.value_or("")}});
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    detail->setCurrentModelName(m_currentModelName);
    detail->setCurrentModelFileName(m_currentModelFileName);
    detail->SetCheckStocksArray(shown, index);
    nav->push(detail, true);
    return {};
}
