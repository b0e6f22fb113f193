#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailValues.h"

#include "Common/Util.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/FundQuoteInf.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "base/NotificationCenter.h"
#include "base/RunLoop.h"
#include "gfx/Image.h"
#include "ui/Application.h"
#include "ui/ImageView.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

#include <algorithm>

namespace {

enum Mode : int16_t {
    StockMode = 0,
    IndexMode = 1,
    FutureMode = 2,
    OpenFundMode = 3,
    CurrencyMode = 4,
    OtherIndexMode = 5
};

// Display digits of a fund's net value.
constexpr int kNetValueDigits = 3;
// Where the contribution and big-order lists of a non-SH/SZ index come from.
constexpr const char *kMainIndex = "SH000001";

std::string requestCode(const base::Ref<ReqParams> &params) {
    return params && params->has("code") ? params->get("code").stringValue() : std::string();
}

} // namespace

StockDetailViewController::StockDetailViewController() : m_stockDetailData(base::make<StockDetailData>()) {}

StockDetailViewController::~StockDetailViewController() {
    base::NotificationCenter::shared().removeObserver(this);
    base::RunLoop::main().cancelPerforms(this);
}

void StockDetailViewController::setUp() {
    CMViewController::setUp();
    m_stockDetailData->setDelegate(weakSelf<StockDetailViewController>());
    base::Weak<StockDetailViewController> weak = weakSelf<StockDetailViewController>();
    base::NotificationCenter &center = base::NotificationCenter::shared();
    center.addObserver(weak, m_stockDetailData->observerName(), [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            DataBase::ProcRecvNotify(n, *self);
    });
    center.addObserver(weak, DataBase::CommonNotify, [weak](const base::Notification &n) {
        if (auto self = weak.lock())
            self->CommonNotify(n);
    });
}

// --- View

void StockDetailViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    if (!m_currentModelFileName.empty())
        for (const base::Value &entry :
             DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName(m_currentModelFileName))
            m_checkStocksArray.add(entry);

    ui::View &root = view();
    root.setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    root.addSubview(base::make<ui::ImageView>(kHeaderFrame, gfx::Image::named("RayBackground.png")));
    m_stockInfoShowView = base::make<StockInfoShowView>(kInfoFrame);
    m_stockInfoShowView->delegate = weakSelf<StockDetailViewController>();
    root.addSubview(m_stockInfoShowView);
    m_stockPriceShowView = base::make<StockPriceShowView>(kPriceFrame);
    root.addSubview(m_stockPriceShowView);
    m_stockInfoShowView->clearView();
    if (m_prevModeType >= 0)
        m_stockPriceShowView->SetFieldNameArray(StockDetailValues::fieldNames(m_prevModeType));
    if (auto panel = m_prevRightPanelView.lock())
        root.addSubview(panel);

    loadChartColumn();
    SetNavigationWithShowSettings(false, false, true);
    SetNavigationWithShowBreakingNews(true);
    updateWatchListButton();
}

void StockDetailViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    base::Ref<TradeMsgCenter> trade = TradeMsgCenter::sharedTradeMsgCenter();
    trade->setCurrentActiveVCHandle(weakSelf<StockDetailViewController>());
    trade->SetCurrentProductInTradeView(Util::getNumCode(m_code));
}

void StockDetailViewController::viewDidAppear(bool animated) {
    CMViewController::viewDidAppear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter()) {
        timer->setController(weakSelf<StockDetailViewController>());
        timer->resetCountDown(RefreshPeriod, TimerID);
    }
    if (dataHasOverTime())
        refresh();
}

void StockDetailViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (const base::Ref<TimerCenter> &timer = DataBase::sharedDataBase()->IO_TimerCenter())
        if (timer->controller().get() == static_cast<TimerCenterDelegate *>(this))
            timer->setController({});
    base::RunLoop::main().cancelPerforms(this, "openNextStock");
    m_nextStockTimes = 0;
    dismissChartPopovers();
    setViewDisappearTick();
    TradeMsgCenter::sharedTradeMsgCenter()->ClearCurrentProduct();
}

