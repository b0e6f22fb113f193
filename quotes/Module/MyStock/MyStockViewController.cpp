#include "Module/MyStock/MyStockViewController.h"

#include "Components/CMHelpView.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/StockDetailStatus.h"
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
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"

#include <algorithm>

BASE_REGISTER_CLASS(MyStockViewController);

namespace {

constexpr int QuoteReplyType = 2955;
constexpr int MinLineReplyType = 2942;
constexpr float MiniChartHeight = 56;
// The grid's margins: above its cells, and below them for the page dots.
constexpr float GridTopSpace = 15, GridBelowSpace = 30;

// The help's tips, in screen coordinates: the edit button, the group title, a row's information
// button, a column header and the view-type buttons.
struct HelpTip {
    const char *image;
    gfx::Rect frame;
};
const HelpTip kHelpTips[] = {{"cover_mask.png", {948, 65, 76, 33}},
                             {"cover_mask.png", {0, 65, 191, 33}},
                             {"info_mask.png", {104, 642, 21, 21}},
                             {"cover_mask.png", {443, 104, 33, 27}},
                             {"cover_mask.png", {821, 63, 127, 33}}};

// The group list the user keeps, else the bundle's.
base::Array readGroupList() {
    std::string documentsCopy =
        FileFunc::getFilePath(std::string(MyStockViewController::GroupListFile) + ".plist");
    if (base::FileManager::exists(documentsCopy))
        if (std::optional<base::Value> list = base::PropertyList::read(documentsCopy); list && list->array())
            return *list->array();
    return loadBundleList(MyStockViewController::GroupListFile);
}

base::Ref<KLineList> toKLineList(const KLineNetData::ObjectList &list) {
    auto candles = base::make<KLineList>();
    for (const auto &item : list)
        if (auto candle = std::dynamic_pointer_cast<KLineItem>(item))
            candles->push_back(candle);
    return candles;
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
    // A view loaded again after a memory warning keeps the stores and their outstanding requests.
    if (!m_klineLib)
        m_klineLib = base::make<KLineNetData>();
    if (!m_mviews)
        m_mviews = base::make<MiniViewManager>();
    if (!m_myStockQuotesData) {
        m_myStockQuotesData = MyStockQuotesData::create();
        m_myStockQuotesData->setMyStockDataArray(m_myStockDataArray);
        m_myStockQuotesData->extendedFieldsFlag = 511;
    }
    initData();
    initUI();
    // The edit flag outlives the view: a view made again in edit mode opens in it.
    if (s_editFlag) {
        s_editFlag = false;
        BtnEditMyStockAction(m_configBarView->editButton());
    }
    reqQuotesByPage(0);
}

void MyStockViewController::viewDidUnload() {
    CMViewController::viewDidUnload();
    // The grid went with the view; choosing a grid type makes it again in the new one.
    m_myMultiStockShowView.reset();
}

void MyStockViewController::initData() {
    m_currentViewType = 0;
    base::Weak<MyStockViewController> weak = weakSelf<MyStockViewController>();
    auto &centre = base::NotificationCenter::shared();
    // Once, however often the view is loaded.
    centre.removeObserver(this, DataManager::MyStockSwitchCenter);
    centre.removeObserver(this, DataBase::CommonNotify);
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
    SetHelpTip();
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

void MyStockViewController::SetHelpTip() {
    DataManager &data = DataManager::sharedDataManager();
    ui::TabBarController *tabs = tabBarController();
    if (!tabs || !data.IsFirstShowHelp(HelpID))
        return;
    data.SetHelpShowState(false, HelpID);
    // Screen coordinates, as the tab bar's own strips are placed in its view under the status bar.
    float statusBar = ui::Screen::main().applicationFrame().y();
    auto help = CMHelpView::create(gfx::Rect{0, 0, 1024, 768}.offset(0, -statusBar));
    help->backgroundImage().setImage(gfx::Image::named("mystock_mask.png"));
    for (const HelpTip &tip : kHelpTips)
        help->SetTipButtonWithImage(tip.image, tip.frame);
    tabs->view().addSubview(help);
}

void MyStockViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    TradeMsgCenter::sharedTradeMsgCenter()->setCurrentActiveVCHandle(weakSelf<MyStockViewController>());
}

void MyStockViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    resetCurTimerCenter();
    if (dataHasOverTime())
        reqDataOnTimer(getCurTabIndex());
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
        if (m_myMultiStockShowView)
            m_myMultiStockShowView->setFrame(QuoteFrame);
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
        return;
    }
    if (!m_myStockTableView->isHidden()) {
        m_myStockTableView->SetTableDataArray(m_myStockDataArray);
        m_myStockTableView->RefreshTableView();
    }
    if (gridShown())
        m_myMultiStockShowView->SetGridDataArray(gridEntries(), true);
}

