// Chart replies of the loopback quote server: candles, intraday minutes and ex-rights events.
#include "ChartFrameWriter.h"
#include "QuoteServer.h"

#include <algorithm>

namespace peers {

namespace {

constexpr int MaxCandles = 1000;
// The periods whose time steps the coded layout describes; 240-minute candles go plain.
constexpr int LastCodedPeriod = 9;
constexpr int PlainOnlyPeriod = 6;
constexpr int16_t MinReplyMarker = 0x0A0B;

// The body of a coded frame the writer made whole.
base::Data bodyOf(const base::Data &frame) {
    return frame.subdata(7, frame.length() - 7);
}

} // namespace

// Request: String code, Byte period, Int position (0: the newest; else the oldest time held), Short
// count. Plain reply: Byte hold flag 0, Short count, candles of seven Ints; fewer than asked once
// the history's first candle is sent.
Frame QuoteServer::candleReply(const ReceivedFrame &request) const {
    ByteView bytes = request.bytes();
    uint32_t pos = 0;
    std::string code = ComAPI::ReadString(bytes, pos);
    int period = ComAPI::ReadByte(bytes, pos);
    int32_t position = ComAPI::ReadInt(bytes, pos);
    int count = std::clamp<int>(ComAPI::ReadShort(bytes, pos), 0, MaxCandles);
    std::vector<Candle> found;
    if (const Security *security = market_.find(code))
        found = market_.candles(*security, period, position, count);

    Frame reply{request.seqID, CandleType};
    if ((request.attribute & CodedAttribute) && !found.empty() && period != PlainOnlyPeriod &&
        period <= LastCodedPeriod) {
        std::vector<chartframes::Candle> coded;
        for (const Candle &c : found)
            coded.push_back({c.time, c.open, c.high, c.low, c.close, c.volume, c.amount, 0});
        reply.attribute = CodedAttribute;
        reply.body = bodyOf(chartframes::codedKLineFrame(period, false, coded));
        return reply;
    }
    ComAPI::WriteByte(reply.body, 0);
    ComAPI::WriteShort(reply.body, int32_t(found.size()));
    for (const Candle &candle : found)
        for (int32_t field :
             {candle.time, candle.open, candle.high, candle.low, candle.close, candle.volume, candle.amount})
            ComAPI::WriteInt(reply.body, field);
    return reply;
}

// Request: String code, Short position (the minutes held). The plain reply sends again the last
// minute held and every one after it: Byte hold 0, Short marker, Short position after the last
// minute, Short count, minutes of four Ints (time HHMM, price, total volume, average). Coded minutes
// carry no time, the reader steps them from the session's first minute, so a coded reply always
// carries the day from its first minute; the client keeps only those after the ones it holds.
Frame QuoteServer::minLineReply(const ReceivedFrame &request) const {
    ByteView bytes = request.bytes();
    uint32_t pos = 0;
    std::string code = ComAPI::ReadString(bytes, pos);
    int held = std::max<int>(ComAPI::ReadShort(bytes, pos), 0);
    Frame reply{request.seqID, MinLineType};
    const Security *security = findAnywhere(code);
    if (!security)
        return reply;
    std::vector<MinutePoint> minutes = market_.minutes(*security);
    if (request.attribute & CodedAttribute) {
        chartframes::MinFrame layout;
        layout.position = int16_t(minutes.size());
        layout.count = int16_t(minutes.size());
        for (const MinutePoint &m : minutes)
            layout.coded.push_back({m.price, m.totalVol, m.ave, 0});
        reply.attribute = CodedAttribute;
        reply.body = bodyOf(chartframes::codedMinFrame(layout));
        return reply;
    }
    size_t first = std::min<size_t>(size_t(std::max(held - 1, 0)), minutes.size());
    std::vector<MinutePoint> sent(minutes.begin() + std::ptrdiff_t(first), minutes.end());
    ComAPI::WriteByte(reply.body, 0);
    ComAPI::WriteShort(reply.body, MinReplyMarker);
    ComAPI::WriteShort(reply.body, int32_t(minutes.size()));
    ComAPI::WriteShort(reply.body, int32_t(sent.size()));
    for (const MinutePoint &m : sent)
        for (int32_t field : {m.time, m.price, m.totalVol, m.ave})
            ComAPI::WriteInt(reply.body, field);
    return reply;
}

// Request: String code. Reply: Short count, events of five Ints (date, give, pei, pei price,
// profit).
base::Data QuoteServer::exrightReply(ByteView request) const {
    uint32_t pos = 0;
    const Security *security = market_.find(ComAPI::ReadString(request, pos));
    base::Data body;
    if (!security)
        return body;
    std::vector<ExrightEvent> events = MarketFixture::exrights(*security);
    if (events.empty())
        return body;
    ComAPI::WriteShort(body, int32_t(events.size()));
    for (const ExrightEvent &e : events)
        for (int32_t field : {e.date, e.give, e.pei, e.peiPrice, e.profit})
            ComAPI::WriteInt(body, field);
    return body;
}

} // namespace peers