bool StockDetailViewController::shouldAutorotateTo(ui::Orientation orientation) {
    m_currentOrientation = orientation;
    return orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
}

// --- Showing a security

void StockDetailViewController::SetStockCodeMarket(const std::string &code) {
    if (!StockFunc::isValidCode(code) || code == m_code)
        return;
    if (StockFunc::isValidCode(m_code))
        clearShownCode();
    m_code = code;
    m_stockName.clear();
    // The mode is chosen afresh from the new code's basic information; a kind of security that
    // keeps its mode under the rule starts from the stock mode, never from the code shown before.
    m_currentModeType = StockMode;
    if (isShowing())
        TradeMsgCenter::sharedTradeMsgCenter()->SetCurrentProductInTradeView(Util::getNumCode(code));
    m_currentBoardID = 0;
    m_isOFCode = StockFunc::isOFCode(code);
    m_stockDetailData->StartRequest(code);
    m_stockDetailData->reqData(true);
    chartsOnNewCode();
    updateWatchListButton();
}

void StockDetailViewController::clearShownCode() {
    m_stockDetailData->saveAndClearData();
    clearChartColumn();
    if (m_stockInfoShowView)
        m_stockInfoShowView->clearView();
    if (m_stockPriceShowView)
        m_stockPriceShowView->clearView();
    if (m_rightStockDetailPanel)
        m_rightStockDetailPanel->clearView();
    if (m_rightIndexDetailPanel)
        m_rightIndexDetailPanel->clearView();
    if (m_rightProdDetailPanel)
        m_rightProdDetailPanel->clearView();
    if (m_rightOpenFundDetailPanel)
        m_rightOpenFundDetailPanel->clearView();
    if (m_rightForeignIndexDetailPanel)
        m_rightForeignIndexDetailPanel->clearView();
    if (m_rightCurrDetailPanel)
        m_rightCurrDetailPanel->clearView();
}

void StockDetailViewController::SetCheckStocksArray(const base::Array &stocks, int index) {
    m_currentStocksIndex = index;
    m_checkStocksArray = stocks.copy();
}

const base::Ref<StockBasicInf> &StockDetailViewController::getCurrentBasicInf() const {
    return m_stockDetailData->stockDetailLib()->IO_StockBasicInf();
}

void StockDetailViewController::updateWatchListButton() {
    if (m_stockInfoShowView)
        m_stockInfoShowView->SetAddMyStockStatus(
            DataManager::sharedDataManager().IsStockInMyStock(m_code, MyStockFileName));
}

// --- Modes and panels

int16_t StockDetailViewController::modeFor(const StockBasicInf &record) const {
    if (m_isOFCode)
        return OpenFundMode;
    if (Util::belongToMarket("FE", m_code))
        return CurrencyMode;
    if (record.type != 0) {
        if (Util::isQHType(record.type))
            return FutureMode;
        return Util::isSHSZCode(m_code) ? int16_t(StockMode) : m_currentModeType;
    }
    return Util::isSHSZCode(m_code) || Util::belongToMarket("BI", m_code) ? IndexMode : OtherIndexMode;
}

