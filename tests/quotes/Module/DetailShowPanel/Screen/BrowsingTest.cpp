#include "DetailScreenFixture.h"

#include "DataBase/ComAPI.h"
#include "DataBase/NetData/FundQuoteInf.h"
#include "base/PropertyList.h"

namespace detailscreen {
namespace {

class BrowsingTest : public DetailScreenTest {
protected:
    void SetUp() override { readyWithoutAccount(); }

    // The codes of the basic-information requests received, in order.
    std::vector<std::string> basicInfCodes() const {
        std::vector<std::string> codes;
        for (const peers::ReceivedFrame &frame : quotes.received(2939)) {
            uint32_t pos = 0;
            codes.push_back(ComAPI::ReadString(frame.bytes(), pos));
        }
        return codes;
    }
    void tapNext(StockDetailViewController &screen) {
        app.tap(centre(screen.stockInfoShowView()->nextStockBtn()));
    }
    void tapPrev(StockDetailViewController &screen) {
        app.tap(centre(screen.stockInfoShowView()->prevStockBtn()));
    }
};

TEST_F(BrowsingTest, QuickTapsOnNextAddUpAndLoadOnce) {
    base::Array codes;
    for (const char *code :
         {"SH600000", "SH600009", "SH600016", "SH600028", "SH600030", "SH600036", "SH600050"})
        codes.add(code);
    auto screen = make("SH600000");
    screen->SetCheckStocksArray(codes, 0);
    push(screen);
    settle();
    quotes.clearReceived();
    for (int i = 0; i < 5; ++i) {
        tapNext(*screen);
        app.advance(0.2);
    }
    EXPECT_EQ(screen->stockCode(), "SH600000") << "still within 0.4 s of the last tap";
    app.advance(0.5);
    settle();
    EXPECT_EQ(screen->stockCode(), "SH600036");
    EXPECT_EQ(screen->currentStocksIndex(), 5);
    std::vector<std::string> asked = basicInfCodes();
    ASSERT_FALSE(asked.empty());
    EXPECT_TRUE(std::all_of(asked.begin(), asked.end(), [](auto &c) { return c == "SH600036"; }));

    for (int i = 0; i < 4; ++i)
        tapNext(*screen);
    app.advance(1);
    EXPECT_EQ(screen->stockCode(), "SH600050") << "no wrap-around past the last entry";
}

TEST_F(BrowsingTest, PreviousOnTheFirstEntryDoesNothing) {
    base::Array codes{base::Value("SH600000"), base::Value("SH600009")};
    auto screen = make("SH600000");
    screen->SetCheckStocksArray(codes, 0);
    push(screen);
    settle();
    quotes.clearReceived();
    tapPrev(*screen);
    app.advance(1);
    settle();
    EXPECT_EQ(screen->stockCode(), "SH600000");
    EXPECT_TRUE(basicInfCodes().empty());
}

TEST_F(BrowsingTest, TheFourKindsOfEntryGiveTheirCodesAndAnyOtherEndsTheStep) {
    auto quote = base::make<StockQuoteInf>();
    quote->code = "SH600009";
    auto fund = base::make<OpenFundQuoteInf>();
    fund->code = "OF110022";
    auto money = base::make<CurrencyFundQuoteInf>();
    money->code = "OF000009";
    base::Array entries{base::Value("SH600000"),
                        base::Value(base::Ref<base::Object>(quote)),
                        base::Value(base::Ref<base::Object>(fund)),
                        base::Value(base::Ref<base::Object>(money)),
                        base::Value(base::Dict{{"MarketCode", "SZ000001"}, {"StockName", "平安银行"}}),
                        base::Value(int64_t(5))};
    auto screen = make("SH600000");
    screen->SetCheckStocksArray(entries, 0);
    push(screen);
    for (const char *expected : {"SH600009", "OF110022", "OF000009", "SZ000001", "SZ000001"}) {
        tapNext(*screen);
        app.advance(1);
        EXPECT_EQ(screen->stockCode(), expected);
    }
    EXPECT_EQ(screen->currentStocksIndex(), 4) << "the step onto another kind of entry changed nothing";
}

TEST_F(BrowsingTest, WithoutAListTheNeighbourInTheCodeTableIsNext) {
    auto screen = open("SH600000");
    std::string next = db->IO_NetDataCenter()->getNextCode("SH600000", 1).value_or("");
    ASSERT_FALSE(next.empty());
    ASSERT_NE(next, "SH600000");
    tapNext(*screen);
    app.advance(1);
    EXPECT_EQ(screen->stockCode(), next);
    tapPrev(*screen);
    app.advance(1);
    EXPECT_EQ(screen->stockCode(), "SH600000");
}

TEST_F(BrowsingTest, AListAndAGroupFileAreBrowsedTogether) {
    base::Array given{base::Value("SZ000002")};
    auto fromBundle = make("SZ000002");
    fromBundle->SetCheckStocksArray(given, 0);
    fromBundle->setCurrentModelName("我的自选");
    fromBundle->setCurrentModelFileName("MyStockList");
    push(fromBundle);
    base::Array bundleGroup =
        DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName("MyStockList");
    ASSERT_FALSE(bundleGroup.empty());
    ASSERT_EQ(fromBundle->checkStocksArray().size(), 1 + bundleGroup.size());
    EXPECT_EQ(fromBundle->checkStocksArray()[0].stringValue(), "SZ000002");
    EXPECT_EQ(fromBundle->checkStocksArray()[1]["MarketCode"].stringValue(),
              bundleGroup[0]["MarketCode"].stringValue());
    nav->pop(false);

    base::Array stored{base::Value(base::Dict{{"MarketCode", "SH601398"}, {"StockName", "工商银行"}})};
    ASSERT_TRUE(base::PropertyList::write(base::Value(stored), documentsFile("MyStockList.plist")));
    auto fromDocuments = make("SZ000002");
    fromDocuments->SetCheckStocksArray(given, 0);
    fromDocuments->setCurrentModelFileName("MyStockList");
    push(fromDocuments);
    ASSERT_EQ(fromDocuments->checkStocksArray().size(), 2u);
    tapNext(*fromDocuments);
    app.advance(1);
    EXPECT_EQ(fromDocuments->stockCode(), "SH601398");
}

TEST_F(BrowsingTest, TheWatchListButtonAddsAndRemoves) {
    auto screen = open("SH600036");
    DataManager &data = DataManager::sharedDataManager();
    ui::Button &add = screen->stockInfoShowView()->addMyStockBtn();
    bool initially = data.IsStockInMyStock("SH600036", "MyStockList");
    EXPECT_EQ(add.tag, initially ? 2 : 1);
    for (int round = 0; round < 2; ++round) {
        bool before = data.IsStockInMyStock("SH600036", "MyStockList");
        app.tap(centre(add));
        app.advance(0.5);
        EXPECT_NE(data.IsStockInMyStock("SH600036", "MyStockList"), before) << round;
        EXPECT_EQ(add.tag, before ? 1 : 2) << round;
    }
}

} // namespace
} // namespace detailscreen
