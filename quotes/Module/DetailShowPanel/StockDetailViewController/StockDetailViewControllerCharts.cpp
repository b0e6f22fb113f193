// The chart column of the stock detail screen: tab strip, intraday chart over the level-2 deal
// queue, candle chart with its period slider, company-data tab, indicator and level-2 menus,
// overlay stocks, the information mine and the full-screen chart.

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

#include "Common/ServerConfig.h"
#include "Common/StylePool.h"
#include "Common/TimeFunc.h"
#include "Components/CMHelpView.h"
#include "DataBase/DataBase.h"
#include "DataBase/NetData/StockBoardInf.h"
#include "Module/NewsViewController/InfoBombViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "Module/StockDataBaseMgnt/IndexNetData.h"
#include "Module/StockDataBaseMgnt/StockFunc.h"
#include "base/Str.h"
#include "gfx/Image.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"

#include <cmath>

namespace {

using ObjectList = StockFunc::ObjectList;

constexpr int kDayKType = 7, kWeekKType = 8, kMonthKType = 9, kLastMinuteKType = 6;
constexpr int kWeekDaysNeeded = 800, kMonthDaysNeeded = 2940, kDayBatch = 200;
// A fund's candle chart draws no main-pane indicator.
constexpr int32_t kNoMainTech = 4098;
constexpr const char *kExrightTitles[] = {"不复权", "前复权", "后复权"};
const std::vector<std::string> kSliderTags = {"日线", "5分钟", "15分钟", "60分钟", "周线", "月线"};

struct Level2Item {
    const char *name;
    int32_t id;
};
constexpr Level2Item kKLineLevel2Items[] = {
    {"DDX", 2918}, {"DDY", 2919}, {"DDZ", 2920}, {"主力资金", 2928}, {"BS点", 2933}};
constexpr Level2Item kMLineLevel2Items[] = {{" 成交单差", 2923}, {" 分时DDX", 2922}, {" 总买总卖", 2924}};

struct HelpTip {
    const char *image;
    gfx::Rect frame;
};
const HelpTip kHelpTips[] = {{"cover_mask.png", {172, 87, 26, 24}}, {"cover_mask.png", {410, 150, 156, 29}},
                             {"info_mask.png", {575, 151, 26, 26}}, {"cover_mask.png", {614, 152, 28, 25}},
                             {"info_mask.png", {689, 453, 22, 22}}, {"cover_mask.png", {0, 573, 771, 128}}};

base::Ref<KLineList> candles(const ObjectList *list) {
    auto out = base::make<KLineList>();
    if (list)
        for (const auto &item : *list)
            if (auto candle = std::dynamic_pointer_cast<KLineItem>(item))
                out->push_back(candle);
    return out;
}

base::Ref<MinLineList> minutes(const ObjectList *list) {
    auto out = base::make<MinLineList>();
    if (list)
        for (const auto &item : *list)
            if (auto minute = std::dynamic_pointer_cast<StkMinLineItem>(item))
                out->push_back(minute);
    return out;
}

base::Ref<ObjectList> series(const ObjectList *list) {
    return list ? base::make<ObjectList>(*list) : nullptr;
}

std::vector<std::string> texts(const base::Value &array) {
    std::vector<std::string> out;
    if (const base::Array *items = array.array())
        for (const base::Value &item : *items)
            out.push_back(item.isString() ? item.stringValue() : item.description());
    return out;
}

StockDetailStatus *chartStatus() {
    return DataBase::sharedDataBase()->IO_StockDetailStatus().get();
}

std::string replyCode(const base::Ref<ReqParams> &params) {
    return params && params->has("code") ? params->get("code").stringValue() : std::string();
}

} // namespace

// --- Periods

int StockDetailViewController::getSliderIndex(int ktype) {
    for (size_t i = 0; i < std::size(kSliderKTypes); ++i)
        if (kSliderKTypes[i] == ktype)
            return int(i);
    return -1;
}

int StockDetailViewController::kTypeAtSliderIndex(int index) {
    return index >= 0 && size_t(index) < std::size(kSliderKTypes) ? kSliderKTypes[index] : 0;
}

// --- What the data centre asks

base::Opt<bool> StockDetailViewController::isTrendLineViewVisible() {
    return m_curTrendLineView && !m_curTrendLineView->isHidden();
}

base::Opt<bool> StockDetailViewController::isKLineViewVisible() {
    return m_curKLineView && !m_curKLineView->isHidden();
}

base::Opt<int> StockDetailViewController::getKType() {
    return m_curKLineView ? m_curKLineView->ktype() : KLineView::DefaultKType;
}

base::Opt<bool> StockDetailViewController::isKLineExrightMode() {
    return m_curKLineView && m_curKLineView->isExrightMode();
}

base::Opt<int> StockDetailViewController::getCurMinLineLevel2TechType() {
    return m_curTrendLineView ? m_curTrendLineView->getCurLevel2TechType() : -1;
}

// --- Building