void StockDetailViewController::ProcBasicInf(int32_t, const base::Ref<ReqParams> &params) {
    StockDetailNetData &lib = *m_stockDetailData->stockDetailLib();
    if (requestCode(params) != m_code || m_code.empty() || lib.IO_isGetBasicInf())
        return;
    const base::Ref<StockBasicInf> &record = lib.IO_StockBasicInf();
    DataManager::sharedDataManager().AddLatestBrowseViewed(record->name, m_code);
    m_stockName = record->name;
    m_currentModeType = modeFor(*record);
    if (m_currentModeType != m_prevModeType) {
        m_prevModeType = m_currentModeType;
        SetupRightPanel(m_currentModeType);
        if (m_stockPriceShowView)
            m_stockPriceShowView->SetFieldNameArray(StockDetailValues::fieldNames(m_currentModeType));
    }
    // Every code sets the layout of its own kind: a board after an index, or a money-market fund
    // after another fund, keeps the mode but not the lists.
    if (m_currentModeType == IndexMode && m_rightIndexDetailPanel)
        m_rightIndexDetailPanel->resetPanel(Util::belongToMarket("BI", m_code) && m_currentBoardID > 0);
    if (m_currentModeType == OpenFundMode && m_rightOpenFundDetailPanel)
        m_rightOpenFundDetailPanel->resetPanel(record->type);
    lib.setIO_isGetBasicInf(true);
    base::Ref<NetDataCenter> center = lib.netdatacenter();
    m_stockDetailData->setCanShowLevel2(center && center->hasLevel2Power(m_code) &&
                                        center->IO_L2LoginSuccess);
    if (m_isOFCode)
        updatePriceShowView(*record);
    chartsOnModeChosen();
    m_stockDetailData->reqData(true);
}

void StockDetailViewController::SetupRightPanel(int16_t mode) {
    base::Ref<ui::View> panel;
    switch (mode) {
    case StockMode:
        if (!m_rightStockDetailPanel) {
            m_rightStockDetailPanel = base::make<RightStockDetailPanel>(kRightPanelFrame);
            m_rightStockDetailPanel->parentTarget = weakSelf();
            m_rightStockDetailPanel->delegate = weakSelf<StockDetailViewController>();
        }
        panel = m_rightStockDetailPanel;
        break;
    case IndexMode:
        if (!m_rightIndexDetailPanel) {
            m_rightIndexDetailPanel = base::make<RightIndexDetailPanel>(kRightPanelFrame);
            base::Weak<IndexSupplyStockDelegate> self = weakSelf<StockDetailViewController>();
            m_rightIndexDetailPanel->indexGXView().delegate = self;
            m_rightIndexDetailPanel->indexDDDetailView().delegate = self;
            m_rightIndexDetailPanel->boardStocksView().delegate = self;
        }
        panel = m_rightIndexDetailPanel;
        break;
    case FutureMode:
        if (!m_rightProdDetailPanel) {
            m_rightProdDetailPanel = base::make<RightProdDetailPanel>(kRightPanelFrame);
            m_rightProdDetailPanel->parentTarget = weakSelf();
        }
        panel = m_rightProdDetailPanel;
        break;
    case OpenFundMode:
        if (!m_rightOpenFundDetailPanel)
            m_rightOpenFundDetailPanel = base::make<RightOpenFundDetailPanel>(kRightPanelFrame);
        panel = m_rightOpenFundDetailPanel;
        break;
    case CurrencyMode:
        if (!m_rightCurrDetailPanel)
            m_rightCurrDetailPanel = base::make<RightCurrDetailPanel>(kRightPanelFrame);
        panel = m_rightCurrDetailPanel;
        break;
    case OtherIndexMode:
        if (!m_rightForeignIndexDetailPanel)
            m_rightForeignIndexDetailPanel = base::make<RightForeignIndexDetailPanel>(kRightPanelFrame);
        panel = m_rightForeignIndexDetailPanel;
        break;
    default:
        return;
    }
    if (auto shown = m_prevRightPanelView.lock())
        shown->setHidden(true);
    if (ui::View *root = viewIfLoaded(); root && panel->superview() != root)
        root->addSubview(panel);
    panel->setHidden(false);
    m_prevRightPanelView = panel;
}

// --- Replies

