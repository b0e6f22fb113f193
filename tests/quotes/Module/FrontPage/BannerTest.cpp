#include "FrontPageFixture.h"

#include "DataBase/NetData/RequestPosItem.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"

namespace frontpage {

namespace {

class BannerTest : public FrontPageTest {
protected:
    void SetUp() override { show(); }
    IndexSideBannerView &banner() { return screen->synView()->indexSideBannerView(); }
};

TEST_F(BannerTest, FiveTilesFillTheirCodesAndScrollInTheColumn) {
    ASSERT_EQ(banner().itemCount(), 5);
    EXPECT_EQ(banner().frame(), SynthesizedView::BannerFrame);
    EXPECT_EQ(banner().backgroundScroll().contentSize(), (gfx::Size{225, 950}));
    const char *names[] = {"上证指数", "深证成指", "恒生指数", "创业板指", "道琼斯"};
    for (int i = 0; i < 5; ++i) {
        IndexBannerView *tile = banner().tileAt(i);
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->tag, 1500 + i);
        EXPECT_EQ(tile->frame(), (gfx::Rect{0, 190.f * float(i), 225, 190}));
        EXPECT_EQ(tile->stockCode, IndexSideBannerView::indexCodes()[size_t(i)]);
        EXPECT_EQ(tile->nameLabel().text(), names[i]);
        EXPECT_EQ(tile->minView().waitingAlert(), nullptr) << "the chart has its minutes";
    }
}

TEST_F(BannerTest, TileColoursFollowTheChangeAndAnIndexWithoutAValueIsWhite) {
    IndexBannerView &tile = *banner().tileAt(0);
    struct Case {
        int32_t last, close;
        base::Ref<gfx::Color> colour;
    } cases[] = {{1010, 1000, gfx::Color::red()},
                 {990, 1000, gfx::Color::green()},
                 {1000, 1000, gfx::Color::white()},
                 {0, 1000, gfx::Color::white()}};
    for (const Case &c : cases) {
        StockQuoteInf record;
        record.code = "SH000001";
        record.name = "上证指数";
        record.decimal = 2;
        record.newprice = c.last;
        record.closeprice = c.close;
        tile.SetStockData(record);
        EXPECT_EQ(*tile.lastLabel().textColor(), *c.colour) << c.last;
        EXPECT_EQ(*tile.rangeLabel().textColor(), *c.colour) << c.last;
    }
}

TEST_F(BannerTest, TheFourthTileOpensItsIndexWithTheFiveCodes) {
    db->IO_StockDetailStatus()->setIsShowKLine(true);
    banner().backgroundScroll().setContentOffset({0, 380});
    app.runPending();
    tapView(*banner().tileAt(3));
    app.advance(1);
    auto *detail = dynamic_cast<StockDetailViewController *>(nav->top());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "SZ399006");
    EXPECT_EQ(detail->currentStocksIndex(), 3);
    ASSERT_EQ(detail->checkStocksArray().size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(detail->checkStocksArray().at(i).stringValue(), IndexSideBannerView::indexCodes()[i]);
    EXPECT_FALSE(db->IO_StockDetailStatus()->isShowKLine());
}

TEST_F(BannerTest, AWithheldCodeKeepsItsTileAndForeignRepliesReachNoTile) {
    IndexBannerView &hangSeng = *banner().tileAt(2);
    std::string hangSengBefore = hangSeng.lastLabel().text(),
                shanghaiBefore = banner().tileAt(0)->lastLabel().text();
    quotes.setMarketMinute(60);
    quotes.withholdCode("HKHSI");
    screen->OnTimerCenterNotify(100);
    settle();
    EXPECT_EQ(hangSeng.lastLabel().text(), hangSengBefore);
    EXPECT_NE(banner().tileAt(0)->lastLabel().text(), shanghaiBefore);

    // Another index column shares the notification name: its quotes and minutes are not ours.
    std::string shown = banner().tileAt(0)->nameLabel().text();
    auto foreign = base::make<StockQuoteList>();
    db->IO_NetDataCenter()->RequestPauseList(std::string(IndexSideBannerView::ObserverName), 0, {"SH600000"},
                                             foreign, 0);
    auto foreignMinutes = base::make<MLineNetData>();
    foreignMinutes->reqMinLine(std::string(IndexSideBannerView::ObserverName), "SH000001");
    // Minutes of a code without a tile change nothing either.
    banner().minLineLib().reqMinLine(std::string(IndexSideBannerView::ObserverName), "SH600000");
    settle();
    app.runPending();
    EXPECT_EQ(banner().tileAt(0)->nameLabel().text(), shown);
    for (int i = 0; i < 5; ++i)
        EXPECT_NE(banner().tileAt(i)->stockCode, "SH600000");
}

TEST_F(BannerTest, AReturningConnectionIdlesTheChartsAndActivationClearsThem) {
    MLineNetData &lib = banner().minLineLib();
    ASSERT_EQ(lib.m_reqMinLineList().size(), 5u);
    for (const auto &pack : lib.m_reqMinLineList())
        pack->isIdle = false;
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"HQConnectStatus", true}});
    for (const auto &pack : lib.m_reqMinLineList())
        EXPECT_TRUE(pack->isIdle);
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"AppActiveState", "AppDidBecomeActive"}});
    EXPECT_TRUE(lib.m_reqMinLineList().empty());
}

} // namespace

} // namespace frontpage