void StockDetailViewController::loadChartColumn() {
    ui::View &root = view();
    base::Weak<StockDetailViewController> weak = weakSelf<StockDetailViewController>();
    // The news tab, beneath the charts until it is chosen; its news is asked from the start.
    m_stockNewsView = base::make<StockNewsView>(kTabContentFrame);
    m_stockNewsView->setHidden(true);
    root.addSubview(m_stockNewsView);
    if (!m_code.empty())
        m_stockNewsView->updateStockNews(m_code);
    m_dealQueuePanelView = base::make<DealQueuePanelView>(kDealQueueFrame);
    root.addSubview(m_dealQueuePanelView);
    m_klineView = KLineView::create({}, 0);
    adoptChartView(*m_klineView);
    m_klineView->setHidden(true);
    root.addSubview(m_klineView);
    m_trendLineView = base::make<MinLineView>(gfx::Rect{}, 0);
    adoptChartView(*m_trendLineView);
    root.addSubview(m_trendLineView);
    m_curKLineView = m_klineView;
    m_curTrendLineView = m_trendLineView;
    m_stockDetailSwitchBar = base::make<StockDetailSwitchBar>(kSwitchBarFrame);
    m_stockDetailSwitchBar->delegate = weak;
    m_stockDetailSwitchBar->SetSelectedItemIndex(0, 0);
    m_stockDetailSwitchBar->resetTlineBtn().setEnabled(!m_stockDetailData->multiStockList().empty());
    root.addSubview(m_stockDetailSwitchBar);
    m_sliderView = CMSliderView::create(kSliderFrame);
    m_sliderView->delegate = weak;
    m_sliderView->SetTagArray(kSliderTags);
    m_sliderView->setHidden(true);
    m_sliderView->SetIndicatorAtIndex(0);
    root.addSubview(m_sliderView);
    if (!m_newsData) {
        m_newsData = NewsData::create();
        m_newsData->setDelegate(weak);
    }

    StockDetailStatus *status = chartStatus();
    bool showKLine = status && status->isShowKLine();
    int showKType = status ? status->showKType() : 0;
    m_stockDetailSwitchBar->SetSelectedItemIndex(showKLine ? 1 : 0, 0);
    if (showKLine && showKType > 0) {
        m_klineView->setKtype(showKType);
        m_sliderView->SetIndicatorAtIndex(getSliderIndex(showKType));
    }
    showMinLineOrKLineView(!showKLine);
    SetHelpTip();
}

void StockDetailViewController::adoptChartView(KLineView &view) {
    view.delegate = weakSelf<StockDetailViewController>();
    view.SetChartBackgroundColor(StylePool::Instance().clChartBG);
    syncOverlayList();
}

void StockDetailViewController::adoptChartView(MinLineView &view) {
    view.delegate = weakSelf<StockDetailViewController>();
    view.SetChartBackgroundColor(StylePool::Instance().clChartBG);
    syncOverlayList();
}

// The chart views draw the overlays from the data centre's records, which they share.
void StockDetailViewController::syncOverlayList() {
    base::Array list;
    for (const base::Dict &entry : m_stockDetailData->multiStockList())
        list.add(entry);
    for (KLineView *view : {m_klineView.get(), m_curKLineView.get()})
        if (view)
            view->setMultiStockList(list);
    for (MinLineView *view : {m_trendLineView.get(), m_curTrendLineView.get()})
        if (view)
            view->setMultiStockList(list);
}

void StockDetailViewController::SetHelpTip() {
    DataManager &data = DataManager::sharedDataManager();
    ui::TabBarController *tabs = tabBarController();
    if (!tabs || !data.IsFirstShowHelp(kHelpID))
        return;
    data.SetHelpShowState(false, kHelpID);
    auto help = CMHelpView::create(inTabBarView({0, 0, 1024, 768}));
    help->backgroundImage().setImage(gfx::Image::named("tline_mask.png"));
    for (const HelpTip &tip : kHelpTips)
        help->SetTipButtonWithImage(tip.image, tip.frame);
    tabs->view().addSubview(help);
}

// --- Code changes and modes

void StockDetailViewController::clearChartColumn() {
    if (m_stockDetailSwitchBar)
        m_stockDetailSwitchBar->clearView();
    for (KLineView *view : {m_klineView.get(), m_curKLineView.get()})
        if (view)
            view->clearView();
    for (MinLineView *view : {m_trendLineView.get(), m_curTrendLineView.get()})
        if (view)
            view->clearView();
    if (m_dealQueuePanelView)
        m_dealQueuePanelView->clearView();
    if (m_f10TabView)
        m_f10TabView->clearView();
}

void StockDetailViewController::chartsOnNewCode() {
    m_isBombLoaded = false;
    m_bombUpdateTick = 0;
    if (m_trendLineView)
        m_trendLineView->hideInfoBomb();
    if (m_isOFCode)
        if (StockDetailStatus *status = chartStatus())
            status->setIsShowKLine(true);
    if (m_f10TabView && !m_f10TabView->isHidden())
        loadCompanyPage();
    if (m_stockNewsView)
        m_stockNewsView->updateStockNews(m_code);
}

