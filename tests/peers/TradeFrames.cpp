#include "TradeFrames.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeFrame.h"

#include <zlib.h>

#include <cstring>

namespace peers {

base::Data fromHex(const std::string &hex) {
    base::Data out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2) {
        uint8_t byte = uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16));
        out.append(&byte, 1);
    }
    return out;
}

std::string toHex(const uint8_t *bytes, size_t length) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (size_t i = 0; i < length; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

std::string toHex(const base::Data &data) {
    return toHex(data.bytes(), data.length());
}

namespace {

std::string deflate(const std::string &text) {
    uLongf size = compressBound(uLong(text.size()));
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(text.data()),
             uLong(text.size()));
    out.resize(size);
    return out;
}

} // namespace

base::Data sealBlock(const std::string &text, const uint8_t key[16], int32_t dseq, bool compress) {
    std::string stored = compress ? deflate(text) : text;
    size_t length = (29 + stored.size() + 15) / 16 * 16;
    std::vector<uint8_t> block(length, 0);
    writeInt32LE(block.data() + 16, dseq);
    block[20] = compress ? 1 : 0;
    writeInt32LE(block.data() + 21, int32_t(text.size()));
    writeInt32LE(block.data() + 25, int32_t(stored.size()));
    std::memcpy(block.data() + 29, stored.data(), stored.size());
    md5(block.data() + 16, length - 16, block.data());
    enc_aes(block.data(), length, key, 16, block.data());
    return base::Data(block.data(), length);
}

base::Data replyFrame(char packtype, const base::Data &payload, int32_t synID, int32_t cookie,
                      bool compress) {
    CommPackInfo header;
    header.packtype = packtype;
    header.cookie = cookie;
    header.synID = synID;
    header.rawLength = int32_t(payload.length());
    if (!compress)
        return makeTradeFrame(header, payload.bytes(), payload.length());
    header.compressed = 1;
    std::string packed = deflate(payload.toString());
    return makeTradeFrame(header, reinterpret_cast<const uint8_t *>(packed.data()), packed.size());
}

base::Data acceptReply(const uint8_t nonce[16], const uint8_t key[16], int32_t startSeq) {
    uint8_t reply[37] = {1};
    std::memcpy(reply + 1, nonce, 16);
    enc_aes(nonce, 16, key, 16, reply + 17);
    writeInt32LE(reply + 33, startSeq);
    return base::Data(reply, sizeof reply);
}

base::Data refuseReply(const std::string &errorText) {
    base::Data reply;
    reply.resize(37);
    reply.append(errorText.data(), errorText.size());
    reply.append("", 1);
    return reply;
}

std::vector<uint8_t> deriveKey(const uint8_t nonce[16], const std::string &checkCode,
                               const uint8_t keyPart[16]) {
    std::vector<uint8_t> inputs(nonce, nonce + 16);
    inputs.insert(inputs.end(), checkCode.begin(), checkCode.end());
    inputs.insert(inputs.end(), keyPart, keyPart + 16);
    std::vector<uint8_t> key(16);
    md5(inputs.data(), inputs.size(), key.data());
    return key;
}

} // namespace peers
