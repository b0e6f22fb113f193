#include "DetailScreenFixture.h"

namespace detailscreen {

namespace {

// The standard market with the kinds of security outside Shanghai and Shenzhen that the whole
// market has: Hong Kong, world indexes, index futures and currency pairs.
peers::MarketFixture detailMarket(int generated) {
    peers::MarketFixture standard = peers::MarketFixture::standard(generated);
    peers::MarketFixture whole = peers::MarketFixture::whole();
    std::vector<peers::Security> securities = standard.securities();
    for (const char *market : {"HK", "IX", "SF", "FE"})
        for (const peers::Security &security : whole.market(market))
            securities.push_back(security);
    return peers::MarketFixture(std::move(securities), standard.quotesDate());
}

} // namespace

DetailScreenTest::DetailScreenTest(int generated) : coordinator::CoordinatorTest(detailMarket(generated)) {
    for (const char *file : {"LatestRecentViewed.plist", "MyStockList.plist", "LatestBrowseViewed.plist"})
        base::FileManager::remove(documentsFile(file));
    base::FileManager::remove(documentsFile("data"));
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
    DataBase::setSharedDataBase(db);
    nav = base::make<ui::NavigationController>(list);
    app.window().setRootViewController(nav);
    app.runPending();
}

DetailScreenTest::~DetailScreenTest() {
    app.window().setRootViewController(nullptr);
    nav.reset();
    settle();
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
}

base::Ref<StockDetailViewController> DetailScreenTest::make(const std::string &code, int boardID) {
    auto screen = base::make<StockDetailViewController>();
    screen->SetStockCodeMarket(code);
    if (boardID)
        screen->setCurrentBoardID(boardID);
    return screen;
}

void DetailScreenTest::push(const base::Ref<StockDetailViewController> &screen) {
    nav->push(screen, false);
    app.runPending();
}

base::Ref<StockDetailViewController> DetailScreenTest::open(const std::string &code, int boardID) {
    auto screen = make(code, boardID);
    push(screen);
    settle();
    return screen;
}

std::vector<int> DetailScreenTest::types() const {
    std::vector<int> out;
    for (const peers::ReceivedFrame &frame : quotes.received())
        if (frame.type != peers::QuoteServer::HeartBeatType &&
            frame.type != peers::QuoteServer::BreakingNewsType)
            out.push_back(frame.type);
    return out;
}

base::Ref<ReqParams> DetailScreenTest::params(const std::string &code) {
    auto p = base::make<ReqParams>();
    p->set("code", code);
    return p;
}

void DetailScreenTest::answerBasicInf(StockDetailViewController &screen, int type, const std::string &name) {
    const base::Ref<StockBasicInf> &record = screen.getCurrentBasicInf();
    record->code = screen.stockCode();
    record->name = name;
    record->type = int8_t(type);
    record->decimal = 2;
    // The server's own answer for a code it does not list may have come first.
    screen.stockDetailData().stockDetailLib()->setIO_isGetBasicInf(false);
    screen.DataPoolCallBack(2939, params(screen.stockCode()));
}

gfx::Point DetailScreenTest::centre(const ui::View &view) {
    gfx::Rect f = view.frame();
    return view.superview()->convert(gfx::Point{f.midX(), f.midY()}, nullptr);
}

} // namespace detailscreen
