#include "DetailCentreFixture.h"

#include "DataBase/NetData/Level2BSItem.h"
#include "DataBase/NetData/NewExrightItem.h"

namespace detailcentre {
namespace {

// Keeps the request records the message layer hands over.
class RecordingCoordinator : public base::Object, public NetDataCenterDelegate {
public:
    base::Opt<void> MakeRequestGroup(const QuoteRequestRecord &record) override {
        records.push_back(record);
        return {};
    }
    std::vector<int> types() const {
        std::vector<int> out;
        for (const auto &record : records)
            out.push_back(record.reqType);
        return out;
    }
    std::vector<QuoteRequestRecord> records;
};

base::Ref<KLineItem> candle(int time, int price = 1000) {
    auto c = base::make<KLineItem>();
    c->time = time;
    c->openprice = c->highprice = c->lowprice = c->closeprice = price;
    c->vol = 100;
    c->backupPrices();
    return c;
}

StockFunc::ObjectList candles(std::initializer_list<int> times) {
    StockFunc::ObjectList list;
    for (int time : times)
        list.push_back(candle(time));
    return list;
}

// A centre on a message layer of its own whose requests are only recorded.
class DetailCentreParts : public ::testing::Test {
protected:
    void SetUp() override {
        base::FileManager::remove(base::Paths::join(base::Paths::documents(), "data"));
        center = NetDataCenter::create();
        center->theDelegate = coordinator;
        centre = base::make<StockDetailData>(center);
        centre->setDelegate(screen);
        centre->StartRequest(Code);
    }
    base::Ref<KLinePack> dayPack(StockFunc::ObjectList list, const std::string &code = Code) {
        auto pack = centre->klineLib()->getKLinePackWithCreate(code, 7);
        pack->rspArray = std::move(list);
        return pack;
    }

