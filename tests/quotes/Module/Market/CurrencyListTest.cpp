#include "MarketFixture.h"

#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/Market/CurrModelView.h"

#include "Common/StylePool.h"
#include "Common/TimeFunc.h"

namespace market {

namespace {

class CurrencyListTest : public MarketScreenTest {
protected:
    void SetUp() override {
        show();
        forgetRequests();
        base::Weak<base::Object> weak = tagObserver;
        base::NotificationCenter::shared().addObserver(
            weak, CurrModelView::ObserverName, [this](const base::Notification &n) {
                auto params = n.userInfo.get("ReqParams").objectAs<ReqParams>();
                if (params && params->has("tag"))
                    replyTags.push_back(int(params->get("tag").intValue()));
            });
    }
    void TearDown() override { base::NotificationCenter::shared().removeObserver(tagObserver.get()); }
    void chooseTab() {
        tapView(*screen->switchTabBarView()->buttonAt(MarketViewController::CurrTab));
        app.runPending();
    }
    void open() {
        chooseTab();
        settle();
        app.runPending();
        table().layoutIfNeeded();
    }
    CurrModelView &currencies() { return *screen->currModelView(); }
    ui::TableView &table() { return *currencies().curTableView(); }
    base::Ref<CurrTileCell> tile() {
        return std::dynamic_pointer_cast<CurrTileCell>(currencies().cellForRow(table(), {0, 0}));
    }
    base::Ref<CurrModelCell> listRow(int row) {
        return std::dynamic_pointer_cast<CurrModelCell>(currencies().cellForRow(table(), {1, row}));
    }
    StockDetailViewController *tapAndOpen(ui::IndexPath path) {
        table().scrollToRow(path, ui::ScrollPosition::None, false);
        table().layoutIfNeeded();
        tapView(*table().cellForRow(path));
        app.advance(1);
        return dynamic_cast<StockDetailViewController *>(nav->top());
    }
    int visibleListRows() {
        int count = 0;
        for (ui::IndexPath path : table().indexPathsForVisibleRows())
            count += path.section == CurrModelView::ListSection;
        return count;
    }

    base::Ref<base::Object> tagObserver = base::make<base::Object>();
    std::vector<int> replyTags;
};

TEST_F(CurrencyListTest, BeforeAnyReplyTheTileWaitsUnderItsNameAndTheButtonReadsGlobalForex) {
    quotes.addFault(peers::Fault::on(peers::QuoteServer::QuoteListType, 2).delayed(-1));
    chooseTab();
    table().layoutIfNeeded();
    EXPECT_EQ(currencies().rowCount(), 0);
    base::Ref<CurrTileCell> waiting = tile();
    EXPECT_EQ(waiting->StockNameLabel().text(), "美元指数");
    EXPECT_EQ(waiting->StockCodeLabel().text(), "UDI");
    EXPECT_EQ(waiting->LastLabel().text(), "");
    EXPECT_EQ(waiting->miniImageView()->image(), StylePool::Instance().imgMiniWaiting);
    EXPECT_EQ(currencies().leftButton().titleForState(ui::Normal), "全球外汇");
    quotes.resume();
}

TEST_F(CurrencyListTest, ClassAndDollarIndexAreAskedTogetherAndAnsweredUnderTheirTags) {
    open();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{CurrModelView::ClassID, 0, 0, 0, 30}}));
    EXPECT_EQ(codeRequests(), (std::vector<std::vector<std::string>>{{"IXUDI"}}));
    std::vector<std::string> minutes = minuteRequests();
    EXPECT_NE(std::find(minutes.begin(), minutes.end(), "IXUDI"), minutes.end());
    EXPECT_NE(std::find(replyTags.begin(), replyTags.end(), 701), replyTags.end());
    EXPECT_NE(std::find(replyTags.begin(), replyTags.end(), StockQuotesData::UDITag), replyTags.end());
    ASSERT_TRUE(currencies().udiBasicInf());
    base::Ref<CurrTileCell> shown = tile();
    EXPECT_EQ(shown->LastLabel().text(), currencies().udiBasicInf()->FormatValue(4));
    EXPECT_EQ(shown->valueLabelName(2).text(), "振幅");
    EXPECT_NE(shown->miniImageView()->image(), StylePool::Instance().imgMiniWaiting);
    ASSERT_GT(currencies().rowCount(), 0);
    base::Ref<CurrModelCell> first = listRow(0);
    EXPECT_EQ(first->StockCodeLabel().text(), currencies().recordAt(0)->getDisplayCode());
    EXPECT_EQ(first->valueLabel(0).text(), currencies().recordAt(0)->FormatValue(503));
    EXPECT_TRUE(first->SNLabel().isHidden());
}

