// Arbitrary bytes as a receive buffer of quote replies: every frame cut out of it goes to every reply
// parser of the message layer, with request parameters that the input also chooses. Parsers must stay
// inside their frame, and what they store must stay within what the frame can describe.
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/NetDataCenter.h"

#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// One message layer for the whole run; the code tables it writes go to the harness's home.
NetDataCenter &layer() {
    static const base::Ref<NetDataCenter> center = [] {
        auto made = NetDataCenter::create();
        for (const char *title : {"SH", "SZ", "HK"})
            made->IO_MktStockCodeLib.add(base::Dict{{"title", title}});
        return made;
    }();
    return *center;
}

base::Ref<ReqParams> params(uint8_t choice, const base::Ref<StockQuoteList> &rows) {
    auto made = base::make<ReqParams>(ReqParams{{"fillType", choice % 3},
                                                {"startid", int(choice % 7) * 9 - 1},
                                                {"marketID", choice % 5},
                                                {"reqType", 2600},
                                                {"reqid", choice % 2}});
    made->setObject("rspArray", rows);
    return made;
}

void parseEverything(NetDataCenter &center, ByteView frame, uint8_t choice) {
    auto rows = base::make<StockQuoteList>();
    rows->items.resize(choice % 40, base::make<StockQuoteInf>());
    auto reqParams = params(choice, rows);

    center.ParseServerAddress(frame);
    center.ParseUserInf(frame);
    check(center.IO_AccountPowerArray().size() == 15);
    center.ParseAccountError(frame);
    center.ParseRecommUser(frame);
    center.ParseServerTime(frame);
    center.ParseProdClass(frame);
    center.ParseMarketStockList(frame, reqParams);
    center.ParseSearchStocks(frame, reqParams);
    center.ParseSearchStocksWithPrice(frame, reqParams);
    check(rows->items.size() <= frame.size());

    rows->items.resize(choice % 40, base::make<StockQuoteInf>());
    center.ParseStockListCom(frame, reqParams);
    check(rows->items.size() <= choice % 40 + frame.size());
    center.ParseMarketIndex(frame);
    check(center.IO_MarketIndex.size() <= frame.size());
    center.IO_QuotesDate = choice & 0x80 ? 20130304 : 0;
    center.ParseRealInformation(frame, reqParams);
    check(center.IO_RealNewsJP->array.size() <= size_t(NetDataCenter::MaxRealNewsId));
    center.getNextCode("SH600000", int8_t(choice));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    NetDataCenter &center = layer();
    ByteView buffer(data, size);
    while (auto frame = NTDataFrame::first(buffer)) {
        ByteView bytes = frame->bytes();
        parseEverything(center, bytes, bytes.empty() ? 0 : bytes.back());
        buffer = buffer.subspan(bytes.size());
    }
    return 0;
}
