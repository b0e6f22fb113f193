#include "DataBase/WT/TradeNetCodec.h"

#include "DataBase/WT/TradeCipher.h"

#include "base/Str.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

// Layout of the enciphered block.
constexpr size_t kBlockSeq = 16;
constexpr size_t kBlockFlags = 20;
constexpr size_t kBlockTextLength = 21;
constexpr size_t kBlockStoredLength = 25;
constexpr size_t kBlockText = 29;
constexpr size_t kMinBlock = 32;

// Layout of the phone-check request and reply.
constexpr size_t kRequestSize = 64;
constexpr size_t kRequestName = 0;
constexpr size_t kRequestNameSize = 20;
constexpr size_t kRequestMobile = 24;
constexpr size_t kRequestKeyPart = 44;
constexpr size_t kReplyNonce = 1;
constexpr size_t kReplyNonceCipher = 17;
constexpr size_t kReplyStartSeq = 33;
constexpr size_t kReplyErrorText = 37;

constexpr int32_t kLastSynID = 0x7FFFFFFD;

size_t roundToBlock(size_t length) {
    return (length + 15) / 16 * 16;
}

// The bytes of a text up to its first NUL, as a C string of it holds them.
size_t cLength(const std::string &text) {
    return std::min(text.size(), text.find('\0'));
}

// Top-level control tags of reply texts.
constexpr int kTagVersion = 8;
constexpr int kTagTotal = 1289;
constexpr int kTagTable = 21000;
constexpr int kTagIgnored = 21001;
constexpr int kTagRowStart = 21002;
constexpr int kTagRowEnd = 21003;
constexpr int kTagFunc = 21004;
constexpr int kTagErrCode = 21008;
constexpr int kTagErrMsg = 21009;

const char *headerKey(int tag) {
    switch (tag) {
    case kTagVersion:
        return "Ver";
    case kTagTotal:
        return "TotalNum";
    case kTagFunc:
        return "FuncID";
    case kTagErrCode:
        return "ErrCode";
    case kTagErrMsg:
        return "ErrMsg";
    default:
        return nullptr;
    }
}

} // namespace

TradeNetCodec::TradeNetCodec() : m_rspData(base::make<TradeRspData>()) {}

TradeNetCodec::~TradeNetCodec() {
    wipeKeyInputs();
    wipeSecret(m_privatepws, sizeof m_privatepws);
}

void TradeNetCodec::clearCodecParams() {
    m_compressed = 0;
    m_cookie = 0;
    wipeKeyInputs();
    wipeSecret(m_privatepws, sizeof m_privatepws);
    m_dseq = -1;
    m_dsuccess = false;
}

void TradeNetCodec::wipeKeyInputs() {
    wipeSecret(m_pws, sizeof m_pws);
    wipeSecret(m_rs, sizeof m_rs);
}

// --- Requests

void TradeNetCodec::requestCBase(const TradeRequester &delegate, const std::string &reqStr,
                                 std::optional<base::Dict> reqParams, int32_t funcID) {
    size_t datalen = kBlockText + reqStr.size();
    std::vector<uint8_t> block(roundToBlock(datalen), 0);
    std::copy(reqStr.begin(), reqStr.end(), block.begin() + kBlockText);
    size_t length = fillCHeader(block.data(), datalen, false);
    addToReqQueue(delegate, block.data(), length, kTradePackC, std::move(reqParams), funcID);
    // The block held the request text, the trade password among it.
    wipeSecret(block.data(), block.size());
}

void TradeNetCodec::requestFBase(const TradeRequester &delegate, const std::string &reqStr,
                                 std::optional<base::Dict> reqParams, int32_t funcID) {
    addToReqQueue(delegate, reinterpret_cast<const uint8_t *>(reqStr.data()), reqStr.size(), kTradePackF,
                  std::move(reqParams), funcID);
}

size_t TradeNetCodec::fillCHeader(uint8_t *buffer, size_t datalen, bool iscompress) {
    int32_t textLength = int32_t(datalen - kBlockText);
    m_dseq = int32_t(uint32_t(m_dseq) + 1);
    writeInt32LE(buffer + kBlockSeq, m_dseq);
    buffer[kBlockFlags] = iscompress ? 1 : 0;
    writeInt32LE(buffer + kBlockTextLength, textLength);
    writeInt32LE(buffer + kBlockStoredLength, textLength);
    size_t length = roundToBlock(datalen);
    md5(buffer + kBlockSeq, length - kBlockSeq, buffer);
    enc_aes(buffer, length, m_privatepws, sizeof m_privatepws, buffer);
    return length;
}