// The tile's tag, arrow and latest price follow the sign of the change; an untraded record is white.
TEST_F(CurrencyListTest, TheTileColoursByTheChange) {
    open();
    const auto &style = StylePool::Instance();
    struct Case {
        int32_t newprice, closeprice;
        const char *tag, *arrow;
        base::Ref<gfx::Color> colour;
    } cases[] = {
        {8100, 8012, "red_tag.png", "cell_up.png", style.getPriceColor(1)},
        {7900, 8012, "green_tag.png", "cell_down.png", style.getPriceColor(-1)},
        {8012, 8012, "white_tag.png", nullptr, style.getPriceColor(0)},
        {0, 8012, "white_tag.png", nullptr, style.getPriceColor(0)},
    };
    for (const Case &c : cases) {
        auto udi = base::make<StockQuoteInf>();
        udi->code = StockQuotesData::UDICode;
        udi->decimal = 2;
        udi->newprice = c.newprice;
        udi->closeprice = c.closeprice;
        currencies().UpdateUDI(udi);
        base::Ref<CurrTileCell> shown = tile();
        EXPECT_EQ(shown->upDownTagImageView().image(), gfx::Image::named(c.tag)) << c.newprice;
        EXPECT_EQ(shown->upDownArrowImageView().image(), c.arrow ? gfx::Image::named(c.arrow) : nullptr)
            << c.newprice;
        EXPECT_EQ(*shown->LastLabel().textColor(), *c.colour) << c.newprice;
    }
    int untraded = currencies().rowCount() - 1;
    ASSERT_EQ(currencies().recordAt(untraded)->newprice, 0);
    EXPECT_EQ(listRow(untraded)->upDownTagImageView().image(), gfx::Image::named("white_tag.png"));
}

TEST_F(CurrencyListTest, TheTileOpensTheDollarIndexAndARowItsPairWithTheListRows) {
    open();
    StockDetailViewController *detail = tapAndOpen({0, 0});
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), "IXUDI");
    EXPECT_EQ(detail->currentStocksIndex(), 0);
    nav->pop(false);
    app.advance(1);
    detail = tapAndOpen({1, 2});
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->stockCode(), currencies().recordAt(2)->code);
    EXPECT_EQ(detail->currentStocksIndex(), 2);
    EXPECT_EQ(int(detail->checkStocksArray().size()), currencies().rowCount());
}

TEST_F(CurrencyListTest, ARowBeyondTheRowsHeldIsEmptyAndOpensNothing) {
    open();
    int beyond = currencies().rowCount() + 3;
    base::Ref<CurrModelCell> row = listRow(beyond);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->StockNameLabel().text(), "");
    ui::ViewController *top = nav->top();
    currencies().didSelectRow({1, beyond});
    app.advance(1);
    EXPECT_EQ(nav->top(), top);
}