void StockDetailViewController::chartsOnModeChosen() {
    if (!m_klineView)
        return;
    if (m_isOFCode) {
        m_trendLineView->zeroView();
        m_klineView->changeMainTechIndex(kNoMainTech);
    }
    // Only while a chart tab shows: the company-data and news tabs keep their place.
    if (m_curKLineView->isHidden() && m_curTrendLineView->isHidden())
        return;
    bool showMinLine = !m_curTrendLineView->isHidden() && !m_isOFCode;
    if (m_isOFCode && !curFullScreenVC())
        m_stockDetailSwitchBar->SetSelectedItemIndex(1, 0);
    showMinLineOrKLineView(showMinLine);
}

bool StockDetailViewController::isSHSZStock() const {
    return StockFunc::isSHSZStock(getCurrentBasicInf().get());
}

bool StockDetailViewController::canShowDealQueuePanelView() const {
    return m_code.empty() || !m_stockDetailData->stockDetailLib()->IO_isGetBasicInf() || isSHSZStock();
}

// --- Showing a chart

void StockDetailViewController::showMinLineOrKLineView(bool showMinLine) {
    if (!m_curKLineView)
        return;
    if (StockDetailStatus *status = chartStatus())
        status->setIsShowKLine(!showMinLine);
    m_curKLineView->setHidden(showMinLine);
    if (ui::Button *exright = m_curKLineView->exrightButton())
        exright->setHidden(showMinLine || !isSHSZStock());
    m_curTrendLineView->setHidden(!showMinLine);
    if (FullScreenViewController *full = curFullScreenVC()) {
        full->showMinLineOrKLineView(showMinLine);
        return;
    }
    m_sliderView->setHidden(showMinLine || m_isOFCode);
    m_dealQueuePanelView->setHidden(!showMinLine || !canShowDealQueuePanelView());
    setChartFrames();
}

void StockDetailViewController::setChartFrames() {
    float trendHeight = canShowDealQueuePanelView() ? kTrendHeightWithQueue : kTrendHeight;
    gfx::Rect trend{0, kChartTop, kChartWidth, trendHeight};
    gfx::Rect kline{0, kChartTop, kChartWidth, m_isOFCode ? kFundKLineHeight : kKLineHeight};
    if (m_trendLineView->frame() != trend)
        m_trendLineView->setFrame(trend);
    if (m_klineView->frame() != kline)
        m_klineView->setFrame(kline);
}

void StockDetailViewController::showMinLineView() {
    showMinLineOrKLineView(true);
    if (!m_isOFCode)
        m_stockDetailData->reqMinLineIfNoDataOrOverTime();
}

void StockDetailViewController::showKLineView() {
    showMinLineOrKLineView(false);
    if (m_isOFCode)
        return;
    int ktype = m_curKLineView->ktype();
    const ObjectList *list = m_stockDetailData->getCurKList(ktype);
    if (ktype > 0 && list && !list->empty())
        m_stockDetailData->reqKLineIfNoDataOrOverTime(ktype);
    else
        changePeriod(ktype > 0 ? ktype : kDayKType);
}

// --- Tabs

base::Opt<void> StockDetailViewController::StockDetailBarSelectedIndex(int index, int group,
                                                                       ui::View &sender) {
    if (group == 0 && &sender == m_stockDetailSwitchBar.get())
        showTab(index);
    return {};
}

void StockDetailViewController::showTab(int index) {
    auto hideCharts = [this] {
        m_klineView->setHidden(true);
        m_trendLineView->setHidden(true);
        m_dealQueuePanelView->setHidden(true);
        m_sliderView->setHidden(true);
    };
    switch (index) {
    case 0:
    case 1:
        if (m_f10TabView)
            m_f10TabView->setHidden(true);
        m_stockNewsView->setHidden(true);
        index == 0 ? showMinLineView() : showKLineView();
        break;
    case 2:
        if (!m_f10TabView) {
            m_f10TabView = base::make<WebTabView>(kTabContentFrame);
            m_f10TabView->setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
            view().addSubview(m_f10TabView);
        }
        loadCompanyPage();
        m_f10TabView->setHidden(false);
        m_stockNewsView->setHidden(true);
        hideCharts();
        break;
    case 3:
        view().bringSubviewToFront(m_stockNewsView.get());
        m_stockNewsView->setHidden(false);
        m_stockNewsView->updateStockNews(m_code);
        hideCharts();
        if (m_f10TabView)
            m_f10TabView->setHidden(true);
        break;
    default:
        break;
    }
}

void StockDetailViewController::loadCompanyPage() {
    std::string address = ServerConfig::urlFor(ServerConfig::NewsServerKey,
                                               base::str::format(kCompanyPagePath, m_code.c_str()));
    m_f10TabView->setContentURL(address);
}

// --- Periods

base::Opt<void> StockDetailViewController::SelectedIndicator(int index) {
    willChangePeriod();
    if (int ktype = kTypeAtSliderIndex(index))
        changePeriod(ktype);
    return {};
}