    static constexpr const char *Code = "SH600000";
    base::Ref<RecordingCoordinator> coordinator = base::make<RecordingCoordinator>();
    base::Ref<NetDataCenter> center;
    std::shared_ptr<Screen> screen = std::make_shared<Screen>();
    base::Ref<StockDetailData> centre;
};

TEST_F(DetailCentreParts, LevelTwoDaySeriesAskOnlyForWhatIsNotCovered) {
    struct Case {
        const char *name;
        bool level2;
        int ktype;
        int type;
        std::vector<int> seriesDates; // rows held, oldest first
        int displayFirst;
        int shownFirst;
        std::optional<int32_t> pos; // nothing: no request
    };
    const Case cases[] = {
        {"buy/sell points from the start", true, 7, 2933, {}, 20120105, 20120102, 0},
        {"series reaching back over what is shown",
         true,
         7,
         2918,
         {20120103},
         20120105,
         20120102,
         std::nullopt},
        {"series reaching back over the shown candles",
         true,
         7,
         2918,
         {20120103},
         20111201,
         20120104,
         std::nullopt},
        {"older days asked before the first held", true, 7, 2918, {20120103}, 20111201, 20111201, 20120103},
        {"without level-2 rights", false, 7, 2918, {}, 20120105, 20120102, std::nullopt},
        {"not a day chart", true, 8, 2918, {}, 20120105, 20120102, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        coordinator->records.clear();
        centre->StartRequest(Code);
        centre->setCanShowLevel2(c.level2);
        screen->ktype = c.ktype;
        auto days = dayPack(candles({c.shownFirst, 20120106}));
        auto item = centre->stockDetailLib()->getRequestPosItem(c.type);
        for (int date : c.seriesDates) {
            auto row = base::make<DD_Item>();
            row->date = date;
            item->rspArray.push_back(row);
        }
        centre->reqKLineLevel2TechIndex(c.type, c.displayFirst);
        if (!c.pos) {
            EXPECT_TRUE(coordinator->records.empty());
            continue;
        }
        ASSERT_EQ(coordinator->types(), std::vector<int>{c.type});
        EXPECT_EQ(item->pos, *c.pos);
        EXPECT_EQ(item->reqCount, 200);
        EXPECT_TRUE(item->isForwardReq);
        if (c.type == 2933)
            EXPECT_EQ(item->obj, days) << "the points attach to the day candles";
        centre->reqKLineLevel2TechIndex(c.type, c.displayFirst);
        EXPECT_EQ(coordinator->records.size(), 1u) << "busy";
    }
    centre->setCanShowLevel2(true);
    screen->ktype = 7;
    coordinator->records.clear();
    centre->reqKLineLevel2TechIndexOnTimer(2919);
    auto item = centre->stockDetailLib()->getRequestPosItem(2919);
    ASSERT_EQ(coordinator->types(), std::vector<int>{2919});
    EXPECT_EQ(item->pos, 0);
    EXPECT_EQ(item->reqCount, 1);
    EXPECT_FALSE(item->isForwardReq);
}

TEST_F(DetailCentreParts, PopUpSecurityAndOpenFundCandles) {
    centre->reqPopStockDetailView("SZ000002", true);
    centre->reqPopStockKLine("SZ000002");
    EXPECT_EQ(coordinator->types(), (std::vector<int>{2939, 2940, 2915, 2942, 2944}));
    EXPECT_EQ(coordinator->records[0].reqParams->object("rspInfo"), centre->popStockBasicInf());
    EXPECT_EQ(coordinator->records[0].reqParams->get("stockDetailReqNo").intValue(), 0);

    centre->StartRequest("OF110022");
    auto rows = centre->stockDetailLib()->getStockRspArray(2311);
    ASSERT_TRUE(rows);
    EXPECT_EQ(centre->getCurKList(7), rows);
    EXPECT_FALSE(centre->stockDetailLib()->getRequestPosItem(2970)) << "the stock's items went with it";
}

TEST_F(DetailCentreParts, CandleRepliesAreMarkedAndAdjusted) {
    auto events = centre->getExrightList();
    ASSERT_TRUE(events);
    auto bonus = base::make<NewExrightItem>();
    bonus->date = 20120605;
    bonus->give = 10000;
    events->push_back(bonus);

    auto pack = dayPack(candles({20120601, 20120604, 20120605, 20120606}));
    pack->isRealForwardReq = true;
    centre->calcExrightOnRspKLine(pack, 1, 20121231);
    EXPECT_EQ(pack->exrightPosOffset, 4);
    EXPECT_EQ(dynamic_cast<KLineItem &>(*pack->rspArray[2]).exrightFlag, StockFunc::ExrightForward);
    EXPECT_EQ(dynamic_cast<KLineItem &>(*pack->rspArray[1]).closeprice, 500);
    EXPECT_EQ(pack->dataExrightType, 1);

    // A refresh of the newest candle under a backward adjustment adjusts that candle only.
    pack->rspArray.push_back(candle(20120607));
    pack->isRealForwardReq = false;
    centre->calcExrightOnRspKLine(pack, 2, 19900101);
    EXPECT_EQ(dynamic_cast<KLineItem &>(*pack->rspArray[4]).closeprice, 2000);
    EXPECT_EQ(dynamic_cast<KLineItem &>(*pack->rspArray[3]).closeprice, 1000);
}

TEST_F(DetailCentreParts, ComparisonCandlesAlignByTimeAndByPeriod) {
    ASSERT_TRUE(centre->AddStocks_AddCode("SZ000002"));
    auto shown = dayPack(candles({20120102, 20120103, 20120104, 20120106, 20120109}));
    auto other = dayPack(candles({20120103, 20120104, 20120105, 20120109}), "SZ000002");
    auto partner = [&](size_t i) -> int {
        auto info = std::dynamic_pointer_cast<AddStockKLines>(
            dynamic_cast<KLineItem &>(*shown->rspArray[i]).addStockInfo);
        if (!info || !info->items.count("SZ000002"))
            return 0;
        return info->items["SZ000002"]->time;
    };
    centre->calcAddKLine("SZ000002", &other->rspArray, 7);
    EXPECT_EQ(partner(4), 20120109);
    EXPECT_EQ(partner(3), 0);
    EXPECT_EQ(partner(2), 20120104);
    EXPECT_EQ(partner(1), 20120103);
    EXPECT_EQ(partner(0), 0);
    base::Dict *entry = centre->AddStocks_GetDictByCode("SZ000002");
    EXPECT_EQ(entry->get("CurStockCalcPos-7").intValue(), 4);
    EXPECT_EQ(entry->get("AddStockCalcPos-7").intValue(), 4);

    // A new newest candle on both sides: only it is walked.
    shown->rspArray.push_back(candle(20120110));
    other->rspArray.push_back(candle(20120110));
    centre->AddStocks_CalcAddKLine("SZ000002", &other->rspArray, 7, false);
    EXPECT_EQ(partner(5), 20120110);

    // Week candles pair by period: a week that ended on a Thursday holiday still meets its Friday.
    screen->ktype = 8;
    auto weeks = centre->klineLib()->getKLinePackWithCreate(Code, 8);
    weeks->rspArray = candles({20121228, 20130104});
    auto otherWeeks = centre->klineLib()->getKLinePackWithCreate("SZ000002", 8);
    otherWeeks->rspArray = candles({20121227, 20130103});
    centre->AddStocks_CalcAllAddKLines(8, true);
    auto info = std::dynamic_pointer_cast<AddStockKLines>(
        dynamic_cast<KLineItem &>(*weeks->rspArray[1]).addStockInfo);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->items["SZ000002"]->time, 20130103);
}

TEST_F(DetailCentreParts, DayCandlesForWeekAndMonthCharts) {
    bool enough = true;
    EXPECT_FALSE(centre->checkOrReqCurDayKLine(7, enough));
    EXPECT_FALSE(enough);
    EXPECT_FALSE(centre->checkOrReqCurDayKLine(8, enough)) << "no server weeks to start from";

    auto weeks = centre->klineLib()->getKLinePackWithCreate(Code, 8);
    weeks->rspArray = candles({20121130, 20121207});
    EXPECT_TRUE(centre->checkOrReqCurDayKLine(8, enough));
    EXPECT_FALSE(enough);
    auto days = centre->klineLib()->getKLinePack(Code, 7);
    ASSERT_TRUE(days);
    EXPECT_EQ(days->reqForwardToDate, 20121126) << "the Monday of the first week";
    EXPECT_TRUE(days->notifyOnGetAllData);

    days->isIdle = true;
    days->rspArray = candles({20121203, 20121207});
    ASSERT_TRUE(centre->klineLib()->calcMultiDayKData(Code, 8, false));
    EXPECT_FALSE(centre->checkOrReqCurDayKLine(8, enough));
    EXPECT_TRUE(enough);
}

} // namespace
} // namespace detailcentre
