#include "Module/FreeFrontPage/IndexSideBannerListView.h"

#include "PanelFixture.h"

#include "Golden.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

namespace freefront {
namespace {

const gfx::Rect ListFrame{0, 260, 235, 394};

class Taps : public base::Object, public IndexSideBannerDelegate {
public:
    base::Opt<void> IndexSideBannerMinLineViewClick(ui::View &, const base::Dict &info) override {
        taps.push_back(info);
        return {};
    }
    std::vector<base::Dict> taps;
};

class IndexListTest : public PanelTest {
protected:
    void make() {
        list = base::make<IndexSideBannerListView>(ListFrame);
        list->indexSideBannerDelegate = taps;
        app.window().addSubview(list);
        settle();
        app.runPending();
    }
    void tapHeader(int section) {
        app.tap(centre(list->convert(list->rectForHeader(section), nullptr)));
        app.runPending();
    }
    void tapChart() {
        app.tap(centre(list->convert(list->rectForRow({list->openSectionIndex(), 0}), nullptr)));
        app.runPending();
    }
    std::vector<std::string> minuteCodes() const {
        std::vector<std::string> codes;
        for (const auto &pack : list->minLineLib().m_reqMinLineList())
            codes.push_back(pack->code);
        return codes;
    }
    int openPoints() const { return list->openChart() ? list->openChartMinutes() : -1; }

    base::Ref<IndexSideBannerListView> list;
    base::Ref<Taps> taps = base::make<Taps>();
};

TEST_F(IndexListTest, TheFirstReplyGivesFiveHeadersWithTheFirstOpenAndAsksItsMinutes) {
    make();
    ASSERT_EQ(list->numberOfSections(), 5);
    const char *names[] = {"上证指数", "深证成指", "恒生指数", "创业板指", "道琼斯"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(list->numberOfRows(i), i == 0 ? 1 : 0);
        EXPECT_EQ(list->stockDataArray()[size_t(i)]->dicData.name, names[i]);
        EXPECT_EQ(list->stockDataArray()[size_t(i)]->dicData.code,
                  IndexSideBannerListView::indexCodes()[size_t(i)]);
    }
    EXPECT_EQ(list->openSectionIndex(), 0);
    EXPECT_EQ(quotes.received(peers::QuoteServer::MinLineType).size(), 1u);
    EXPECT_EQ(minuteCodes(), std::vector<std::string>{"SH000001"});
    EXPECT_GT(openPoints(), 0);
    EXPECT_EQ(list->rectForRow({0, 0}).height(), 150);
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "freefrontpage/index-list"));
}

TEST_F(IndexListTest, AClosedHeaderOpensInPlaceOfTheOpenOneAndTheOpenOneIgnoresTaps) {
    make();
    int shanghaiPoints = openPoints();
    quotes.clearReceived();
    // Its minutes are held until the chart has been looked at.
    quotes.addFault(peers::Fault::on(peers::QuoteServer::MinLineType).split(3, -1));
    tapHeader(2);
    settle();
    EXPECT_EQ(list->openSectionIndex(), 2);
    EXPECT_EQ(list->numberOfRows(0), 0);
    EXPECT_EQ(list->numberOfRows(2), 1);
    // Until its minutes come the new index shows none, never the first one's.
    EXPECT_EQ(openPoints(), 0);
    quotes.resume();
    settle();
    app.runPending();
    EXPECT_EQ(quotes.received(peers::QuoteServer::MinLineType).size(), 1u);
    EXPECT_EQ(minuteCodes(), (std::vector<std::string>{"SH000001", "HKHSI"}));
    EXPECT_GT(openPoints(), 0);

    quotes.clearReceived();
    tapHeader(2);
    settle();
    EXPECT_EQ(list->openSectionIndex(), 2);
    EXPECT_TRUE(quotes.received(peers::QuoteServer::MinLineType).empty());

    // Back on the first index its minutes at hand show at once.
    tapHeader(0);
    EXPECT_EQ(openPoints(), shanghaiPoints);
}