bool TradeNetCodec::requestD(const TradeRequester &delegate, const std::string &securitiesName,
                             const std::string &phoneNum, const std::string &checkNum) {
    size_t mobileLength = cLength(phoneNum);
    size_t codeLength = cLength(checkNum);
    if (mobileLength > kMaxMobileLength || codeLength > kMaxCheckCodeLength)
        return false;
    m_phoneNum = phoneNum.substr(0, mobileLength);
    wipeSecret(m_pws, sizeof m_pws);
    std::memcpy(m_pws, checkNum.data(), codeLength);

    uint8_t request[kRequestSize] = {};
    // The gateway knows its test broker only by its short name.
    std::string name = securitiesName == "zira测试" ? "zira" : securitiesName;
    std::memcpy(request + kRequestName, name.data(), std::min(cLength(name), kRequestNameSize));
    // A mobile longer than 20 bytes runs on into the key part, and so into the key.
    std::memcpy(request + kRequestMobile, phoneNum.data(), mobileLength);
    std::memcpy(m_rs, request + kRequestKeyPart, sizeof m_rs);
    addToReqQueue(delegate, request, sizeof request, kTradePackD, std::nullopt, kPhoneCheckReply);
    wipeSecret(request, sizeof request);
    return true;
}

void TradeNetCodec::addToReqQueue(const TradeRequester &delegate, const uint8_t *databuf, size_t datalen,
                                  char packtype, std::optional<base::Dict> reqParams, int32_t funcID) {
    m_synID = m_synID >= kLastSynID ? 1 : m_synID + 1;
    CommPackInfo header;
    header.compressed = m_compressed;
    header.packtype = packtype;
    header.cookie = m_cookie;
    header.synID = m_synID;
    header.rawLength = int32_t(datalen);
    CreateDirc(makeTradeFrame(header, databuf, datalen), delegate, m_synID, funcID, std::move(reqParams));
}

void TradeNetCodec::CreateDirc(base::Data data, const TradeRequester &delegate, int32_t synID, int32_t funcID,
                               std::optional<base::Dict> reqParams) {
    queueRequest(TradeRequestRecord{std::move(data), synID, funcID, delegate, std::move(reqParams)});
}

// --- Replies

int TradeNetCodec::processRspData(const uint8_t *data, size_t datalen, const CommPackInfo &pcomm) {
    m_rspData->clear();
    switch (pcomm.packtype) {
    case kTradePackC:
        if (!procCBase(data, datalen)) {
            m_rspData->setSuccessRsp(false);
            m_rspData->dict().set("ErrMsg", kUnreadableReply);
            return 0;
        }
        return doSomethingAfterParseCBase();
    case kTradePackD:
        m_cookie = pcomm.cookie;
        procD(data, datalen);
        doSomethingAfterParseDBase();
        return kPhoneCheckReply;
    case kTradePackF:
        parseC(data, datalen);
        return doSomethingAfterParseCBase();
    default:
        // Nothing was understood, so nothing may pass for a success.
        m_rspData->setSuccessRsp(false);
        return 0;
    }
}

bool TradeNetCodec::procCBase(const uint8_t *data, size_t datalen) {
    if (datalen < kMinBlock || datalen % 16 != 0)
        return false;
    std::vector<uint8_t> block(datalen);
    dec_aes(data, datalen, m_privatepws, sizeof m_privatepws, block.data());
    uint8_t digest[16];
    md5(block.data() + kBlockSeq, datalen - kBlockSeq, digest);
    if (std::memcmp(digest, block.data(), sizeof digest) != 0)
        return false;
    int32_t textLength = readInt32LE(block.data() + kBlockTextLength);
    int32_t storedLength = readInt32LE(block.data() + kBlockStoredLength);
    if (textLength < 0 || textLength > kTradeMaxLength || storedLength < 0 ||
        size_t(storedLength) > datalen - kBlockText)
        return false;
    const uint8_t *text = block.data() + kBlockText;
    if (block[kBlockFlags] & 1) {
        auto inflated = inflateExactly(text, size_t(storedLength), size_t(textLength));
        if (!inflated)
            return false;
        parseC(inflated->bytes(), inflated->length());
        return true;
    }
    // A plain text whose two lengths disagree is as damaged as one that does not inflate.
    if (textLength != storedLength)
        return false;
    parseC(text, size_t(textLength));
    return true;
}