base::Array MyStockViewController::gridEntries() const {
    base::Array entries;
    for (const auto &row : m_myStockDataArray->items)
        entries.add(base::Dict{{"MarketCode", row->MarketCode.value_or("")},
                               {"StockName", row->StockName.value_or("")},
                               {"basicInf", row->basicInf}});
    return entries;
}

void MyStockViewController::refreshGridRecords() {
    const base::Array &entries = m_myMultiStockShowView->pages().list();
    const auto &rows = m_myStockDataArray->items;
    // A copy of a dictionary is the grid's dictionary itself.
    for (size_t i = 0; i < rows.size() && i < entries.size(); ++i)
        if (const base::Dict *entry = entries[i].dict())
            base::Dict(*entry).set("basicInf", rows[i]->basicInf);
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

void MyStockViewController::reqKLines(const QuoteRecords &records, int ktype, int count, int reqCount) {
    const size_t n = std::min(records.size(), size_t(std::max(count, 0)));
    for (size_t i = 0; i < n; ++i)
        if (!records[i]->code.empty())
            m_klineLib->reqKLine(requester(), records[i]->code, ktype, false, reqCount, false);
}

void MyStockViewController::reqFirstPageCharts(const QuoteRecords &records) {
    if (gridShown() && m_myMultiStockShowView->ktype() >= 1)
        reqKLines(records, m_myMultiStockShowView->ktype(), m_myMultiStockShowView->pages().pageSize(),
                  FirstPageCandles);
    else
        reqMinLines(records, FirstRowsCharted);
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
    else if (reqType == KLineNetData::CandleReplyType)
        ProcKLine(params);
}

void MyStockViewController::ProcQuotes(const base::Ref<ReqParams> &params) {
    std::optional<QuoteRecords> records;
    int startid = -1, value = 0;
    int result = m_myStockQuotesData->ProcQuotes(int(params->get("tag").intValue()), records, startid, value);
    if (result == MyStockQuotesData::VisibleReply) {
        // The value is the period the rows or cells were asked for.
        if (records && value >= 1)
            reqKLines(*records, value, int(records->size()), PageCandles);
        else if (records)
            reqMinLines(*records, int(records->size()));
    } else if (result == MyStockQuotesData::SortReply) {
        if (!records)
            return;
        reqFirstPageCharts(*records);
        stopWaitingAlert();
    } else if (result == MyStockQuotesData::PageReply) {
        if (value == 0 && records)
            reqFirstPageCharts(*records);
    } else {
        return;
    }
    if (!m_myStockTableView->isHidden())
        m_myStockTableView->RefreshTableView();
    if (records && startid >= 0 && gridShown()) {
        refreshGridRecords();
        m_myMultiStockShowView->UpdateQuotes(startid, int(records->size()));
    }
}

void MyStockViewController::ProcMinLine(const base::Ref<ReqParams> &params) {
    base::Ref<MinLinePack> pack = MinLinePack::getMinLinePackFromDict(params->object("pack"));
    if (!pack)
        return;
    std::string code = params->get("code").stringValue();
    base::Ref<MinLineList> list = toMinLineList(pack->rspArray);
    if (!m_myStockTableView->isHidden()) {
        base::Ref<MiniMinLineView> mview = m_mviews->getMViewWithCreate(code, MiniChartHeight);
        if (mview->basicInf()) {
            mview->updateTick = TimeFunc::getCurTick();
            mview->Update(mview->basicInf(), list);
        }
        m_myStockTableView->UpdateMinLineView(mview, code);
    }
    if (gridShown())
        m_myMultiStockShowView->UpdateMinLine(code, list);
}

void MyStockViewController::ProcKLine(const base::Ref<ReqParams> &params) {
    base::Ref<KLinePack> pack = KLinePack::getKLinePackFromDict(params->object("pack"));
    if (pack && !pack->code.empty() && gridShown())
        m_myMultiStockShowView->UpdateKLine(pack->code, toKLineList(pack->rspArray), pack->ktype);
}

// --- Refresh

int MyStockViewController::getCurTabIndex() const {
    if (!gridShown())
        return 0;
    return m_currentRow * m_currentCol == MultiStocksShowView::SixCellPage ? 2 : 1;
}

void MyStockViewController::resetCurTimerCenter() {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter()) {
        timer->setController(weakSelf<MyStockViewController>());
        timer->resetCountDown(RefreshPeriod, FirstTimerID + getCurTabIndex());
    }
}