void StockDetailViewController::willChangePeriod() {
    m_curKLineView->hideCursorView();
    if (base::Ref<KLinePack> pack = m_stockDetailData->getCurKPack(m_curKLineView->ktype())) {
        pack->koffset = m_curKLineView->koffset();
        pack->ksize = m_curKLineView->ksize();
    }
}

void StockDetailViewController::changePeriod(int ktype) {
    if (m_isOFCode)
        return;
    KLineView &kview = *m_curKLineView;
    if (base::Ref<KLinePack> pack = m_stockDetailData->getCurKPack(ktype)) {
        kview.setKoffset(pack->koffset);
        kview.setKsize(pack->ksize);
    }
    if (kview.isExrightMode()) {
        changePeriod2(ktype);
        return;
    }
    const ObjectList *list = m_stockDetailData->klineLib()->getKLineRspArray(m_code, ktype);
    bool hasData = list && !list->empty();
    if (kview.ktype() == ktype && hasData)
        return;
    kview.setKtype(ktype);
    if (hasData)
        kviewUpdate(list, 0);
    else
        kview.clearView();
    m_stockDetailData->reqKLineIfNoDataOrOverTime(ktype);
}

void StockDetailViewController::changePeriod2(int ktype) {
    KLineView &kview = *m_curKLineView;
    const ObjectList *list = ktype >= kWeekKType
                                 ? m_stockDetailData->getDayKList()
                                 : m_stockDetailData->klineLib()->getKLineRspArray(m_code, ktype);
    bool hasData = list && !list->empty();
    if (kview.ktype() == ktype && hasData)
        return;
    kview.setKtype(ktype);
    if (!hasData) {
        kview.clearView();
        m_stockDetailData->reqKLineIfNoDataOrOverTime(ktype);
    } else if (ktype >= kWeekKType) {
        showMultiDayKLine(ktype);
    } else {
        kviewUpdate(list, 0);
        m_stockDetailData->reqKLineIfNoDataOrOverTime(ktype);
    }
}

void StockDetailViewController::showMultiDayKLine(int ktype) {
    KLineView &kview = *m_curKLineView;
    KLineNetData &lib = *m_stockDetailData->klineLib();
    const ObjectList *list = nullptr;
    base::Ref<KLinePack> computed = lib.getKLinePack(m_code, ktype + KLineNetData::ComputedPeriodOffset);
    if (computed && !computed->rspArray.empty() && computed->dataExrightType == kview.exrightType() &&
        computed->dataExrightDate == kview.exrightDate()) {
        list = &computed->rspArray;
    } else {
        base::Ref<KLinePack> days = lib.getKLinePack(m_code, kDayKType);
        if (!days)
            return;
        if (!days->isGetFirstKLine) {
            if (days->rspArray.empty())
                return;
            int needed = ktype == kWeekKType ? kWeekDaysNeeded : kMonthDaysNeeded;
            int held = int(days->rspArray.size());
            if (held < needed) {
                int batches = (needed - held + kDayBatch - 1) / kDayBatch;
                m_stockDetailData->reqCurDayKLineBatch(batches * kDayBatch);
                startKLineViewWaiting();
                return;
            }
        }
        list = lib.calcMultiDayKData(m_code, ktype, true);
        m_stockDetailData->AddStocks_CalcAllAddKLines(ktype, true);
    }
    if (!list)
        return;
    kview.Update(getCurrentBasicInf(), candles(list), ktype, 0);
    m_stockDetailData->AddStocks_ReqAllKLineForwardToFirstTime(list, ktype);
}

void StockDetailViewController::kviewUpdate(const ObjectList *list, int updateType) {
    m_curKLineView->Update(getCurrentBasicInf(), candles(list), m_curKLineView->ktype(), updateType);
}

void StockDetailViewController::startKLineViewWaiting() {
    if (FullScreenViewController *full = curFullScreenVC())
        full->startWaitingAlert();
    else
        startWaitingAlert(kWaitingFrame);
}

void StockDetailViewController::stopKLineViewWaiting() {
    if (FullScreenViewController *full = curFullScreenVC())
        full->stopWaitingAlert();
    stopWaitingAlert();
}

// --- Replies

void StockDetailViewController::ProcChartReply(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (!m_curKLineView)
        return;
    StockDetailNetData &lib = *m_stockDetailData->stockDetailLib();
    switch (reqType) {
    case 2942:
        ProcMinLine(params);
        break;
    case 2944:
        ProcKLine(params);
        break;
    case 2917:
        ProcDealQueue();
        break;
    case 2918:
    case 2919:
    case 2920:
    case 2928:
    case 2933:
        if (m_stockDetailData->canReqKLineLevel2() && !(params && params->has("IsEmptyPack"))) {
            m_curKLineView->UpdateLevel2TechIndex(reqType, series(lib.getStockRspArray(reqType)));
            reqKLineLevel2TechIndex();
        }
        break;
    case 2922:
    case 2923:
    case 2924:
        m_curTrendLineView->UpdateLevel2TechIndex(reqType, series(lib.getStockRspArray(reqType)));
        break;
    case 2965:
        if (base::Ref<NetDataCenter> center = lib.netdatacenter())
            if (const ObjectList *line = center->IO_IndexLib->getIndexRiseFallLineRspArray(m_code))
                m_curTrendLineView->UpdateIndexRiseFallLine(m_code, series(line));
        break;
    case 2969:
        LoadStockBoardArray();
        LoadElementBoards();
        break;
    default:
        break;
    }
}

