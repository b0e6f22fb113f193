#pragma once

// Writes bit-coded intraday and candle reply frames as the quote server codes them: the loopback
// quote server sends them, and tests and benchmarks feed the expanders known records.

#include "DataBase/ComAPI.h"
#include "DataBase/ExternFiles/qvnbitstream.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace chartframes {

class BitWriter {
public:
    // Appends the low n bits of value, bit 0 first.
    void put(uint32_t value, int n) {
        for (int i = 0; i < n; ++i, ++bits_) {
            if (bits_ % 8 == 0)
                bytes_.push_back(0);
            bytes_.back() |= uint8_t((value >> i & 1) << (bits_ % 8));
        }
    }
    // A code as the matcher reads it.
    void putCode(const CodeTableEntry &entry) { put(entry.codeValue, entry.codeLength); }
    const std::vector<uint8_t> &bytes() const { return bytes_; }
    int bits() const { return bits_; }

private:
    std::vector<uint8_t> bytes_;
    int bits_ = 0;
};

// The data bits that make `entry` decode to v, when it can.
inline std::optional<uint32_t> rawFor(const CodeTableEntry &entry, int64_t v) {
    int64_t n = entry.dataLength;
    switch (entry.op) {
    case 'E':
        return v == int64_t(entry.X) + entry.Y ? std::optional<uint32_t>(0) : std::nullopt;
    case 'B':
        if (v - entry.Y >= 0 && v - entry.Y < (int64_t(1) << n))
            return uint32_t(v - entry.Y);
        return std::nullopt;
    case 'b':
        if (v >= entry.Y && v - entry.Y < (int64_t(1) << (n - 1)))
            return uint32_t(v - entry.Y);
        if (v < -int64_t(entry.Y) && v + entry.Y >= -(int64_t(1) << (n - 1)))
            return uint32_t(v + entry.Y) & uint32_t((int64_t(1) << n) - 1);
        return std::nullopt;
    default:
        return std::nullopt;
    }
}

// Codes a field so that DecodeData with this table, base and flag gives `value`: the shortest
// difference code that holds the difference, else the absolute 32-bit escape.
inline void putField(BitWriter &w, CodeTable table, int32_t base, int32_t value, bool subtract = false) {
    int64_t v = base == 0 ? value : subtract ? int64_t(base) - value : int64_t(value) - base;
    for (const CodeTableEntry &entry : table) {
        if (auto raw = rawFor(entry, v)) {
            w.putCode(entry);
            w.put(*raw, entry.dataLength);
            return;
        }
    }
    const CodeTableEntry &escape = table.back();
    w.putCode(escape);
    w.put(uint32_t(value), 32);
}

struct Session {
    uint16_t open, close;
};

inline base::Data sessionBlock(const std::vector<Session> &sessions) {
    base::Data block;
    ComAPI::WriteShort(block, 0);
    ComAPI::WriteShort(block, int(sessions.size()));
    for (const auto &session : sessions) {
        ComAPI::WriteShort(block, session.open);
        ComAPI::WriteShort(block, session.close);
    }
    return block;
}

struct Minute {
    int32_t price = 0, totalVol = 0, ave = 0, holdVol = 0;
};

struct MinFrame {
    bool hold = false;
    int16_t position = 0;
    int16_t count = 0;
    uint8_t step = 1;
    std::vector<Session> sessions = {{930, 1130}, {1300, 1500}};
    std::vector<Minute> coded;
    std::vector<Minute> plain;
};

inline base::Data codedMinFrame(const MinFrame &layout) {
    BitWriter w;
    Minute prev;
    for (const Minute &m : layout.coded) {
        putField(w, MinPriceCodes, prev.price, m.price);
        putField(w, MinVolumeCodes, prev.totalVol, m.totalVol);
        putField(w, MinPriceCodes, prev.ave, m.ave);
        if (layout.hold)
            putField(w, MinPriceCodes, prev.holdVol, m.holdVol);
        prev = m;
    }
    base::Data block = sessionBlock(layout.sessions);
    base::Data body;
    ComAPI::WriteByte(body, layout.hold ? 1 : 0);
    ComAPI::WriteShort(body, 0x0A0B);
    ComAPI::WriteShort(body, layout.position);
    ComAPI::WriteShort(body, layout.count);
    ComAPI::WriteShort(body, int(layout.coded.size()));
    ComAPI::WriteShort(body, int(layout.plain.size()));
    ComAPI::WriteByte(body, layout.step);
    ComAPI::WriteByte(body, int(block.length()));
    body.append(block);
    body.append(w.bytes().data(), w.bytes().size());
    for (const Minute &m : layout.plain) {
        ComAPI::WriteInt(body, m.price);
        ComAPI::WriteInt(body, m.totalVol);
        ComAPI::WriteInt(body, m.ave);
        if (layout.hold)
            ComAPI::WriteInt(body, m.holdVol);
    }
    base::Data frame;
    ComAPI::WriteByte(frame, 7);
    ComAPI::WriteShort(frame, 2942);
    ComAPI::WriteShort(frame, 2);
    ComAPI::WriteShort(frame, int(body.length()));
    frame.append(body);
    return frame;
}

struct Candle {
    int32_t time = 0, open = 0, high = 0, low = 0, close = 0, vol = 0, amount = 0, hold = 0;
    bool operator==(const Candle &) const = default;
};

inline int candleStep(int ktype) {
    static constexpr int steps[] = {0, 1, 5, 15, 30, 60, 0, 1, 7, 100};
    return ktype >= 0 && ktype < 10 ? steps[ktype] : 0;
}

inline void putTime(BitWriter &w, int ktype, int32_t prev, int32_t time) {
    int step = candleStep(ktype);
    if (ktype > 5) {
        if (time == prev + step) {
            w.put(0, 1);
            return;
        }
        int32_t day = time - (prev - prev % 100 + 100);
        if (prev != 0 && day >= 0 && day < 32) {
            w.put(1, 2);
            w.put(uint32_t(day), 5);
            return;
        }
    } else if (prev != 0 && (prev & 0x3F) + step < 60 && time == prev + step) {
        w.put(0, 1);
        return;
    }
    w.put(3, 2);
    w.put(uint32_t(time), 32);
}

inline base::Data codedKLineFrame(int ktype, bool hold, const std::vector<Candle> &candles) {
    BitWriter w;
    Candle prev;
    for (const Candle &c : candles) {
        putTime(w, ktype, prev.time, c.time);
        putField(w, KLineOpenCodes, prev.close, c.open);
        putField(w, KLineRangeCodes, c.open, c.high);
        putField(w, KLineRangeCodes, c.open, c.low, true);
        putField(w, KLineRangeCodes, c.low, c.close);
        putField(w, KLineVolumeCodes, prev.vol, c.vol);
        putField(w, KLineAmountCodes, prev.amount, c.amount);
        if (hold)
            putField(w, KLineAmountCodes, prev.hold, c.hold);
        prev = c;
    }
    base::Data frame;
    ComAPI::WriteByte(frame, 9);
    ComAPI::WriteShort(frame, 2944);
    ComAPI::WriteShort(frame, 2);
    ComAPI::WriteShort(frame, int(6 + w.bytes().size()));
    ComAPI::WriteByte(frame, hold ? 1 : 0);
    ComAPI::WriteShort(frame, 0);
    ComAPI::WriteShort(frame, int(candles.size()));
    ComAPI::WriteByte(frame, ktype);
    frame.append(w.bytes().data(), w.bytes().size());
    return frame;
}

} // namespace chartframes