base::Opt<void> MyStockViewController::resetTimerCenterOnScroll(int slot) {
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        timer->resetCountDown(RefreshPeriod, FirstTimerID + slot);
    return {};
}

base::Opt<void> MyStockViewController::OnTimerCenterNotify(int32_t userID) {
    if (isViewLoaded() && !editing() && userID >= FirstTimerID && userID <= FirstTimerID + 2)
        reqDataOnTimer(userID - FirstTimerID);
    return {};
}

void MyStockViewController::reqDataOnTimer(int slot) {
    if (!DataBase::sharedDataBase()->isHQConnected())
        return;
    if (slot == 0 && !m_myStockTableView->isHidden())
        m_myStockTableView->reqCurScreenQuotes();
    else if (slot > 0 && gridShown())
        m_myMultiStockShowView->reqCurScreenQuotes();
}

void MyStockViewController::CommonNotify(const base::Notification &notification) {
    if (notification.userInfo.get("HQConnectStatus").boolValue()) {
        stopWaitingAlert();
        m_klineLib->setAllIdle();
        m_mviews->minLineLib()->setAllIdle();
    }
    if (notification.userInfo.get("AppActiveState").stringValue() == "AppDidBecomeActive")
        m_mviews->minLineLib()->clearAllMinLinesData();
}

// --- User actions

base::Opt<void> MyStockViewController::SwitchTabButtonAction(ui::Button &sender) {
    const int type = sender.tag - ConfigBarView::modelTag;
    if (type == 0 || type == 1) {
        m_currentViewType = int16_t(type);
        m_myStockTableView->setHidden(false);
        if (m_myMultiStockShowView)
            m_myMultiStockShowView->setHidden(true);
        m_configBarView->EnableCircleBtn(false);
        if (type == 0)
            m_myStockTableView->reqCurScreenData();
        m_myStockTableView->ResetTableMode(type == 0 ? 1 : 0);
    } else if (type == 2) {
        m_currentViewType = 2;
        m_myStockTableView->setHidden(true);
        showGrid(2, 2, 15, 15);
        m_configBarView->EnableCircleBtn(true);
    } else if (type == 3) {
        m_currentViewType = 3;
        m_myStockTableView->setHidden(true);
        m_configBarView->EnableCircleBtn(true);
        // Landscape only: three columns across the 1024-point screen.
        showGrid(2, 3, 10, 10);
    }
    resetCurTimerCenter();
    return {};
}

void MyStockViewController::showGrid(int rows, int cols, float leftRightSpace, float gap) {
    m_currentRow = rows;
    m_currentCol = cols;
    const bool made = !m_myMultiStockShowView;
    if (made) {
        m_myMultiStockShowView = base::make<MultiStocksShowView>(QuoteFrame);
        m_myMultiStockShowView->delegate = weakSelf<MyStockViewController>();
        m_myMultiStockShowView->parentControllerTarget = weakSelf<MyStockViewController>();
        view().addSubview(m_myMultiStockShowView);
    }
    MultiStocksShowView &grid = *m_myMultiStockShowView;
    grid.setRowNum(rows);
    grid.setColNum(cols);
    grid.setTopSpace(GridTopSpace);
    grid.setBelowSpace(GridBelowSpace);
    grid.setLeftRightSpace(leftRightSpace);
    grid.setMidVerSpace(gap);
    grid.setMidHorSpace(gap);
    grid.setHidden(false);
    // A grid made before keeps the page of its current stock.
    grid.SetGridDataArray(gridEntries(), made);
}