void StockDetailViewController::ProcKLine(const base::Ref<ReqParams> &params) {
    base::Ref<KLinePack> pack = params ? KLinePack::getKLinePackFromDict(params->object("pack")) : nullptr;
    if (!pack || !params->has("isForwardReq") || pack->code.empty())
        return;
    bool forward = params->get("isForwardReq").boolValue();
    if (forward && !pack->canProcessRsp())
        return;
    int updateType = forward ? 2 : 1;
    KLineView &kview = *m_curKLineView;
    StockDetailData &data = *m_stockDetailData;
    if (pack->code == m_code) {
        if (forward && pack->ktype == kview.ktype())
            data.AddStocks_CalcAllAddKLines(pack->ktype, false);
        if (pack->ktype <= kLastMinuteKType && pack->ktype == kview.ktype()) {
            kviewUpdate(&pack->rspArray, updateType);
        } else if (pack->ktype == kDayKType) {
            data.calcExrightOnRspKLine(pack, kview.exrightType(), kview.exrightDate());
            if (kview.ktype() == kDayKType) {
                kviewUpdate(&pack->rspArray, updateType);
                if (forward)
                    reqKLineLevel2TechIndex();
                else
                    data.reqKLineLevel2TechIndexOnTimer(kview.getCurLevel2TechType());
            } else if (kview.ktype() >= kWeekKType && kview.isExrightMode()) {
                const ObjectList *list = data.klineLib()->calcMultiDayKData(m_code, kview.ktype(), false);
                if (forward)
                    data.AddStocks_CalcAllAddKLines(kview.ktype(), true);
                if (list) {
                    kviewUpdate(list, 0);
                    if (forward)
                        data.AddStocks_ReqAllKLineForwardToFirstTime(list, kview.ktype());
                }
                stopKLineViewWaiting();
            }
        } else if (pack->ktype >= kWeekKType && pack->ktype == kview.ktype() && !kview.isExrightMode()) {
            if (const ObjectList *events = data.getExrightList())
                StockFunc::setMultiDayKLineExrightFlag(pack->rspArray, pack->ktype, *events);
            kviewUpdate(&pack->rspArray, updateType);
        }
        if (forward && pack->ktype == kview.ktype())
            data.AddStocks_ReqAllKLineForwardToFirstTime(&pack->rspArray, kview.ktype());
    } else if (data.AddStocks_GetDictByCode(pack->code)) {
        data.AddStocks_CalcAddKLine(pack->code, &pack->rspArray, pack->ktype, forward);
        if (pack->ktype == kview.ktype()) {
            if (pack->rspLastTime >= kview.getDisplayFirstTime())
                kview.setNeedsDisplay();
            data.AddStocks_ReqKLineForward(pack->code);
        }
    }
    if (auto pop = popOn(pack->code)) {
        pop->klineView().Update(data.popStockBasicInf(), candles(&pack->rspArray), pack->ktype, 0);
        pop->StopKLineWaitingAlert();
    }
}

void StockDetailViewController::ProcMinLine(const base::Ref<ReqParams> &params) {
    base::Ref<MinLinePack> pack =
        params ? MinLinePack::getMinLinePackFromDict(params->object("pack")) : nullptr;
    std::string code = replyCode(params);
    if (!pack || code.empty())
        return;
    if (auto pop = popOn(code))
        pop->trendLineView().Update(m_stockDetailData->popStockBasicInf(), minutes(&pack->rspArray));
    if (code != m_code) {
        m_curTrendLineView->UpdateAddStock(code, minutes(&pack->rspArray));
        return;
    }
    m_curTrendLineView->Update(getCurrentBasicInf(), minutes(&pack->rspArray));
    if (!m_isBombLoaded) {
        m_isBombLoaded = true;
        m_bombUpdateTick = TimeFunc::getCurTick();
        reqInfoBomb();
    }
}

void StockDetailViewController::ProcDealQueue() {
    const base::Dict *queue = m_stockDetailData->stockDetailLib()->getStockRspDict(2917);
    if (!queue || !m_dealQueuePanelView)
        return;
    const StockBasicInf &record = *getCurrentBasicInf();
    std::vector<std::string> buys = texts(queue->get("buyArray")), sells = texts(queue->get("sellArray"));
    m_dealQueuePanelView->UpdateQueueData(buys, DealQueuePanelView::BuyBeginTag, record.buyPrice[0],
                                          record.buyVol[0], int(buys.size()),
                                          float(queue->get("buyPerNum").doubleValue()), record.decimal);
    m_dealQueuePanelView->UpdateQueueData(sells, DealQueuePanelView::SellBeginTag, record.sellPrice[0],
                                          record.sellVol[0], int(sells.size()),
                                          float(queue->get("sellPerNum").doubleValue()), record.decimal);
}

