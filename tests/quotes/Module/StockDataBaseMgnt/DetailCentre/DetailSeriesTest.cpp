// The series of the detail screen end to end: what the loopback server made is what the records
// of the data centre hold once the replies are parsed.
#include "DetailCentreFixture.h"

#include "DataBase/NetData/IndexGXItem.h"
#include "DataBase/NetData/OpenFundStockItem.h"
#include "DataBase/NetData/SeriesNumber.h"
#include "DataBase/NetData/StkMinLineItem.h"
#include "DataBase/NetData/StockBoardInf.h"

#include <sstream>

namespace detailcentre {
namespace {

using Rows = std::vector<std::string>;
using Series = peers::MarketSeries;

template <class... Fields> std::string row(const Fields &...fields) {
    std::ostringstream out;
    ((out << fields << '|'), ...);
    return out.str();
}

// The rows of a reply list, each as `render` writes its record.
template <class Item, class Render>
Rows rowsOf(const std::vector<base::Ref<base::Object>> *list, Render &&render) {
    Rows rows;
    if (!list)
        return {"no list"};
    for (const auto &object : *list) {
        auto item = std::dynamic_pointer_cast<Item>(object);
        rows.push_back(item ? render(*item) : "another record");
    }
    return rows;
}

template <class Made, class Render> Rows render(const std::vector<Made> &made, Render &&write) {
    Rows rows;
    for (size_t i = 0; i < made.size(); ++i)
        rows.push_back(write(made[i], i));
    return rows;
}

template <class T> std::vector<T> slice(const std::vector<T> &all, size_t first, size_t end) {
    end = std::min(end, all.size());
    return {all.begin() + std::ptrdiff_t(std::min(first, end)), all.begin() + std::ptrdiff_t(end)};
}

std::string tickRow(const StkStrikeDetailItem &d) {
    return row(d.pos, d.time, d.dealPrice, d.dealVol, d.isOuterPan);
}
std::string madeTick(const Series::Deal &d, size_t pos) {
    return row(pos, d.time, d.price, d.volume, d.outer);
}
std::string stockOrderRow(const StockDDDetailItem &o) {
    return row(int(o.type), o.time, o.vol);
}
std::string marketOrderRow(const IndexDDDetailItem &o) {
    return row(o.code, o.name, int(o.type), o.time, o.vol);
}
std::string madeOrder(const Series::BigOrder &o) {
    return row(o.code, o.name, o.type, o.time, o.volume);
}

// Big orders of a stock newest first, as the client keeps them: kinds it knows only.
Rows madeStockOrders(const std::vector<Series::BigOrder> &orders) {
    Rows rows;
    for (const Series::BigOrder &o : orders)
        if (o.type != Series::UnknownOrderKind)
            rows.insert(rows.begin(), row(o.type, o.time, o.volume));
    return rows;
}

class DetailSeriesTest : public DetailCentreTest {
protected:
    DetailSeriesTest() {
        readyWithoutAccount();
        series = std::make_unique<Series>(quotes.series());
    }
    // Opens each code once: the index series are kept per market by the one message layer.
    StockDetailData &centreOf(const std::string &code) {
        auto &centre = opened[code];
        if (!centre) {
            centre = open(code);
            centre->reqData(true);
            settle();
        }
        return *centre;
    }
    const peers::Security &security(const std::string &code) const {
        const peers::Security *found = series->find(code);
        EXPECT_TRUE(found) << code;
        return *found;
    }
    IndexNetData &indexLib() { return *db->IO_NetDataCenter()->IO_IndexLib; }

