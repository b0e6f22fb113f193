#include "DataBase/WT/TradeFrame.h"

#include "DataBase/WT/TradeCipher.h"
#include "crypto/Crypto.h"

int32_t readInt32LE(const uint8_t *bytes) {
    uint32_t v =
        uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
    return int32_t(v);
}

void writeInt32LE(uint8_t *bytes, int32_t value) {
    uint32_t v = uint32_t(value);
    for (int i = 0; i < 4; ++i)
        bytes[i] = uint8_t(v >> (8 * i));
}

CommPackInfo CommPackInfo::read(const uint8_t *bytes) {
    CommPackInfo h;
    h.checksum = readInt32LE(bytes);
    h.compressed = char(bytes[4]);
    h.packtype = char(bytes[5]);
    h.cookie = readInt32LE(bytes + 6);
    h.synID = readInt32LE(bytes + 10);
    h.rawLength = readInt32LE(bytes + 14);
    h.datalen = readInt32LE(bytes + 18);
    return h;
}

void CommPackInfo::write(uint8_t *bytes) const {
    writeInt32LE(bytes, checksum);
    bytes[4] = uint8_t(compressed);
    bytes[5] = uint8_t(packtype);
    writeInt32LE(bytes + 6, cookie);
    writeInt32LE(bytes + 10, synID);
    writeInt32LE(bytes + 14, rawLength);
    writeInt32LE(bytes + 18, datalen);
}

base::Data makeTradeFrame(CommPackInfo header, const uint8_t *payload, size_t length) {
    base::Data frame;
    frame.resize(CommPackInfo::kSize + length);
    uint8_t *p = frame.mutableBytes();
    header.datalen = int32_t(length);
    header.checksum = 0;
    header.write(p);
    if (length > 0)
        std::copy(payload, payload + length, p + CommPackInfo::kSize);
    writeInt32LE(p, int32_t(crc32_crypto(p + 4, frame.length() - 4)));
    return frame;
}

namespace {

bool lengthIsSane(int32_t length) {
    return length >= 0 && length <= kTradeMaxLength;
}

} // namespace

TradeFrameCut cutTradeFrame(const uint8_t *bytes, size_t length) {
    TradeFrameCut cut;
    if (length < CommPackInfo::kSize)
        return cut;
    cut.header = CommPackInfo::read(bytes);
    if (!lengthIsSane(cut.header.datalen) || !lengthIsSane(cut.header.rawLength)) {
        cut.kind = TradeFrameCut::Kind::Corrupt;
        return cut;
    }
    size_t frameLength = CommPackInfo::kSize + size_t(cut.header.datalen);
    if (length < frameLength)
        return cut;
    cut.consumed = frameLength;
    cut.kind = TradeFrameCut::Kind::Drop;
    if (uint32_t(cut.header.checksum) != crc32_crypto(bytes + 4, frameLength - 4) || cut.header.datalen == 0)
        return cut;
    const uint8_t *payload = bytes + CommPackInfo::kSize;
    if (cut.header.compressed) {
        auto inflated = inflateExactly(payload, size_t(cut.header.datalen), size_t(cut.header.rawLength));
        if (!inflated || inflated->empty())
            return cut;
        cut.payload = std::move(*inflated);
    } else {
        cut.payload = base::Data(payload, size_t(cut.header.datalen));
    }
    cut.kind = TradeFrameCut::Kind::Deliver;
    return cut;
}

std::optional<base::Data> inflateExactly(const uint8_t *bytes, size_t length, size_t expected) {
    auto out = crypto::uncompress(bytes, length, expected);
    if (!out || out->length() != expected)
        return std::nullopt;
    return out;
}