void StockDetailViewController::LoadStockBoardArray() {
    if (!m_stockDetailSwitchBar)
        return;
    base::Array &boards = m_stockDetailSwitchBar->stockBoardArray();
    if (!boards.empty())
        return;
    boards.add(base::Dict{{"code", "SH000001"}, {"name", "上证指数"}});
    boards.add(base::Dict{{"code", "SZ399001"}, {"name", "深证成指"}});
    if (const ObjectList *rows = m_stockDetailData->stockDetailLib()->getStockRspArray(2969))
        for (const auto &row : *rows)
            if (auto board = std::dynamic_pointer_cast<StockBoardInf>(row))
                boards.add(base::Dict{{"code", board->code}, {"name", board->name}});
}

void StockDetailViewController::LoadElementBoards() {
    if (!m_rightStockDetailPanel)
        return;
    std::vector<base::Ref<StockBoardInf>> boards;
    if (const ObjectList *rows = m_stockDetailData->stockDetailLib()->getStockRspArray(2969))
        for (const auto &row : *rows)
            if (auto board = std::dynamic_pointer_cast<StockBoardInf>(row))
                boards.push_back(board);
    m_rightStockDetailPanel->elementBoardView().SetElementBoardDataArray(std::move(boards));
}

// --- Ex-rights

base::Opt<bool> StockDetailViewController::changeExright(int32_t exrightType, int32_t exrightDate) {
    KLineView &kview = *m_curKLineView;
    if (kview.ktype() < kDayKType ||
        (exrightType == kview.exrightType() && exrightDate == kview.exrightDate()) ||
        !m_stockDetailData->existExrightInfo())
        return false;
    kview.setExrightType(exrightType);
    kview.setExrightDate(exrightDate);
    kview.setIsExrightMode(exrightType > 0);
    if (exrightType >= 0 && size_t(exrightType) < std::size(kExrightTitles) && kview.exrightButton())
        kview.exrightButton()->setTitle(kExrightTitles[exrightType]);
    if (kview.ktype() >= kWeekKType) {
        bool held = false;
        if (m_stockDetailData->checkOrReqCurDayKLine(kview.ktype(), held)) {
            startKLineViewWaiting();
            return true;
        }
        if (!held)
            return false;
    }
    if (const ObjectList *list =
            m_stockDetailData->calcOnChangeExright(exrightType, exrightDate, kview.ktype()))
        kviewUpdate(list, 0);
    return false;
}

// --- Chart requests

base::Opt<void> StockDetailViewController::reqForwardKLineData() {
    if (!m_isOFCode)
        m_stockDetailData->reqCurKLine(true, StockDetailData::ReqCandleCount);
    return {};
}

base::Opt<void> StockDetailViewController::reqKLineLevel2TechIndex() {
    m_stockDetailData->reqKLineLevel2TechIndex(m_curKLineView->getCurLevel2TechType(),
                                               m_curKLineView->getDisplayFirstTime());
    return {};
}

base::Opt<void> StockDetailViewController::reqMLineLevel2TechIndex() {
    m_stockDetailData->reqMLineLevel2TechIndex();
    return {};
}

// --- Indicator menus

void StockDetailViewController::presentPopover(ui::Popover &popover, ui::View &anchor, unsigned arrow) {
    popover.presentFromRect(anchor.bounds(), anchor, arrow, true);
}

base::Opt<void> StockDetailViewController::SetTechIndexAction(ui::Button *sender, const std::string &) {
    if (!sender)
        return {};
    if (!m_techSettings) {
        m_techSettings = base::make<PopTechSettingsController>();
        m_techSettings->SetCurrentSelTech(0);
        m_techSettings->delegate = weakSelf<StockDetailViewController>();
        m_techIndexPopoverController = base::make<ui::Popover>(m_techSettings);
        m_techSettings->popoverVCParent = m_techIndexPopoverController;
    } else {
        m_techSettings->ResetCurrentSettings();
    }
    presentPopover(*m_techIndexPopoverController, *sender, ui::ArrowDown);
    return {};
}

base::Opt<void> StockDetailViewController::ReturnSelectedTechName(const std::string &techName,
                                                                  const base::Array &paramArray) {
    if (m_isOFCode && techName == "BOLL") {
        showAlert(kFundBollAlert);
        return {};
    }
    m_curKLineView->changeTechIndex(techName, paramArray);
    if (m_techIndexPopoverController)
        m_techIndexPopoverController->dismiss(true);
    return {};
}