    std::unique_ptr<Series> series;
    std::map<std::string, base::Ref<StockDetailData>> opened;
};

TEST_F(DetailSeriesTest, EachReplyReadsBackAsTheServerMadeIt) {
    struct Case {
        const char *name;
        const char *code;
        std::function<Rows(StockDetailData &)> parsed;
        std::function<Rows(const peers::Security &)> made;
    };
    auto list = [](int type) {
        return [type](StockDetailData &centre) { return centre.stockDetailLib()->getStockRspArray(type); };
    };
    const Case cases[] = {
        {"fund values", "OF110022",
         [&](StockDetailData &c) {
             return rowsOf<KLineItem>(list(2311)(c), [](const KLineItem &k) {
                 return row(k.time, k.openprice, k.highprice, k.lowprice, k.closeprice, k.holdVol);
             });
         },
         [&](const peers::Security &s) {
             return render(series->fundValues(s), [](const Series::FundValue &v, size_t) {
                 return row(v.date, v.value, v.value, v.value, v.value, v.second);
             });
         }},
        {"money fund income and yield", "OF000009",
         [&](StockDetailData &c) {
             return rowsOf<KLineItem>(
                 list(2311)(c), [](const KLineItem &k) { return row(k.time, k.closeprice, k.holdVol); });
         },
         [&](const peers::Security &s) {
             return render(series->fundValues(s),
                           [](const Series::FundValue &v, size_t) { return row(v.date, v.value, v.second); });
         }},
        {"fund holdings", "OF110022",
         [&](StockDetailData &c) {
             return rowsOf<OpenFundStockItem>(list(2312)(c), [](const OpenFundStockItem &h) {
                 return row(h.code, h.name, h.priorHoldVol, h.holdVol, h.inFundRate, h.inCapitalRate);
             });
         },
         [&](const peers::Security &s) {
             return render(series->fundHoldings(s), [](const Series::FundHolding &h, size_t) {
                 return row(h.code, h.name, h.priorHoldVol, h.holdVol, h.inFundRate, h.inCapitalRate);
             });
         }},
        {"fund shares", "OF000009",
         [&](StockDetailData &c) {
             return rowsOf<OpenFundSharesItem>(list(2313)(c), [](const OpenFundSharesItem &f) {
                 return row(f.date, f.beginningShares, f.buyShares, f.sellShares);
             });
         },
         [&](const peers::Security &s) {
             return render(series->fundShares(s), [](const Series::FundShares &f, size_t) {
                 return row(f.date, f.beginning, f.bought, f.sold);
             });
         }},
        {"fund holders", "OF110022",
         [&](StockDetailData &c) {
             return rowsOf<OpenFundOwnerItem>(list(2314)(c), [](const OpenFundOwnerItem &o) {
                 return row(o.date, o.ownerCount, o.ownerAvgShares, o.institutionShares, o.individualShares);
             });
         },
         [&](const peers::Security &s) {
             return render(series->fundOwners(s), [](const Series::FundOwners &o, size_t) {
                 return row(o.date, o.count, o.averageShares, o.institutions, o.individuals);
             });
         }},
        {"index member counts", "SH000001",
         [&](StockDetailData &c) {
             const StockBasicInf &inf = *c.stockDetailLib()->IO_StockBasicInf();
             return Rows{row(inf.riseCount, inf.planeCount, inf.fallCount, inf.avePrice,
                             inf.weightingAvePrice, inf.circulatedMarketValue, inf.totalMarketValue)};
         },
         [&](const peers::Security &s) {
             auto n = series->riseFallCount(s);
             return n ? Rows{row(n->rise, n->plane, n->fall, n->avePrice, n->weightingAvePrice,
                                 n->circulatedValue, n->totalValue)}
                      : Rows{};
         }},
        {"index rise/fall line", "SH000001",
         [&](StockDetailData &) {
             return rowsOf<SeriesNumber>(indexLib().getIndexRiseFallLineRspArray("SH000001"),
                                         [](const SeriesNumber &v) { return row(v.value); });
         },
         [&](const peers::Security &s) {
             return render(series->riseFallLine(s), [](int8_t v, size_t) { return row(int(v)); });
         }},
        {"contributions, the best then the worst", "SH000001",
         [&](StockDetailData &) {
             return rowsOf<IndexGXItem>(indexLib().getIndexGXRspArray("SH000001"), [](const IndexGXItem &g) {
                 return row(g.code, g.name, g.digit, g.risefall);
             });
         },
         [&](const peers::Security &) {
             auto best = slice(series->contributions("SH", 1), 0, IndexNetData::GXReqCount);
             auto worst = slice(series->contributions("SH", 0), 0, IndexNetData::GXReqCount);
             best.insert(best.end(), worst.rbegin(), worst.rend());
             return render(best, [](const Series::Contribution &g, size_t) {
                 return row(g.code, g.name, g.points, g.rise);
             });
         }},
        {"market big orders", "SH000001",
         [&](StockDetailData &) {
             return rowsOf<IndexDDDetailItem>(indexLib().getIndexBigInfoRspArray("SH000001"), marketOrderRow);
         },
         [&](const peers::Security &) {
             return render(slice(series->marketBigOrders("SH"), 0, 30),
                           [](const Series::BigOrder &o, size_t) { return madeOrder(o); });
         }},
        {"the latest ticks", "SH600000",
         [&](StockDetailData &c) { return rowsOf<StkStrikeDetailItem>(list(2970)(c), tickRow); },
         [&](const peers::Security &s) {
             auto ticks = series->ticks(s);
             Rows rows = render(ticks, madeTick);
             return slice(rows, rows.size() - 30, rows.size());
         }},
        {"big orders of a stock and the day's ratios", "SH600000",
         [&](StockDetailData &c) {
             const StockBasicInf &inf = *c.stockDetailLib()->IO_StockBasicInf();
             Rows rows{row(inf.buyZDRate, inf.buyDDRate, inf.buyTDDRate, inf.sellZDRate, inf.sellDDRate,
                           inf.sellTDDRate, inf.organBuyDDVol, inf.organSellDDVol, inf.buyDDVol,
                           inf.sellDDVol)};
             Rows orders = rowsOf<StockDDDetailItem>(list(2976)(c), stockOrderRow);
             rows.insert(rows.end(), orders.begin(), orders.end());
             return rows;
         },
         [&](const peers::Security &s) {
             Series::StockBigOrders day = series->stockBigOrders(s);
             const auto &r = day.ratios;
             Rows rows{row(r[0], r[1], r[2], r[3], r[4], r[5], r[6], r[7], r[8], r[9])};
             Rows orders = madeStockOrders(slice(day.orders, 0, 30));
             rows.insert(rows.end(), orders.begin(), orders.end());
             return rows;
         }},
        {"boards of a bank", "SH600000",
         [&](StockDetailData &c) {
             return rowsOf<StockBoardInf>(list(2969)(c), [](const StockBoardInf &b) {
                 return row(b.code, b.name, b.decimal, b.lastPrice, b.range, b.boardID);
             });
         },
         [&](const peers::Security &s) {
             return render(series->stockBoards(s), [](const Series::BoardRow &b, size_t) {
                 return row(b.board.fullCode(), b.board.name, b.board.decimal, b.last, b.range, b.id);
             });
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Rows made = c.made(security(c.code));
        ASSERT_FALSE(made.empty());
        EXPECT_EQ(c.parsed(centreOf(c.code)), made);
    }
}

TEST_F(DetailSeriesTest, MadeSeriesHoldTogether) {
    const peers::Security &stock = security("SH600000");
    peers::Quote quote = series->market().quote(stock);
    auto ticks = series->ticks(stock);
    auto deals = series->deals(stock);
    ASSERT_EQ(ticks.size(), deals.size() * Series::TicksPerMinute);
    EXPECT_EQ(ticks.back().price, quote.last) << "the day ends at its last price";
    EXPECT_EQ(deals.back().price, quote.last);
    int64_t tickVolume = 0, dealVolume = 0;
    for (const auto &t : ticks)
        tickVolume += t.volume;
    for (const auto &d : deals)
        dealVolume += d.volume;
    EXPECT_EQ(tickVolume, dealVolume);

    auto count = series->riseFallCount(security("SH000001"));
    ASSERT_TRUE(count);
    EXPECT_EQ(count->rise + count->plane + count->fall, int(series->members("SH").size()));
    EXPECT_LE(count->circulatedValue, count->totalValue);

    // Each quarter starts with the shares the one before ended with.
    auto shares = series->fundShares(security("OF110022"));
    for (size_t i = 0; i + 1 < shares.size(); ++i)
        EXPECT_EQ(shares[i].beginning, shares[i + 1].beginning + shares[i + 1].bought - shares[i + 1].sold);
    for (const auto &owners : series->fundOwners(security("OF110022")))
        EXPECT_GT(owners.institutions + owners.individuals, 0);

    auto boards = series->stockBoards(stock);
    ASSERT_EQ(boards.size(), 2u);
    EXPECT_EQ(boards[0].id, peers::QuoteServer::BoardID) << "a bank is on the bank board";
    EXPECT_NE(boards[0].id, boards[1].id);
}

TEST_F(DetailSeriesTest, LaterRequestsContinueWhereTheLastReplyEnded) {
    struct Case {
        const char *name;
        int repliesBefore; // deals are asked for only here; every other list has had its first reply
        std::function<void()> askAgain;
        std::function<Rows()> parsed;
        std::function<Rows(int replies)> made;
        // Where the next request starts; none for the rise/fall line, whose pack is the index store's.
        std::function<int32_t()> position;
        std::function<int32_t(int replies)> madePosition;
    };
    StockDetailData &stock = centreOf("SH600000");
    StockDetailData &index = centreOf("SH000001");
    auto lib = stock.stockDetailLib();
    const peers::Security &code = security("SH600000");
    const auto deals = series->deals(code);
    const auto ticks = series->ticks(code);
    const auto stockOrders = series->stockBigOrders(code).orders;
    const auto marketOrders = series->marketBigOrders("SH");
    const auto line = series->riseFallLine(security("SH000001"));
    const std::string requester = index.observerName();
    const Case cases[] = {
        {"deals page on, keeping the newest 100", 0, [&] { lib->reqStockData(2971); },
         [&] { return rowsOf<StkStrikeDetailItem>(lib->getStockRspArray(2971), tickRow); },
         [&](int replies) {
             size_t end = size_t(30 * replies);
             Rows rows = render(deals, madeTick);
             return slice(rows, end > 100 ? end - 100 : 0, end);
         },
         [&] { return lib->getRequestPosItem(2971)->pos; }, [](int replies) { return 30 * replies; }},
        {"ticks at the end get nothing new", 1, [&] { lib->reqStockData(2970); },
         [&] { return rowsOf<StkStrikeDetailItem>(lib->getStockRspArray(2970), tickRow); },
         [&](int) {
             Rows rows = render(ticks, madeTick);
             return slice(rows, rows.size() - 30, rows.size());
         },
         [&] { return lib->getRequestPosItem(2970)->pos; }, [&](int) { return int32_t(ticks.size()); }},
        {"big orders of a stock, newest first", 1, [&] { lib->reqStockData(2976); },
         [&] { return rowsOf<StockDDDetailItem>(lib->getStockRspArray(2976), stockOrderRow); },
         [&](int replies) { return madeStockOrders(slice(stockOrders, 0, size_t(30 * replies))); },
         [&] { return lib->getRequestPosItem(2976)->pos; },
         [&](int replies) { return int32_t(std::min<size_t>(size_t(30 * replies), stockOrders.size())); }},
        {"big orders of the market", 1, [&] { indexLib().reqIndexBigInfo(requester, "SH000001"); },
         [&] {
             return rowsOf<IndexDDDetailItem>(indexLib().getIndexBigInfoRspArray("SH000001"), marketOrderRow);
         },
         [&](int replies) {
             return render(slice(marketOrders, 0, size_t(30 * replies)),
                           [](const Series::BigOrder &o, size_t) { return madeOrder(o); });
         },
         [&] { return indexLib().bigInfoItem("SH000001")->pos; },
         [&](int replies) { return int32_t(std::min<size_t>(size_t(30 * replies), marketOrders.size())); }},
        {"the rise/fall line sends its last point again", 1,
         [&] { indexLib().reqIndexRiseFallLine(requester, "SH000001"); },
         [&] {
             return rowsOf<SeriesNumber>(indexLib().getIndexRiseFallLineRspArray("SH000001"),
                                         [](const SeriesNumber &v) { return row(v.value); });
         },
         [&](int) { return render(line, [](int8_t v, size_t) { return row(int(v)); }); }, nullptr, nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int replies = c.repliesBefore;
        for (int round = 0; round < 4; ++round) {
            c.askAgain();
            settle();
            ++replies;
            EXPECT_EQ(c.parsed(), c.made(replies)) << "after reply " << replies;
            if (c.position)
                EXPECT_EQ(c.position(), c.madePosition(replies));
        }
    }
}

} // namespace
} // namespace detailcentre