void StockDetailViewController::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType <= 0 && params)
        reqType = int32_t(params->get("reqType").intValue());
    StockDetailNetData &lib = *m_stockDetailData->stockDetailLib();
    const base::Ref<StockBasicInf> &record = lib.IO_StockBasicInf();
    auto rows = [&lib](int type) { return lib.getStockRspArray(type); };
    switch (reqType) {
    case 2310:
    case 2939:
        ProcBasicInf(reqType, params);
        break;
    case 2940:
        ProcDynamicInf(params);
        if (auto pop = popOn(requestCode(params)))
            pop->UpdatePriceData(*m_stockDetailData->popStockBasicInf());
        break;
    case 2311:
        if (auto *list = rows(2311); list && !list->empty() && m_stockInfoShowView)
            if (auto last = std::dynamic_pointer_cast<KLineItem>(list->back()))
                m_stockInfoShowView->lastLabel().setText(
                    Util::FormatPrice(float(last->closeprice), record->decimal, kNetValueDigits));
        if (m_curKLineView)
            kviewUpdate(rows(2311), 0);
        break;
    case 2312:
        if (m_rightOpenFundDetailPanel)
            m_rightOpenFundDetailPanel->stocksView().Update(rows(2312));
        break;
    case 2313:
        if (m_rightOpenFundDetailPanel)
            m_rightOpenFundDetailPanel->sharesView().Update(rows(2313));
        break;
    case 2314:
        if (m_rightOpenFundDetailPanel)
            m_rightOpenFundDetailPanel->ownersView().Update(rows(2314));
        break;
    case 2915:
        if (requestCode(params) == m_code && m_rightStockDetailPanel)
            m_rightStockDetailPanel->buySellPanelView().SetBuySellData(record);
        if (auto pop = popOn(requestCode(params)))
            pop->buySellPanelView().SetBuySellData(m_stockDetailData->popStockBasicInf());
        break;
    case 2929:
        if (const auto *list = lib.netdatacenter()
                                   ? lib.netdatacenter()->IO_IndexLib->getIndexGXRspArray(indexListCode())
                                   : nullptr;
            list && m_rightIndexDetailPanel)
            m_rightIndexDetailPanel->indexGXView().Update(record, list);
        break;
    case 2977:
        if (const auto *list =
                lib.netdatacenter()
                    ? lib.netdatacenter()->IO_IndexLib->getIndexBigInfoRspArray(indexListCode())
                    : nullptr;
            m_rightIndexDetailPanel)
            m_rightIndexDetailPanel->indexDDDetailView().Update(record, list);
        break;
    case 2955:
        if (m_rightIndexDetailPanel) {
            TableBaseView::Rows members;
            if (base::Ref<StockQuoteList> board = lib.boardStocks())
                members.assign(board->items.begin(), board->items.end());
            m_rightIndexDetailPanel->boardStocksView().Update(&members);
        }
        break;
    case 2970: {
        StrikeDetailView *ticks = nullptr;
        if (m_currentModeType == StockMode && m_rightStockDetailPanel)
            ticks = &m_rightStockDetailPanel->strikeDetailView();
        else if (m_currentModeType == FutureMode && m_rightProdDetailPanel)
            ticks = &m_rightProdDetailPanel->futureStrikeDetailView();
        base::Ref<RequestPosItem> pos = lib.getRequestPosItem(2970);
        if (!ticks)
            break;
        int lastPos = pos ? pos->pos - 1 : -1;
        ticks->Update(record, rows(2970), lastPos);
        base::Ref<StockDetailFullScreenView> pager = m_currentModeType == StockMode
                                                         ? m_rightStockDetailPanel->strikeFullScreenView()
                                                         : m_rightProdDetailPanel->strikeFullScreenView();
        if (pager && rows(2970))
            pager->UpdateParentStrikeArray(*rows(2970), lastPos);
        break;
    }
    case 2976:
        if (m_rightStockDetailPanel)
            m_rightStockDetailPanel->tigerSubDetailView().SetTigerData(record);
        if (auto *list = rows(2976); list && m_rightStockDetailPanel)
            m_rightStockDetailPanel->stockDDDetailView().Update(record, list);
        break;
    default:
        ProcChartReply(reqType, params);
        break;
    }
}

std::string StockDetailViewController::indexListCode() const {
    return Util::isSHSZCode(m_code) ? m_code : kMainIndex;
}

void StockDetailViewController::ProcDynamicInf(const base::Ref<ReqParams> &params) {
    if (requestCode(params) != m_code || m_code.empty())
        return;
    const base::Ref<StockBasicInf> &record = getCurrentBasicInf();
    updatePriceShowView(*record);
    updateRightPanel(*record);
}

