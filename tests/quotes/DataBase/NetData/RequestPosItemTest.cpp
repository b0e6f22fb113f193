#include "DataBase/NetData/RequestPosItem.h"
#include "DataBase/NetData/CustomQuotesList.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/StrikeDetailPageDict.h"

#include <gtest/gtest.h>

namespace {

TEST(RequestPosItem, PacksComeBackOnlyAsTheirOwnClass) {
    base::Ref<base::Object> kline = base::make<KLinePack>("SH600000", 7);
    EXPECT_EQ(RequestPosItem::getPackFromDict(kline), kline);
    EXPECT_EQ(KLinePack::getKLinePackFromDict(kline), kline);
    EXPECT_FALSE(MinLinePack::getMinLinePackFromDict(kline));
    EXPECT_FALSE(IndexGXPack::getIndexGXPackFromDict(kline));
    EXPECT_FALSE(RequestPosItem::getPackFromDict(nullptr));
    EXPECT_FALSE(RequestPosItem::getPackFromDict(base::make<KLineItem>()));
}

TEST(RequestPosItem, NewPacksAreIdleAndPageBack) {
    KLinePack pack("SH600000", 7);
    EXPECT_TRUE(pack.isIdle);
    EXPECT_EQ(pack.pos, -1);
    EXPECT_EQ(pack.savedPos, -1);
    EXPECT_TRUE(pack.isForwardReq);
    EXPECT_EQ(pack.reqMode, 1);
    EXPECT_EQ(pack.ksize, 0.0f);
}

TEST(RequestPosItem, LookUpsByCodeRefuseInvalidCodes) {
    auto day = base::make<KLinePack>("SH", 7);
    auto week = base::make<KLinePack>("SH600000", 8);
    auto day2 = base::make<KLinePack>("SH600000", 7);
    std::vector<base::Ref<KLinePack>> klines = {day, week, day2};
    EXPECT_FALSE(KLinePack::getKLinePack(klines, "SH", 7));
    EXPECT_EQ(KLinePack::getKLinePack(klines, "SH600000", 7), day2);
    EXPECT_FALSE(KLinePack::getKLinePack(klines, "SH600000", 9));

    auto sh = base::make<MinLinePack>("SH");
    auto stock = base::make<MinLinePack>("SZ000001");
    std::vector<base::Ref<MinLinePack>> mins = {sh, stock};
    EXPECT_FALSE(MinLinePack::getMinLinePack(mins, "SH"));
    EXPECT_EQ(MinLinePack::getMinLinePack(mins, "SZ000001"), stock);
    EXPECT_EQ(RequestPosItem::getItem(mins, "SH"), sh);

    std::vector<base::Ref<IndexGXPack>> markets = {base::make<IndexGXPack>("SZ"),
                                                   base::make<IndexGXPack>("SH")};
    EXPECT_EQ(IndexGXPack::getIndexGXPack(markets, "SH000001"), markets[1]);
    EXPECT_FALSE(IndexGXPack::getIndexGXPack(markets, "S"));
    EXPECT_FALSE(IndexGXPack::getIndexGXPack(markets, "HK0001"));

    for (const auto &pack : mins)
        pack->isIdle = false;
    RequestPosItem::setAllIdle(mins);
    EXPECT_TRUE(sh->isIdle && stock->isIdle);
}

// A pack holding candles from `firstTime` on (none for 0).
KLinePack holding(int32_t firstTime) {
    KLinePack pack("SH600000", 7);
    if (firstTime > 0) {
        auto candle = base::make<KLineItem>();
        candle->time = firstTime;
        pack.rspArray.push_back(candle);
    }
    return pack;
}

TEST(KLinePack, CanReadLocalData) {
    struct Case {
        const char *name;
        int32_t firstHeld;
        bool forward;
        int32_t existLocalData, localFirstTime;
        bool can;
    };
    const std::vector<Case> cases = {
        {"nothing held", 0, false, 2, 0, true},
        {"not paging back", 20120305, false, 0, 0, false},
        {"cache not tried", 20120305, true, 0, 0, true},
        {"cache unreadable", 20120305, true, 2, 20120101, false},
        {"cache read but empty", 20120305, true, 1, 0, false},
        {"cache starts later", 20120305, true, 1, 20120306, false},
        {"cache starts at the same candle", 20120305, true, 1, 20120305, false},
        {"cache starts earlier", 20120305, true, 1, 20120101, true},
    };
    for (const auto &c : cases) {
        KLinePack pack = holding(c.firstHeld);
        pack.existLocalData = c.existLocalData;
        pack.localFirstTime = c.localFirstTime;
        EXPECT_EQ(pack.canReadLocalData(c.forward), c.can) << c.name;
    }
}

TEST(KLinePack, CanProcessRsp) {
    struct Case {
        const char *name;
        int32_t firstHeld;
        bool gotFirst;
        int32_t reqMode;
        bool notify;
        int32_t forwardCount, forwardToDate;
        bool can;
    };
    const std::vector<Case> cases = {
        {"ordinary request", 20120305, false, 1, true, 5, 20120101, true},
        {"batch without waiting", 20120305, false, 2, false, 5, 20120101, true},
        {"oldest candle held", 20120305, true, 2, true, 5, 20120101, true},
        {"candles still missing", 20120305, false, 2, true, 5, 0, false},
        {"no target date", 20120305, false, 2, true, 0, 0, true},
        {"nothing held", 0, false, 2, true, 0, 20120101, true},
        {"target not reached", 20120305, false, 2, true, 0, 20120101, false},
        {"target reached", 20120101, false, 2, true, 0, 20120101, true},
        {"target passed", 20111230, false, 2, true, 0, 20120101, true},
    };
    for (const auto &c : cases) {
        KLinePack pack = holding(c.firstHeld);
        pack.isGetFirstKLine = c.gotFirst;
        pack.reqMode = c.reqMode;
        pack.notifyOnGetAllData = c.notify;
        pack.reqForwardCount = c.forwardCount;
        pack.reqForwardToDate = c.forwardToDate;
        EXPECT_EQ(pack.canProcessRsp(), c.can) << c.name;
    }
}

// A requester that keeps its pack, as the data requesters do.
struct Requester : base::Object {
    base::Ref<MinLinePack> pack;
};

TEST(PackBase, DoesNotKeepItsRequesterAlive) {
    auto requester = base::make<Requester>();
    requester->pack = base::make<MinLinePack>("SH600000");
    requester->pack->setDelegate(requester);
    base::Ref<MinLinePack> queued = requester->pack; // as a queued request holds it
    EXPECT_EQ(queued->delegateObject(), requester);
    EXPECT_FALSE(queued->isDelegateGone());

    base::Weak<Requester> watch = requester;
    requester.reset();
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(queued->isDelegateGone());
    EXPECT_FALSE(queued->delegateObject());
}

TEST(PackBase, NotificationNameRequesterIsNeverGone) {
    PackBase pack("SH600000");
    EXPECT_TRUE(pack.isDelegateGone());
    pack.setDelegate(std::string("StockDetailCenter-0"));
    EXPECT_FALSE(pack.isDelegateGone());
    EXPECT_EQ(pack.delegateName(), "StockDetailCenter-0");
    EXPECT_FALSE(pack.delegateObject());
}

TEST(RequestPosDict, InitItemResetsTheReplyAndKeepsTheRequestSettings) {
    RequestPosDict dict;
    auto item = dict.initItem(3, "SH600000", 11);
    EXPECT_EQ(dict.item(3), item);
    EXPECT_FALSE(dict.item(4));

    item->isForwardReq = false;
    item->reqCount = 200;
    item->tag = 9;
    item->obj = base::make<KLineItem>();
    item->updateTick = 5.5;
    item->isRsp = true;
    item->rspArray.push_back(base::make<KLineItem>());
    item->rspDict.set("buy", 1);
    item->pos = 40;
    item->savedPos = 41;
    item->isIdle = false;

    EXPECT_EQ(dict.initItem(3, "SZ000001", 12), item);
    EXPECT_EQ(item->code, "SZ000001");
    EXPECT_EQ(item->reqNo, 12);
    EXPECT_EQ(item->pos, -1);
    EXPECT_EQ(item->savedPos, -1);
    EXPECT_TRUE(item->isIdle);
    EXPECT_FALSE(item->isRsp);
    EXPECT_TRUE(item->rspArray.empty());
    EXPECT_TRUE(item->rspDict.empty());
    EXPECT_FALSE(item->isForwardReq);
    EXPECT_EQ(item->reqCount, 200);
    EXPECT_EQ(item->tag, 9);
    EXPECT_TRUE(item->obj);
    EXPECT_EQ(item->updateTick, 5.5);

    item->isIdle = false;
    dict.setAllIdle();
    EXPECT_TRUE(item->isIdle);
}

TEST(CustomQuotesList, LoadsPlaceholdersAndThenQuotes) {
    CustomQuotesList list;
    list.codeArray = {"SH000001", "SZ399001"};
    list.loadFromCodes();
    list.loadFromCodes();
    ASSERT_EQ(list.dataArray.size(), 4u);
    EXPECT_EQ(list.dataArray[2]->code, "SH000001");
    EXPECT_EQ(list.dataArray[0]->basicInf->name, "SH000001");

    auto quote = base::make<StockQuoteInf>();
    quote->code = "SZ399001";
    quote->name = "深证成指";
    auto stranger = base::make<StockQuoteInf>();
    stranger->code = "HKHSI";
    list.rspQuotesArray = {quote, stranger};
    list.loadQuotes();
    EXPECT_EQ(list.getQuoteDic("SZ399001")->basicInf, quote);
    EXPECT_EQ(list.getQuoteDic("SH000001")->basicInf->name, "SH000001");
    EXPECT_FALSE(list.getQuoteDic("HKHSI"));
}

TEST(StrikeDetailPageDict, CreatesEachPageOnce) {
    StrikeDetailPageDict pages;
    EXPECT_FALSE(pages.getPageInfo(2));
    auto page = pages.getPageInfoWithCreate(2);
    EXPECT_EQ(page->pageNo, 2);
    EXPECT_EQ(page->currentReqPos, -1);
    EXPECT_EQ(pages.getPageInfoWithCreate(2), page);
    EXPECT_EQ(pages.getPageInfo(2), page);
}

} // namespace