void TradeNetCodec::procD(const uint8_t *data, size_t datalen) {
    bool accepted = datalen > 0 && (data[0] & 1);
    if (!accepted) {
        // The reason runs to its NUL, or to the end of the payload when the gateway left it out.
        std::string reason;
        if (datalen > kReplyErrorText) {
            const char *begin = reinterpret_cast<const char *>(data + kReplyErrorText);
            reason.assign(begin, strnlen(begin, datalen - kReplyErrorText));
        }
        failPhoneCheck("-2", base::str::isValidUtf8(reason) ? reason : std::string());
    } else if (datalen < kReplyErrorText) {
        failPhoneCheck("-1", "密钥验证失败");
    } else {
        m_dseq = readInt32LE(data + kReplyStartSeq);
        size_t codeLength = strnlen(reinterpret_cast<const char *>(m_pws), sizeof m_pws);
        std::vector<uint8_t> inputs(data + kReplyNonce, data + kReplyNonce + 16);
        inputs.insert(inputs.end(), m_pws, m_pws + codeLength);
        inputs.insert(inputs.end(), m_rs, m_rs + sizeof m_rs);
        uint8_t key[16], nonce[16];
        md5(inputs.data(), inputs.size(), key);
        wipeSecret(inputs.data(), inputs.size());
        dec_aes(data + kReplyNonceCipher, 16, key, sizeof key, nonce);
        if (std::memcmp(nonce, data + kReplyNonce, sizeof nonce) == 0) {
            std::memcpy(m_privatepws, key, sizeof key);
            m_dsuccess = true;
            m_rspData->setSuccessRsp(true);
        } else {
            failPhoneCheck("-1", "密钥验证失败");
        }
        wipeSecret(key, sizeof key);
    }
    wipeKeyInputs();
}

void TradeNetCodec::failPhoneCheck(const char *errCode, const std::string &errMsg) {
    m_rspData->setSuccessRsp(false);
    m_rspData->dict().set("ErrCode", errCode);
    m_rspData->dict().set("ErrMsg", errMsg);
    m_dsuccess = false;
    wipeSecret(m_privatepws, sizeof m_privatepws);
}

void TradeNetCodec::doSomethingAfterParseDBase() {
    if (m_dsuccess)
        onPhoneCheckPassed();
}

int TradeNetCodec::doSomethingAfterParseCBase() {
    int funcID = base::str::toInt(m_rspData->dict().get("FuncID").stringValue());
    if ((funcID & 1) == 0) {
        m_rspData->setSuccessRsp(false);
        return funcID;
    }
    onReplySucceeded(funcID);
    return funcID - 1;
}

// --- Reply text

void TradeNetCodec::parseC(const uint8_t *data, size_t datalen) {
    const char *text = reinterpret_cast<const char *>(data);
    base::Dict rowDic;
    bool isRowFields = false;
    bool expectTag = true;
    std::optional<int> tag;
    size_t itemStart = 0, valueStart = 0;
    auto file = [&](size_t end) {
        if (!tag)
            return;
        std::string value(text + valueStart, end - valueStart);
        if (base::str::isValidUtf8(value))
            processRspPair(*tag, value, rowDic, isRowFields);
    };
    for (size_t i = 0; i < datalen; ++i) {
        bool last = i + 1 == datalen;
        if (text[i] == '=' && expectTag) {
            tag = base::str::toInt(std::string_view(text + itemStart, i - itemStart));
            valueStart = i + 1;
            expectTag = false;
            if (last)
                file(datalen);
        } else if (text[i] == '\x01') {
            file(i);
            tag.reset();
            itemStart = i + 1;
            expectTag = true;
        } else if (last && !expectTag) {
            // A last pair without its closing 0x01 still keeps its whole value.
            file(datalen);
        }
    }
}

void TradeNetCodec::processRspPair(int tag, const std::string &value, base::Dict &rowDic, bool &isRowFields) {
    base::Dict &top = m_rspData->dict();
    if (const char *key = headerKey(tag)) {
        top.set(key, value);
        return;
    }
    switch (tag) {
    case kTagTable: {
        int n = int(top.get("TableCount").intValue());
        top.set("TableCount", n + 1);
        top.set(TradeRspData::tableKey(n), base::Array());
        break;
    }
    case kTagIgnored:
        break;
    case kTagRowStart:
        rowDic.clear();
        isRowFields = true;
        break;
    case kTagRowEnd: {
        isRowFields = false;
        base::Value *table = top.find(TradeRspData::tableKey(int(top.get("TableCount").intValue()) - 1));
        if (table && table->array())
            table->array()->add(rowDic.copy());
        break;
    }
    default:
        (isRowFields ? rowDic : top).set(std::to_string(tag), value);
    }
}