base::Opt<void> MyStockViewController::SwitchCircleTabAction(ui::Button &sender) {
    if (!m_myMultiStockShowView)
        return {};
    m_klineLib->saveAndRemoveAllKLines();
    m_myMultiStockShowView->SwitchCircle(sender.tag - ConfigBarView::circleTag);
    return {};
}

base::Opt<void> MyStockViewController::ReturnCurrentSelectedPageNum(int currentPage, int pageSize) {
    if (pageSize <= 0)
        return {};
    // Quote pages hold 25 rows; fetch the next one a few grid pages before it is reached.
    const int margin = pageSize <= 5 ? 3 : 2;
    const int perPage = MyStockQuotesData::PageSize;
    for (int page = MyStockQuotesData::PageCount - 1; page >= 1; --page)
        if (currentPage >= page * perPage / pageSize - margin) {
            reqQuotesByPage(page);
            break;
        }
    return {};
}

base::Opt<void> MyStockViewController::BtnEditMyStockAction(ui::Button &sender) {
    s_editFlag = !s_editFlag;
    sender.setTitle(s_editFlag ? "完成" : "编辑");
    m_configView->setHidden(!s_editFlag);
    m_configBarView->EnableTabBtn(!s_editFlag);
    if (m_currentViewType >= 2)
        m_configBarView->EnableCircleBtn(!s_editFlag);
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
    openDetail(code, index);
    return {};
}

base::Opt<void> MyStockViewController::ReturnSelectedGridStockName(const std::string &,
                                                                   const std::string &marketCode,
                                                                   int stockIndex) {
    const int ktype = m_myMultiStockShowView ? m_myMultiStockShowView->ktype() : 0;
    if (const base::Ref<StockDetailStatus> &status = DataBase::sharedDataBase()->IO_StockDetailStatus()) {
        // setIsShowKLine resets the period, so the period follows it.
        status->setIsShowKLine(ktype >= 1);
        if (ktype >= 1)
            status->setShowKType(ktype);
    }
    openDetail(marketCode, stockIndex);
    return {};
}

void MyStockViewController::openDetail(const std::string &code, int index) {
    ui::NavigationController *nav = navigationController();
    if (!nav)
        return;
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
}

// --- The grid's data

void MyStockViewController::reqCurScreenData(const std::vector<base::Ref<StockQuoteInf>> &records,
                                             int startid, bool needReqBasicInf, int ktype) {
    if (!needReqBasicInf) {
        if (ktype < 1)
            reqMinLines(records, int(records.size()));
        else
            reqKLines(records, ktype, int(records.size()), PageCandles);
        return;
    }
    // The charts follow the quotes' reply.
    m_myStockQuotesData->reqVisibleQuotes(records, startid, ktype, requester());
}

void MyStockViewController::reqCurScreenQuotes(const std::vector<std::string> &codes, int startid,
                                               int ktype) {
    m_myStockQuotesData->reqVisibleQuotes(codes, startid, ktype, requester());
}

base::Ref<MinLineList> MyStockViewController::getMinLineList(const std::string &code) {
    const auto *list = m_mviews->minLineLib()->getMinLineRspArray(code);
    return list ? toMinLineList(*list) : nullptr;
}

base::Ref<KLineList> MyStockViewController::getKLineList(const std::string &code, int ktype) {
    const auto *list = m_klineLib->getKLineRspArray(code, ktype);
    return list ? toKLineList(*list) : nullptr;
}

void MyStockViewController::didReceiveMemoryWarning() {
    CMViewController::didReceiveMemoryWarning();
    if (m_myMultiStockShowView && m_currentViewType <= 1) {
        m_myMultiStockShowView->removeFromSuperview();
        m_myMultiStockShowView.reset();
    }
}
