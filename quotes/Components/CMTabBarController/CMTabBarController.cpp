#include "CMTabBarController.h"

#include "Common/MakerInfo.h"
#include "Common/ServerConfig.h"
#include "DataBase/DataBase.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/MarketViewController.h"
#include "QXJsonParser.h"
#include "ui/NavigationController.h"

std::string CMTabBarController::welcomeText() {
    return std::string("欢迎您使用") + MakerInfo::Name + "！证券代码：" + MakerInfo::SecuritiesCode +
           "。网址：" + MakerInfo::WebAddress + "。";
}

const std::vector<std::string> &CMTabBarController::indexCodes() {
    static const std::vector<std::string> codes{"SH000001", "SZ399001", "HKHSI"};
    return codes;
}

CMTabBarController::~CMTabBarController() {
    for (const auto &timer : {myTimer_, newsTimer_})
        if (timer)
            timer->closeTimer();
    if (newsRequest_)
        newsRequest_->clearDelegatesAndCancel();
}

gfx::Rect CMTabBarController::inView(gfx::Rect screenFrame) {
    return screenFrame.offset(0, -ui::Screen::main().applicationFrame().y());
}

void CMTabBarController::viewDidLoad() {
    ui::TabBarController::viewDidLoad();
    overturnShowerView_ = base::make<CMOverturnShowerView>(inView(MarqueeFrame));
    overturnShowerView_->delegate = weakSelf<CMTabBarController>();
    overturnShowerView_->addTitleToArray(base::Dict{{"title", welcomeText()}});
    view().addSubview(overturnShowerView_);
    indexBannerView_ = base::make<CMIndexBannerView>(inView(IndexBannerFrame));
    indexBannerView_->delegate = weakSelf<CMTabBarController>();
    view().addSubview(indexBannerView_);
    boardBannerView_ = base::make<CMBoardBannerView>(inView(BoardBannerFrame));
    boardBannerView_->delegate = weakSelf<CMTabBarController>();
    view().addSubview(boardBannerView_);
    SetOrientation(prevOrientation_);
}

void CMTabBarController::SetOrientation(int orientation) {
    if (orientation != int(ui::Orientation::LandscapeRight) &&
        orientation != int(ui::Orientation::LandscapeLeft))
        return;
    overturnShowerView_->setFrame(inView(MarqueeLandscape));
    indexBannerView_->setFrame(inView(IndexBannerLandscape));
    boardBannerView_->setFrame(inView(BoardBannerLandscape));
}

void CMTabBarController::viewDidAppear(bool animated) {
    ui::TabBarController::viewDidAppear(animated);
    initData();
}

void CMTabBarController::initData() {
    if (indexQuotes_)
        return;
    base::Weak<CMTabBarController> weak = weakSelf<CMTabBarController>();
    myTimer_ = base::make<MyTimer>(QuoteInterval, base::Action("OnMyTimerEvent", [weak](base::Object *) {
                                       if (auto alive = weak.lock())
                                           alive->OnMyTimerEvent();
                                   }));
    newsTimer_ = base::make<MyTimer>(NewsInterval, base::Action("OnNewsTimerEvent", [weak](base::Object *) {
                                         if (auto alive = weak.lock())
                                             alive->OnNewsTimerEvent();
                                     }));
    indexQuotes_ = base::make<CustomQuotesList>();
    indexRspArray_ = base::make<StockQuoteList>();
    boardRspArray1_ = base::make<StockQuoteList>();
    indexQuotes_->codeArray = indexCodes();
    indexQuotes_->loadFromCodes();
    reqData(true);
}

void CMTabBarController::OnMyTimerEvent() {
    if (DataBase::sharedDataBase()->isHQConnected())
        reqData(false);
}

void CMTabBarController::OnNewsTimerEvent() {
    reqHttpNews();
}

void CMTabBarController::reqData(bool first) {
    reqIndexs();
    reqBoard();
    if (first)
        reqHttpNews();
}

