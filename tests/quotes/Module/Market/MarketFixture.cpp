#include "MarketFixture.h"

#include "DataBase/ComAPI.h"
#include "base/Bundle.h"
#include "base/PropertyList.h"
#include "ui/Popover.h"

#include <filesystem>

namespace market {

namespace {

constexpr int CodeListClass = 106;
constexpr double StaleClockStart = 30;

// The standard market with 99 made-up stocks on each exchange, the last of them not traded today,
// and Hong Kong, the world indexes, the exchange funds, the bonds, the currency pairs and the index
// futures of the whole market, the last bond, pair and future untraded, and the funds of the fund
// pages in its code tables.
peers::MarketFixture listMarket() {
    peers::MarketFixture standard = peers::MarketFixture::standard(99);
    peers::MarketFixture whole = peers::MarketFixture::whole();
    std::vector<peers::Security> securities = standard.securities();
    securities.back().suspended = true;
    for (const char *prefix : {"HK", "IX"})
        for (const peers::Security &security : whole.market(prefix))
            securities.push_back(security);
    for (const peers::Security &security : whole.securities())
        if (security.type == peers::MarketFixture::FundType)
            securities.push_back(security);
    // The bonds, currency pairs and futures, the last of each kind untraded today.
    for (int type : {peers::MarketFixture::BondType, peers::MarketFixture::CurrencyType,
                     peers::MarketFixture::FutureType}) {
        for (const peers::Security &security : whole.securities())
            if (security.type == type)
                securities.push_back(security);
        securities.back().suspended = true;
    }
    peers::MarketFixture market(std::move(securities), standard.quotesDate());
    // The funds of the fund pages in the code tables, as the whole market has them.
    market.setHoldsFunds(true);
    return market;
}

} // namespace

MarketScreenTest::MarketScreenTest() : coordinator::CoordinatorTest(listMarket()) {
    for (const char *file : {"LatestRecentViewed.plist", "MyStockList.plist", "StockModelMenu.plist"})
        base::FileManager::remove(documentsFile(file));
    MarketProcessMarks::reset();
    DataManager::resetSharedDataManager();
    DataManager::sharedDataManager().initialize();
    DataManager::sharedDataManager().msgboxParentHandle = app.window().self<ui::View>();
    DataBase::setSharedDataBase(db);
    readyWithoutAccount();
    // Records stamped 0 are stale only once the clock is past its first seconds.
    advance(StaleClockStart);
    base::Weak<base::Object> weak = tagObserver_;
    base::NotificationCenter::shared().addObserver(
        weak, StockModelView::ObserverName, [this](const base::Notification &n) {
            auto params = n.userInfo.get("ReqParams").objectAs<ReqParams>();
            if (params && params->has("tag"))
                stockTags_.push_back(int(params->get("tag").intValue()));
        });
}

MarketScreenTest::~MarketScreenTest() {
    for (auto &popover : ui::Popover::visiblePopovers())
        popover->dismiss(false);
    base::NotificationCenter::shared().removeObserver(tagObserver_.get());
    for (const auto &[path, target] : replaced_) {
        std::filesystem::remove(path);
        std::filesystem::create_symlink(target, path);
    }
    app.window().setRootViewController(nullptr);
    nav.reset();
    screen.reset();
    settle();
    DataBase::setSharedDataBase(nullptr);
    DataManager::resetSharedDataManager();
}

void MarketScreenTest::show() {
    nav = base::make<ui::NavigationController>(screen);
    app.window().setRootViewController(nav);
    app.runPending();
    settle();
    app.runPending();
}

std::vector<ListRequest> MarketScreenTest::listRequests() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
    std::vector<ListRequest> requests;
    for (size_t i = listSeen_; i < frames.size(); ++i) {
        ByteView body = frames[i].bytes();
        uint32_t pos = 0;
        ListRequest request;
        request.classID = uint16_t(ComAPI::ReadShort(body, pos));
        if (request.classID == CodeListClass)
            continue;
        ComAPI::ReadShort(body, pos);
        request.sortField = ComAPI::ReadByte(body, pos);
        request.order = ComAPI::ReadByte(body, pos);
        request.start = ComAPI::ReadShort(body, pos);
        request.count = ComAPI::ReadShort(body, pos);
        requests.push_back(request);
    }
    return requests;
}

std::vector<std::vector<std::string>> MarketScreenTest::codeRequests() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::QuoteListType);
    std::vector<std::vector<std::string>> lists;
    for (size_t i = listSeen_; i < frames.size(); ++i) {
        ByteView body = frames[i].bytes();
        uint32_t pos = 0;
        if (ComAPI::ReadShort(body, pos) != CodeListClass)
            continue;
        ComAPI::ReadShort(body, pos);
        int count = ComAPI::ReadShort(body, pos);
        std::vector<std::string> codes;
        for (int k = 0; k < count; ++k)
            codes.push_back(ComAPI::ReadString(body, pos));
        lists.push_back(codes);
    }
    return lists;
}

std::vector<std::string> MarketScreenTest::minuteRequests() {
    std::vector<peers::ReceivedFrame> frames = quotes.received(peers::QuoteServer::MinLineType);
    std::vector<std::string> codes;
    for (size_t i = minutesSeen_; i < frames.size(); ++i) {
        uint32_t pos = 0;
        codes.push_back(ComAPI::ReadString(frames[i].bytes(), pos));
    }
    minutesSeen_ = frames.size();
    return codes;
}

std::vector<int> MarketScreenTest::stockReplyTags() {
    std::vector<int> tags(stockTags_.begin() + long(stockTagsSeen_), stockTags_.end());
    stockTagsSeen_ = stockTags_.size();
    return tags;
}

void MarketScreenTest::forgetRequests() {
    listSeen_ = quotes.received(peers::QuoteServer::QuoteListType).size();
    minuteRequests();
    stockReplyTags();
}

void MarketScreenTest::replaceBundleList(const std::string &name, std::optional<base::Value> list) {
    std::string path = base::Bundle::main().resourcePath() + "/" + name + ".plist";
    replaced_.emplace_back(path, std::filesystem::read_symlink(path).string());
    std::filesystem::remove(path);
    if (list)
        ASSERT_TRUE(base::PropertyList::write(*list, path));
}

gfx::Point MarketScreenTest::centre(const ui::View &view) {
    gfx::Rect r = view.convert(view.bounds(), nullptr);
    return {r.x() + r.width() / 2, r.y() + r.height() / 2};
}

void MarketScreenTest::scrollTo(ui::TableView &table, float y) {
    table.setContentOffset({0, y});
    app.runPending();
    table.layoutIfNeeded();
    if (auto delegate = table.delegate.lock())
        delegate->didEndDecelerating(table);
    settle();
    app.runPending();
}

} // namespace market