void StockDetailViewController::updatePriceShowView(const StockBasicInf &record) {
    if (m_stockInfoShowView) {
        StockInfoShowView &info = *m_stockInfoShowView;
        bool hasCode = !record.code.empty();
        info.nameLabel().setText(hasCode ? record.name : "--");
        info.codeLabel().setText(hasCode ? record.getDisplayCode() : m_code);
        info.lastLabel().setText(record.FormatValue(4));
        info.changeLabel().setText(record.FormatValue(502));
        info.rangeLabel().setText(record.FormatValue(1));
        info.SetUpDown(float(record.newprice - record.closeprice));
    }
    m_valueArray = StockDetailValues::headerValues(m_currentModeType, record);
    if (m_stockPriceShowView)
        m_stockPriceShowView->SetFieldValueArray(m_valueArray);
    if (FullScreenViewController *full = curFullScreenVC())
        full->UpdateBasicInf(record);
}

void StockDetailViewController::updateRightPanel(const StockBasicInf &record) {
    ValuePanelView *grid = nullptr;
    const base::Ref<StockBasicInf> &shared = getCurrentBasicInf();
    switch (m_currentModeType) {
    case StockMode:
        if (m_rightStockDetailPanel) {
            m_rightStockDetailPanel->buySellPanelView().SetBuySellData(shared);
            grid = &m_rightStockDetailPanel->valuePanelView();
        }
        break;
    case IndexMode:
        if (m_rightIndexDetailPanel)
            grid = &m_rightIndexDetailPanel->valuePanelView();
        break;
    case FutureMode:
        if (m_rightProdDetailPanel) {
            m_rightProdDetailPanel->buySellPanelView().SetBuySellData(shared);
            grid = &m_rightProdDetailPanel->valuePanelView();
        }
        break;
    case CurrencyMode:
        if (m_rightCurrDetailPanel)
            grid = &m_rightCurrDetailPanel->valuePanelView();
        break;
    case OtherIndexMode:
        if (m_rightForeignIndexDetailPanel)
            grid = &m_rightForeignIndexDetailPanel->valuePanelView();
        break;
    default:
        break;
    }
    if (!grid)
        return;
    StockDetailValues::PanelValues values = StockDetailValues::panelValues(m_currentModeType, record);
    grid->SetValueArray(values.values);
    for (const auto &[index, sign] : values.signs)
        grid->SetValueUpdown(sign, index);
}

// --- Refresh

base::Opt<void> StockDetailViewController::OnTimerCenterNotify(int32_t userID) {
    if (userID == TimerID)
        refresh();
    return {};
}

void StockDetailViewController::refresh() {
    if (!DataBase::sharedDataBase()->isHQConnected())
        return;
    refreshInfoBomb();
    m_stockDetailData->reqData(false);
    if (auto pop = m_popStockDetailView.lock(); pop && !pop->code().empty()) {
        m_stockDetailData->reqPopStockDetailView(pop->code(), false);
        if (pop->hasReqKLine())
            m_stockDetailData->reqPopStockKLine(pop->code());
    }
    if (m_currentModeType == StockMode && m_rightStockDetailPanel)
        m_rightStockDetailPanel->elementBoardView().reqDataOnTimer();
}

void StockDetailViewController::CommonNotify(const base::Notification &notification) {
    if (notification.userInfo.get("HQConnectStatus").boolValue())
        m_stockDetailData->setAllIdle();
    if (notification.userInfo.get("AppActiveState").stringValue() == "AppDidBecomeActive")
        m_stockDetailData->clearCacheData();
}

// --- Header buttons

base::Opt<void> StockDetailViewController::AddNewStockAction(ui::Button &sender) {
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

base::Opt<void> StockDetailViewController::PrevStockAction(ui::Button &) {
    GotoNextStock(false);
    return {};
}

base::Opt<void> StockDetailViewController::NextStockAction(ui::Button &) {
    GotoNextStock(true);
    return {};
}

base::Opt<void> StockDetailViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::sharedTradeMsgCenter()->EnterTradeBar();
    return {};
}