void CMTabBarController::reqIndexs() {
    if (auto layer = DataBase::sharedDataBase()->IO_NetDataCenter())
        layer->RequestPauseList(self<CMTabBarController>(), 0, indexQuotes_->codeArray, indexRspArray_,
                                IndexTag);
}

void CMTabBarController::reqBoard() {
    if (auto layer = DataBase::sharedDataBase()->IO_NetDataCenter())
        layer->RequestStockListCom(self<CMTabBarController>(), BoardClassID, 0, RiseSortField, 0, 0,
                                   BoardCount, boardRspArray1_, BoardTag, 0, 0);
}

void CMTabBarController::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType == QuoteListType && params)
        ProcQuotes(params);
}

void CMTabBarController::ProcQuotes(const base::Ref<ReqParams> &params) {
    int tag = int(params->get("tag").intValue());
    if (tag == BoardTag) {
        boardBannerView_->SetBoardDataArray(boardRspArray1_->items, true);
    } else if (tag == IndexTag) {
        indexQuotes_->rspQuotesArray = indexRspArray_->items;
        indexQuotes_->loadQuotes();
        std::vector<base::Ref<CustomQuotesList::QuoteDic>> entries = indexQuotes_->dataArray;
        indexBannerView_->SetIndexDataArray(entries);
    }
}

void CMTabBarController::reqHttpNews() {
    std::string address = ServerConfig::urlFor(ServerConfig::NewsServerKey, HeadlinePath);
    std::optional<base::Url> url = base::Url::parse(address);
    if (!url)
        return;
    if (newsRequest_)
        newsRequest_->clearDelegatesAndCancel();
    newsRequest_ = HTTPRequest::requestWithURL(*url);
    newsRequest_->setDelegate(weakSelf<CMTabBarController>());
    newsRequest_->startAsynchronous();
}

base::Opt<void> CMTabBarController::requestFinished(HTTPRequest &request) {
    if (&request == newsRequest_.get())
        newsRequest_.reset();
    // The file is UTF-8 whatever the response says of its character set.
    std::optional<base::Data> body = request.responseData();
    std::optional<base::Value> parsed = JSONValue(body ? body->toString() : std::string());
    const base::Array *items = parsed ? parsed->array() : nullptr;
    if (!items || request.responseStatusCode() != 200)
        return {};
    overturnShowerView_->removeAllTitle();
    for (const base::Value &item : *items)
        if (item.dict() && item["title"].isString())
            overturnShowerView_->addTitleToArray(item);
    return {};
}

base::Opt<void> CMTabBarController::requestFailed(HTTPRequest &request) {
    if (&request == newsRequest_.get())
        newsRequest_.reset();
    return {};
}

// ---------------------------------------------------------------------------------------------
// Banner taps

ui::ViewController *CMTabBarController::visibleController() const {
    ui::ViewController *tab = selectedController();
    if (auto *navigation = dynamic_cast<ui::NavigationController *>(tab))
        return navigation->viewControllers().empty() ? nullptr : navigation->viewControllers().back().get();
    return tab;
}

base::Opt<void> CMTabBarController::ReturnSelectedIndex(const std::string &, const std::string &code) {
    ui::ViewController *top = visibleController();
    if (auto *detail = dynamic_cast<StockDetailViewController *>(top)) {
        detail->SetStockCodeMarket(code);
        return {};
    }
    ui::NavigationController *navigation = top ? top->navigationController() : nullptr;
    if (!navigation)
        return {};
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    navigation->push(detail, true);
    return {};
}

base::Opt<void> CMTabBarController::ReturnSelectedBoard(const std::string &, const std::string &) {
    if (viewControllers().size() <= size_t(MarketTabIndex))
        return {};
    setSelectedIndex(MarketTabIndex);
    ui::ViewController *top = visibleController();
    if (!dynamic_cast<MarketViewController *>(top) && top && top->navigationController()) {
        top->navigationController()->popToRoot(true);
        top = visibleController();
    }
    if (auto *market = dynamic_cast<MarketViewController *>(top))
        market->SetCurrentModuleAtIndex(BoardModuleIndex);
    return {};
}
