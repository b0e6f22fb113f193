#pragma once

#include "DataBase/WT/TradeNetCodec.h"

#include "base/Data.h"

#include <cstdint>
#include <string>
#include <vector>

// Builders of gateway replies and a codec that records what it hands on, for the trade tests.
namespace tradetest {

base::Data fromHex(const std::string &hex);
std::string toHex(const base::Data &data);
std::string toHex(const uint8_t *bytes, size_t length);

// A plain block: digest, sequence, flags, lengths, text (zlib-compressed when asked) and zero fill,
// enciphered under `key`.
base::Data sealBlock(const std::string &text, const uint8_t key[16], int32_t dseq, bool compress = false);
// A reply frame around `payload`, zlib-compressed as a whole when asked.
base::Data replyFrame(char packtype, const base::Data &payload, int32_t synID, int32_t cookie = 0,
                      bool compress = false);
// A phone-check reply that accepts (nonce enciphered under `key`) or refuses with `errorText`.
base::Data acceptReply(const uint8_t nonce[16], const uint8_t key[16], int32_t startSeq);
base::Data refuseReply(const std::string &errorText);

// The key the gateway derives from its nonce, the check code and the request's key part.
std::vector<uint8_t> deriveKey(const uint8_t nonce[16], const std::string &checkCode,
                               const uint8_t keyPart[16]);

class RecordingCodec : public TradeNetCodec {
public:
    using TradeNetCodec::fillCHeader;
    using TradeNetCodec::m_cookie;
    using TradeNetCodec::m_dseq;
    using TradeNetCodec::m_privatepws;
    using TradeNetCodec::m_pws;
    using TradeNetCodec::m_rs;
    using TradeNetCodec::m_synID;

    std::vector<TradeRequestRecord> records;
    int phoneChecksPassed = 0;
    std::vector<int> succeeded;

    // Cuts one whole reply frame and opens it as the connection does; -1000 when nothing is delivered.
    int open(const base::Data &frame);
    // The plain block of the last C request, deciphered under the current session key.
    base::Data lastPlainBlock() const;

protected:
    void queueRequest(TradeRequestRecord record) override { records.push_back(std::move(record)); }
    void onPhoneCheckPassed() override { ++phoneChecksPassed; }
    void onReplySucceeded(int funcID) override { succeeded.push_back(funcID); }
};

} // namespace tradetest