void StockDetailViewController::GotoNextStock(bool next) {
    m_nextStockTimes += next ? 1 : -1;
    base::RunLoop &loop = base::RunLoop::main();
    loop.cancelPerforms(this, "openNextStock");
    base::Weak<StockDetailViewController> weak = weakSelf<StockDetailViewController>();
    loop.performAfter(NextStockDelay, base::Action(weakSelf(), "openNextStock", [weak](base::Object *) {
                          if (auto self = weak.lock())
                              self->openNextStock();
                      }));
}

void StockDetailViewController::openNextStock() {
    int steps = m_nextStockTimes;
    m_nextStockTimes = 0;
    std::string code;
    int index = m_currentStocksIndex;
    if (!m_checkStocksArray.empty()) {
        index = std::clamp(m_currentStocksIndex + steps, 0, int(m_checkStocksArray.size()) - 1);
        code = codeOfEntry(m_checkStocksArray[size_t(index)]);
    } else if (auto center = DataBase::sharedDataBase()->IO_NetDataCenter()) {
        code = center->getNextCode(m_code, steps).value_or("");
    }
    if (code.empty() || code == m_code)
        return;
    if (!m_checkStocksArray.empty())
        m_currentStocksIndex = index;
    SetStockCodeMarket(code);
}

std::string StockDetailViewController::codeOfEntry(const base::Value &entry) {
    if (auto quote = entry.objectAs<StockQuoteInf>())
        return quote->code;
    if (auto fund = entry.objectAs<OpenFundQuoteInf>())
        return fund->code;
    if (auto fund = entry.objectAs<CurrencyFundQuoteInf>())
        return fund->code;
    if (entry.dict())
        return entry["MarketCode"].stringValue();
    if (entry.isString())
        return entry.stringValue();
    return {};
}

// --- The pop-up window

gfx::Rect StockDetailViewController::inTabBarView(gfx::Rect screenFrame) {
    return screenFrame.offset(0, -ui::Screen::main().applicationFrame().y());
}

void StockDetailViewController::ShowPopStockDetailView(const std::string &code,
                                                       const std::string &stockName) {
    // Over the tab bar too; a screen outside a tab bar covers its window.
    ui::View *over = nullptr;
    gfx::Rect frame{0, 0, 1024, 768};
    if (ui::TabBarController *tabs = tabBarController()) {
        over = &tabs->view();
        frame = inTabBarView(frame);
    } else if (ui::View *root = viewIfLoaded()) {
        over = root->window();
    }
    if (!over || code.empty())
        return;
    auto pop = base::make<PopStockDetailView>(frame);
    pop->delegate = weakSelf<StockDetailViewController>();
    over->addSubview(pop);
    m_popStockDetailView = pop;
    const base::Ref<StockBasicInf> &record = m_stockDetailData->popStockBasicInf();
    *record = StockBasicInf();
    record->name = stockName;
    record->code = code;
    pop->SetStockCode(code);
    pop->UpdatePriceData(*record);
    m_stockDetailData->reqPopStockDetailView(code, true);
}

base::Ref<PopStockDetailView> StockDetailViewController::popOn(const std::string &code) const {
    auto pop = m_popStockDetailView.lock();
    return pop && !code.empty() && pop->code() == code ? pop : nullptr;
}

base::Opt<void> StockDetailViewController::ReturnIndexSupplyStock(const std::string &code,
                                                                  const std::string &name) {
    ShowPopStockDetailView(code, name);
    return {};
}

base::Opt<void> StockDetailViewController::ReturnTlineStock(const std::string &code,
                                                            const std::string &name) {
    ShowPopStockDetailView(code, name);
    return {};
}

base::Opt<void> StockDetailViewController::RequestPopStockKLine(const std::string &code) {
    m_stockDetailData->reqPopStockKLine(code);
    return {};
}

base::Opt<void> StockDetailViewController::OnClosePopStockDetailView() {
    m_popStockDetailView.reset();
    return {};
}