namespace {

template <size_t N>
base::Ref<PopMenuController> makeLevel2Menu(int menuID, gfx::Size size, const Level2Item (&items)[N],
                                            base::Weak<PopMenuControllerDelegate> delegate) {
    auto menu = base::make<PopMenuController>(gfx::Rect{{0, 0}, size});
    menu->popMenuID = menuID;
    menu->delegate = std::move(delegate);
    for (const Level2Item &item : items)
        menu->addMenuItem(item.name, item.id);
    return menu;
}

} // namespace

base::Opt<void> StockDetailViewController::SetKLineLevel2TechIndexAction(ui::Button *sender, int32_t,
                                                                         const std::string &) {
    if (!sender)
        return {};
    if (!m_klineLevel2Menu) {
        m_klineLevel2Menu = makeLevel2Menu(kKLineLevel2MenuID, kKLineLevel2MenuSize, kKLineLevel2Items,
                                           weakSelf<StockDetailViewController>());
        m_klineLevel2TechIndexPopoverController = base::make<ui::Popover>(m_klineLevel2Menu);
    }
    presentPopover(*m_klineLevel2TechIndexPopoverController, *sender, ui::ArrowDown);
    return {};
}

base::Opt<void> StockDetailViewController::SetMLineLevel2TechIndexAction(ui::Button *sender, int32_t,
                                                                         const std::string &) {
    if (!sender)
        return {};
    if (!m_mlineLevel2Menu) {
        m_mlineLevel2Menu = makeLevel2Menu(kMLineLevel2MenuID, kMLineLevel2MenuSize, kMLineLevel2Items,
                                           weakSelf<StockDetailViewController>());
        m_mlineLevel2TechIndexPopoverController = base::make<ui::Popover>(m_mlineLevel2Menu);
    }
    presentPopover(*m_mlineLevel2TechIndexPopoverController, *sender, ui::ArrowDown);
    return {};
}

base::Opt<void> StockDetailViewController::ReturnSelectedPopMenuItem(int popMenuID, int32_t itemID,
                                                                     const std::string &) {
    if (popMenuID == kMLineLevel2MenuID) {
        m_curTrendLineView->changeLevel2TechIndex(itemID);
        m_mlineLevel2TechIndexPopoverController->dismiss(true);
    } else if (popMenuID == kKLineLevel2MenuID) {
        m_curKLineView->changeLevel2TechIndex(itemID);
        m_klineLevel2TechIndexPopoverController->dismiss(true);
    }
    return {};
}

void StockDetailViewController::showAlert(const std::string &text) {
    FullScreenViewController *full = curFullScreenVC();
    DataManager::sharedDataManager().ShowAlertView(text, full ? &full->view() : nullptr);
}

void StockDetailViewController::dismissChartPopovers() {
    for (ui::Popover *popover :
         {m_techIndexPopoverController.get(), m_klineLevel2TechIndexPopoverController.get(),
          m_mlineLevel2TechIndexPopoverController.get(), m_infoAlertPopoverController.get(),
          m_klineView ? m_klineView->exrightPopover() : nullptr,
          m_stockDetailSwitchBar ? m_stockDetailSwitchBar->searchPopover().popover() : nullptr})
        if (popover && popover->isVisible())
            popover->dismiss(false);
}

// --- Information mine

void StockDetailViewController::reqInfoBomb() {
    base::Ref<NetDataCenter> center = m_stockDetailData->stockDetailLib()->netdatacenter();
    if (m_newsData)
        m_newsData->reqTodayInfoBomb(m_code, center ? center->IO_ServerDate : 0);
}

void StockDetailViewController::refreshInfoBomb() {
    double now = TimeFunc::getCurTick();
    if (!m_isBombLoaded || now - m_bombUpdateTick < kInfoBombPeriod)
        return;
    m_bombUpdateTick = now;
    reqInfoBomb();
}

base::Opt<void>
StockDetailViewController::updateTodayInfoBombArray(const std::vector<base::Ref<NewsSummaryInfo>> &items) {
    if (items.empty() || !items.front() || !m_trendLineView)
        return {};
    // A time that cannot be read marks nothing rather than a minute before the open.
    int minute = NewsSummaryInfo::getNumMinuteFromOTime(items.front()->time);
    if (minute >= 0)
        m_trendLineView->UpdateInfoBomb(minute);
    return {};
}

base::Opt<void> StockDetailViewController::minLineView_didTouchBomb(ui::Button *sender) {
    if (!sender)
        return {};
    auto bomb = base::make<InfoBombViewController>();
    bomb->setStockCode(m_code, m_stockName);
    m_infoAlertPopoverController = base::make<ui::Popover>(base::make<ui::NavigationController>(bomb));
    presentPopover(*m_infoAlertPopoverController, *sender, ui::ArrowUp);
    return {};
}

// --- Overlay stocks

base::Opt<void> StockDetailViewController::ReturnSearchFieldText(const std::string &code) {
    if (m_isOFCode) {
        showAlert(kFundOverlayAlert);
        return {};
    }
    if (m_stockDetailData->AddStocks_AddCode(code)) {
        m_stockDetailSwitchBar->resetTlineBtn().setEnabled(true);
        syncOverlayList();
    }
    m_curKLineView->OpenAddStocksMode();
    return {};
}