TEST_F(IndexListTest, HeaderColoursAndChangeTexts) {
    struct Case {
        const char *name;
        int32_t open, last, close;
        base::Ref<gfx::Color> colour;
        const char *change;
    } cases[] = {{"rise", 1000, 1010, 1000, gfx::Color::red(), "+1.00%"},
                 {"fall", 1000, 990, 1000, gfx::Color::green(), "-1.00%"},
                 {"not open yet", 0, 1010, 1000, gfx::Color::white(), "+1.00%"},
                 {"unchanged", 1000, 1000, 1000, gfx::Color::white(), "0.00%"},
                 {"no value", 1000, 0, 1000, gfx::Color::white(), "--"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        StockQuoteInf record;
        record.code = "SH000001";
        record.name = "上证指数";
        record.decimal = 2;
        record.openprice = c.open;
        record.newprice = c.last;
        record.closeprice = c.close;
        SectionHeaderItem item = SectionHeaderItem::of(record);
        EXPECT_EQ(*item.newPriceClr, *c.colour);
        EXPECT_EQ(item.zfVal, c.change);
        EXPECT_EQ(*item.nameClr, *gfx::Color::white());
    }
}

TEST_F(IndexListTest, TheChartReportsTheOpenIndexWithTheRecordsInListOrder) {
    make();
    tapHeader(2);
    settle();
    tapChart();
    ASSERT_EQ(taps->taps.size(), 1u);
    const base::Dict &info = taps->taps[0];
    EXPECT_EQ(info.get("kStkCode").stringValue(), "HKHSI");
    EXPECT_EQ(info.get("kStkIndex").intValue(), 2);
    base::Value kept = info.get("kDataArray");
    const base::Array *records = kept.array();
    ASSERT_TRUE(records);
    ASSERT_EQ(records->size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ((*records)[i].objectAs<StockQuoteInf>()->code, IndexSideBannerListView::indexCodes()[i]);
}

TEST_F(IndexListTest, AReplyLackingAnIndexKeepsItsPlaceholderAndShiftsNothing) {
    quotes.withholdCode("SZ399001");
    make();
    ASSERT_EQ(list->numberOfSections(), 5);
    EXPECT_EQ(list->stockDataArray()[1]->dicData.name, "SZ399001");
    EXPECT_EQ(list->stockDataArray()[2]->dicData.name, "恒生指数");
    tapHeader(2);
    settle();
    EXPECT_EQ(minuteCodes(), (std::vector<std::string>{"SH000001", "HKHSI"}));
    tapChart();
    ASSERT_EQ(taps->taps.size(), 1u);
    EXPECT_EQ(taps->taps[0].get("kStkCode").stringValue(), "HKHSI");
}

TEST_F(IndexListTest, MinutesOfAnotherIndexChangeNothing) {
    make();
    tapHeader(4);
    settle();
    app.runPending();
    int dowPoints = openPoints();
    ASSERT_GT(dowPoints, 0);
    // Minutes of Shenzhen, asked under the list's own name, reach the list and are dropped.
    quotes.stepDay(5);
    list->minLineLib().reqMinLine(std::string(IndexSideBannerListView::ObserverName), "SZ399001");
    settle();
    app.runPending();
    EXPECT_EQ(openPoints(), dowPoints);
    EXPECT_EQ(list->openSectionIndex(), 4);
}

TEST(IndexListScroll, AnOpenedIndexShowsWhole) {
    struct Case {
        const char *name;
        float offset, height;
        int section;
        float shown, top;
    } cases[] = {
        {"room enough", 0, 394, 2, 0, 0},
        {"chart below the bottom", 0, 300, 4, 70, 70},
        {"header partly above the top", 100, 394, 2, 100, 88},
        {"header wholly above the top", 150, 394, 1, 150, 44},
        {"never above the top", 30, 394, 0, 30, 0},
        {"a low table: scrolled down, then back to the header", 0, 150, 3, 176, 132},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        IndexSideBannerListView::Scroll s =
            IndexSideBannerListView::scrollForOpening(c.offset, c.height, c.section);
        EXPECT_EQ(s.shown, c.shown);
        EXPECT_EQ(s.top, c.top);
    }
}

TEST_F(IndexListTest, AReturningConnectionIdlesTheMinutesAndActivationDropsThem) {
    make();
    MLineNetData &lib = list->minLineLib();
    ASSERT_EQ(lib.m_reqMinLineList().size(), 1u);
    lib.m_reqMinLineList()[0]->isIdle = false;
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"HQConnectStatus", true}});
    EXPECT_TRUE(lib.m_reqMinLineList()[0]->isIdle);
    base::NotificationCenter::shared().post(DataBase::CommonNotify, nullptr,
                                            base::Dict{{"AppActiveState", "AppDidBecomeActive"}});
    EXPECT_TRUE(lib.m_reqMinLineList().empty());
}

} // namespace
} // namespace freefront
