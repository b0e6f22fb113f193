// Arbitrary bytes as a receive buffer of quote replies: every frame cut out of it goes to every
// reply parser of the detail, series, fund, level-2, pool, broker and alarm messages, with request
// states that the input also chooses. Parsers must stay inside their frame and inside the records'
// fixed order books, and lists must not grow beyond what the frame can describe.
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/KLineItem.h"
#include "DataBase/NetData/NetDataCenter.h"
#include "DataBase/NetData/RequestPosItem.h"

#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// One message layer for the whole run; the replies it caches go to the harness's home.
NetDataCenter &layer() {
    static const base::Ref<NetDataCenter> center = NetDataCenter::create();
    return *center;
}

// A pack holding `held` candles dated 1 … held, in the state the choice byte picks.
base::Ref<RequestPosItem> packFor(uint8_t choice, size_t held) {
    auto pack = base::make<RequestPosItem>("SH600000");
    pack->isForwardReq = choice & 1;
    pack->tag = choice & 2 ? 100 : 0;
    pack->pos = choice & 4 ? -1 : int32_t(choice % 13);
    for (size_t i = 1; i <= held; ++i) {
        auto candle = base::make<KLineItem>();
        candle->time = int32_t(i);
        pack->rspArray.push_back(candle);
    }
    return pack;
}

void parseDetail(ByteView frame) {
    auto record = base::make<StockBasicInf>();
    auto params = base::make<ReqParams>();
    params->setObject("rspInfo", record);
    for (int type : {2206, 2310, 2915, 2939, 2940})
        NetDataCenter::ParseStockDetailInfo(type, frame, params);
}

void parseSeries(NetDataCenter &center, ByteView frame, uint8_t choice) {
    size_t held = choice % 120;
    for (int type : {2311, 2312, 2313, 2314, 2917, 2922, 2923, 2924, 2931, 2932, 2965, 2966, 2969, 2970, 2971,
                     2976, 2977}) {
        auto pack = packFor(choice, held);
        auto params = base::make<ReqParams>();
        params->setObject("pack", pack);
        params->setObject("rspInfo", base::make<StockBasicInf>());
        center.ParseRspArray(type, frame, params);
        check(pack->isIdle);
        check(pack->rspArray.size() <= held + frame.size());
        if ((type == 2970 || type == 2971 || type == 2977) && pack->tag != 100)
            check(pack->rspArray.size() <= 100);
    }
    auto contribution = base::make<IndexGXPack>("SH");
    auto params = base::make<ReqParams>();
    params->setObject("pack", contribution);
    NetDataCenter::ParseIndexGX(frame, params);
    NetDataCenter::ParseIndexGX(frame, params);
    check(contribution->rspArray.size() <= 2 * frame.size());
}

void parseLists(ByteView frame, uint8_t choice) {
    auto quotes = base::make<StockQuoteList>();
    auto funds = base::make<NetDataCenter::ObjectList>();
    funds->items.resize(choice % 40);
    auto pools = base::make<NetDataCenter::StockPoolList>();
    auto params = base::make<ReqParams>(ReqParams{{"fillType", choice % 3},
                                                  {"startid", int(choice % 7) * 9 - 1},
                                                  {"rspArray", base::Array()},
                                                  {"rspDict", base::Dict()}});
    params->setObject("rspArray", quotes);
    NetDataCenter::ParseMerchandiseList(frame, params);
    NetDataCenter::ParseFundList(frame, params);
    params->setObject("rspArray", pools);
    NetDataCenter::ParseStockPoolStockList(frame, params);
    params->setObject("rspArray", funds);
    NetDataCenter::ParseOpenFundList(frame, params);
    check(funds->items.size() <= choice % 40 + frame.size());
    NetDataCenter::ParseFundCompany(frame, params);
    NetDataCenter::ParseStockPoolConfigInfo(frame, params);
    NetDataCenter::ParseWebPower(frame, params);
}

void parseLevel2Days(ByteView frame, uint8_t choice) {
    for (int type : {2918, 2919, 2920, 2928}) {
        auto pack = packFor(choice, choice % 30);
        auto params = base::make<ReqParams>();
        params->setObject("pack", pack);
        NetDataCenter::ParseLevel2DD_(type, frame, params);
    }
    auto pack = packFor(choice, 0);
    pack->obj = packFor(choice, choice % 50);
    auto params = base::make<ReqParams>();
    params->setObject("pack", pack);
    NetDataCenter::ParseLevel2BS(frame, params);
}

void parseAccountMessages(NetDataCenter &center, ByteView frame) {
    center.ParseSecuritiesAddressInfo(frame);
    // An empty reply keeps the table an earlier frame left.
    check(NetDataCenter::IsEmptyPack(frame) || center.IO_SecuritiesAddressArray().size() <= frame.size());
    auto params = base::make<ReqParams>(ReqParams{{"rspDict", base::Dict()}});
    center.ParseAlarmData(frame, params);
    center.ParseAlarmPushData(frame);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    NetDataCenter &center = layer();
    ByteView buffer(data, size);
    while (auto frame = NTDataFrame::first(buffer)) {
        ByteView bytes = frame->bytes();
        uint8_t choice = bytes.empty() ? 0 : bytes.back();
        parseDetail(bytes);
        parseSeries(center, bytes, choice);
        parseLists(bytes, choice);
        parseLevel2Days(bytes, choice);
        parseAccountMessages(center, bytes);
        buffer = buffer.subspan(bytes.size());
    }
    return 0;
}