TEST_F(CurrencyListTest, HeaderTapsChangeNeitherTheOrderNorTheHeader) {
    open();
    forgetRequests();
    for (int id = 0; id < DefaultColumn::HeaderCount; ++id) {
        table().layoutIfNeeded();
        DefaultHeaderView &cell = *currencies().defaultColumn().headerAt(id);
        EXPECT_EQ(cell.fieldNameLabel().text().empty(), false) << id;
        gfx::Rect r = cell.convert(cell.bounds(), nullptr);
        app.tap({r.x() + 30, r.y() + 15});
        app.tap({r.x() + r.width() - 5, r.y() + 15});
        settle();
        EXPECT_EQ(currencies().defaultColumn().currentSelHeader, -1) << id;
        EXPECT_TRUE(cell.updownTagImage().isHidden()) << id;
        EXPECT_EQ(cell.fieldTablePopoverController(), nullptr) << id;
    }
    EXPECT_TRUE(listRequests().empty());
}

TEST_F(CurrencyListTest, ANewMarketRelistsFromTheTopInOrderZeroAndKeepsTheTile) {
    open();
    std::string tileLatest = tile()->LastLabel().text();
    forgetRequests();
    currencies().ReturnSelectedMarket(base::Dict{{"MENU_NAME", "人民币汇率"}, {"CLASS_ID", 1041}});
    EXPECT_EQ(currencies().leftButton().titleForState(ui::Normal), "人民币汇率");
    EXPECT_EQ(tile()->LastLabel().text(), tileLatest);
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{1041, 0, 0, 0, 30}}));
    ASSERT_GT(currencies().rowCount(), 0);
    for (int r = 0; r < currencies().rowCount(); ++r)
        EXPECT_TRUE(currencies().recordAt(r)->code.ends_with("CNY")) << currencies().recordAt(r)->code;
}

// The refresh asks for the visible list rows only, and for the dollar index while the tile shows.
TEST_F(CurrencyListTest, TheTickRefreshesTheVisibleListRowsAndTheTileWhileItShows) {
    open();
    int shownRows = visibleListRows();
    ASSERT_GT(shownRows, 0);
    forgetRequests();
    EXPECT_TRUE(currencies().NotifyTimeEvent());
    settle();
    EXPECT_EQ(listRequests(), (std::vector<ListRequest>{{CurrModelView::ClassID, 0, 0, 0, shownRows}}));
    EXPECT_EQ(codeRequests(), (std::vector<std::vector<std::string>>{{"IXUDI"}}));

    table().setContentOffset({0, CurrModelView::TileRowHeight + 10});
    table().layoutIfNeeded();
    forgetRequests();
    EXPECT_TRUE(currencies().NotifyTimeEvent());
    settle();
    EXPECT_TRUE(codeRequests().empty());
    std::vector<ListRequest> sent = listRequests();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].start, 0);
}

TEST_F(CurrencyListTest, MinutesBeforeTheFirstDollarIndexQuoteLeaveTheTileWaiting) {
    auto list = base::make<CurrModelView>(MarketViewController::ListFrame);
    app.window().addSubview(list);
    list->reLayout(MarketViewController::ListFrame);
    list->curTableView()->layoutIfNeeded();
    auto minutes = [](int n) {
        MinutePoints points;
        for (int i = 0; i < n; ++i) {
            auto point = base::make<StkMinLineItem>();
            point->time = 930 + i;
            point->price = 8000 + i;
            points.push_back(point);
        }
        return points;
    };
    auto shownTile = [&] {
        return std::dynamic_pointer_cast<CurrTileCell>(list->curTableView()->cellForRow({0, 0}));
    };
    list->UpdateUDIMinLine(StockQuotesData::UDICode, minutes(10));
    EXPECT_EQ(shownTile()->miniImageView()->image(), StylePool::Instance().imgMiniWaiting);

    auto udi = base::make<StockQuoteInf>();
    udi->code = StockQuotesData::UDICode;
    udi->decimal = 2;
    udi->newprice = 8050;
    udi->closeprice = 8012;
    udi->updateTick = TimeFunc::getCurTick();
    list->UpdateUDI(udi);
    list->UpdateUDIMinLine(StockQuotesData::UDICode, minutes(10));
    list->curTableView()->layoutIfNeeded();
    EXPECT_NE(shownTile()->miniImageView()->image(), StylePool::Instance().imgMiniWaiting);
    list->removeFromSuperview();
}

} // namespace

} // namespace market
