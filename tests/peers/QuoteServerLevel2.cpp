// Level-2 replies of the loopback quote server, for a session whose rights include level-2: the
// order queues at the best prices (2917), the per-minute big-order series of the intraday chart
// (2922 DDX, 2923 buy/sell difference, 2924 total buy and sell volumes) and the daily series of the
// candle chart (2918 DDX, 2919 DDY, 2920 DDZ, 2928 main funds, 2933 buy/sell points), one row per
// day candle before the asked date (or up to the newest), oldest first. Without those rights, or for
// an unknown code, the reply is empty.
#include "QuoteRow.h"
#include "QuoteServer.h"

#include <algorithm>

namespace peers {

namespace {

constexpr uint16_t EntrustQueueType = 2917;
constexpr uint16_t MinuteDDXType = 2922;
constexpr uint16_t MinuteDifferType = 2923;
constexpr uint16_t MinuteBuySellType = 2924;
constexpr uint16_t DayDDXType = 2918, DayDDYType = 2919, DayDDZType = 2920, DayFundsType = 2928,
                   DayBSType = 2933;
constexpr int QueueOrders = 12;
// Day rows in one reply at most.
constexpr int MaxDayRows = 1000;
constexpr int32_t LotShares = 100;

void writeInt24(base::Data &body, int32_t value) {
    for (int shift : {0, 8, 16})
        ComAPI::WriteByte(body, uint8_t(uint32_t(value) >> shift));
}

// One side of the queue: Byte side (1 the asks), Int price, Int orders, Short n, n order volumes in
// shares adding up to the level's volume.
void writeQueueSide(base::Data &body, bool sell, int32_t price, int32_t volume, uint32_t noise) {
    int orders = price > 0 ? 1 + int(noise % QueueOrders) : 0;
    ComAPI::WriteByte(body, sell ? 1 : 0);
    ComAPI::WriteInt(body, price);
    ComAPI::WriteInt(body, orders);
    ComAPI::WriteShort(body, orders);
    int32_t shares = volume * LotShares;
    for (int i = 0; i < orders; ++i)
        ComAPI::WriteInt(body, shares * (i + 1) / orders - shares * i / orders);
}

bool isDaySeries(uint16_t type) {
    return type == DayDDXType || type == DayDDYType || type == DayDDZType || type == DayFundsType ||
           type == DayBSType;
}

// One day of a candle series: Int date, then DDZ Int24 and Byte, main funds Short (value × 100 −
// 5000), buy/sell points Byte flags, Int ×4 prices, Short energy, the others Short (× 1000).
void writeDayRow(base::Data &body, uint16_t type, const Candle &day, uint32_t noise) {
    ComAPI::WriteInt(body, day.time);
    int32_t swing = int32_t(noise % 2001) - 1000;
    switch (type) {
    case DayDDZType:
        writeInt24(body, swing * 10);
        ComAPI::WriteByte(body, uint8_t(noise >> 12) % 10);
        break;
    case DayFundsType:
        ComAPI::WriteShort(body, swing);
        break;
    case DayBSType:
        ComAPI::WriteByte(body, uint8_t(noise >> 16) & 7);
        for (int32_t price : {day.low, day.high, day.low, day.high})
            ComAPI::WriteInt(body, price);
        ComAPI::WriteShort(body, int32_t(noise >> 8) % 10000);
        break;
    default:
        ComAPI::WriteShort(body, swing);
        break;
    }
}

} // namespace

std::optional<base::Data> QuoteServer::level2Reply(const ReceivedFrame &request) const {
    if (request.type != EntrustQueueType && request.type != MinuteDDXType &&
        request.type != MinuteDifferType && request.type != MinuteBuySellType && !isDaySeries(request.type))
        return std::nullopt;
    ByteView bytes = request.bytes();
    uint32_t pos = 0;
    const Security *security = findAnywhere(ComAPI::ReadString(bytes, pos));
    base::Data body;
    if (!security || !(sessionRights_ & Level2Right))
        return body;
    std::string code = security->fullCode();
    if (request.type == EntrustQueueType) {
        OrderBook book = QuoteRow::book(market_, *security);
        uint32_t noise = MarketFixture::noise(code, market_.quotesDate() + market_.minute());
        ComAPI::WriteInt(body, market_.minute());
        ComAPI::WriteByte(body, 2);
        writeQueueSide(body, false, book.bidPrice[0], book.bidVolume[0], noise);
        writeQueueSide(body, true, book.askPrice[0], book.askVolume[0], noise >> 8);
        return body;
    }
    if (isDaySeries(request.type)) {
        int32_t before = ComAPI::ReadInt(bytes, pos);
        int count = std::clamp<int>(ComAPI::ReadShort(bytes, pos), 1, MaxDayRows);
        std::vector<Candle> days = market_.dayCandles(*security, before, count);
        ComAPI::WriteShort(body, int32_t(days.size()));
        for (const Candle &day : days)
            writeDayRow(body, uint16_t(request.type), day,
                        MarketFixture::noise(code, day.time + request.type));
        return body;
    }
    std::vector<MinutePoint> minutes = market_.minutes(*security);
    size_t first = size_t(std::clamp<int32_t>(ComAPI::ReadInt(bytes, pos), 0, int32_t(minutes.size())));
    ComAPI::WriteShort(body, int32_t(minutes.size() - first));
    int32_t before = first > 0 ? minutes[first - 1].totalVol : 0;
    for (size_t i = first; i < minutes.size(); ++i) {
        uint32_t n = MarketFixture::noise(code, minutes[i].time + market_.quotesDate());
        int32_t volume = minutes[i].totalVol - before;
        before = minutes[i].totalVol;
        int32_t buy = volume * int32_t(40 + n % 21) / 100;
        switch (request.type) {
        case MinuteDDXType:
            ComAPI::WriteShort(body, int32_t(n % 2001) - 1000);
            break;
        case MinuteDifferType:
            writeInt24(body, buy - (volume - buy));
            break;
        default:
            ComAPI::WriteInt(body, buy);
            ComAPI::WriteInt(body, volume - buy);
            break;
        }
    }
    return body;
}

} // namespace peers