base::Opt<void> StockDetailViewController::ResetTechGraphicState() {
    if (m_isOFCode) {
        showAlert(kFundOverlayAlert);
        return {};
    }
    if (!m_stockDetailData->AddStocks_DelAll())
        return {};
    m_stockDetailSwitchBar->resetTlineBtn().setEnabled(false);
    syncOverlayList();
    m_curTrendLineView->CloseAddStocksMode();
    m_curKLineView->CloseAddStocksMode(true);
    return {};
}

// --- Full screen

base::Opt<void> StockDetailViewController::ZoomInAction() {
    if (!m_curKLineView || (m_curKLineView->isHidden() && m_curTrendLineView->isHidden()) ||
        curFullScreenVC())
        return {};
    auto full = base::make<FullScreenViewController>();
    full->setMarketCode(m_code);
    full->delegate = weakSelf<StockDetailViewController>();
    full->UpdateBasicInf(*getCurrentBasicInf());
    m_curKLineView = full->klineView();
    adoptChartView(*m_curKLineView);
    UpdateCurKLineViewData(*m_klineView, *m_curKLineView);
    m_curTrendLineView = full->trendLineView();
    adoptChartView(*m_curTrendLineView);
    UpdateCurTrendLineViewData(*m_trendLineView, *m_curTrendLineView);
    full->sliderView()->delegate = weakSelf<StockDetailViewController>();
    full->SetCurrentViewType(m_trendLineView->isHidden() ? 1 : 0);
    full->sliderView()->SetIndicatorAtIndex(getSliderIndex(m_klineView->ktype()));
    m_curFullScreenVC = full;
    presentModal(full, true);
    return {};
}

base::Opt<void> StockDetailViewController::dismissModalFullScreen() {
    base::Ref<FullScreenViewController> full = m_curFullScreenVC.lock();
    if (!full)
        return {};
    UpdateCurKLineViewData(*full->klineView(), *m_klineView);
    UpdateCurTrendLineViewData(*full->trendLineView(), *m_trendLineView);
    m_stockDetailSwitchBar->SetSelectedItemIndex(m_trendLineView->isHidden() ? 1 : 0, 0);
    m_sliderView->SetIndicatorAtIndex(getSliderIndex(m_klineView->ktype()));
    m_curKLineView = m_klineView;
    m_curTrendLineView = m_trendLineView;
    m_curFullScreenVC.reset();
    showMinLineOrKLineView(!m_trendLineView->isHidden());
    return {};
}

base::Opt<void> StockDetailViewController::FullScreenStockDetailBarSelectedIndex(int index, int, ui::View &) {
    if (index == 0)
        showMinLineView();
    else if (index == 1)
        showKLineView();
    return {};
}

void StockDetailViewController::UpdateCurKLineViewData(KLineView &source, KLineView &dest) {
    dest.setHidden(source.isHidden());
    dest.setKoffset(source.koffset());
    dest.setKsize(source.ksize());
    dest.setKtype(source.ktype());
    dest.setExrightType(source.exrightType());
    dest.setExrightDate(source.exrightDate());
    if (source.exrightButton() && dest.exrightButton())
        dest.exrightButton()->setTitle(source.exrightButton()->titleForState(ui::Normal));
    dest.setIsExrightMode(source.isExrightMode());
    if (source.isAddStocksMode() != dest.isAddStocksMode()) {
        if (source.isAddStocksMode())
            dest.OpenAddStocksMode();
        else
            dest.CloseAddStocksMode(false);
    }
    if (m_isOFCode)
        dest.changeMainTechIndex(kNoMainTech);
    dest.Update(getCurrentBasicInf(), candles(m_stockDetailData->getCurKList(dest.ktype())), dest.ktype(), 0);
    if (m_stockDetailData->canReqKLineLevel2()) {
        int32_t level2 = source.getCurLevel2TechType();
        dest.resetLevel2TechIndex(level2,
                                  series(m_stockDetailData->stockDetailLib()->getStockRspArray(level2)));
    }
}

void StockDetailViewController::UpdateCurTrendLineViewData(MinLineView &source, MinLineView &dest) {
    dest.setHidden(source.isHidden());
    if (m_isOFCode) {
        dest.zeroView();
        return;
    }
    dest.Update(getCurrentBasicInf(), minutes(m_stockDetailData->minlineLib()->getMinLineRspArray(m_code)));
    int32_t level2 = source.getCurLevel2TechType();
    dest.resetLevel2TechIndex(level2, series(m_stockDetailData->stockDetailLib()->getStockRspArray(level2)));
    if (StockFunc::isSZSCIndex(m_code))
        if (base::Ref<NetDataCenter> center = m_stockDetailData->stockDetailLib()->netdatacenter())
            if (const ObjectList *line = center->IO_IndexLib->getIndexRiseFallLineRspArray(m_code))
                dest.UpdateIndexRiseFallLine(m_code, series(line));
}
