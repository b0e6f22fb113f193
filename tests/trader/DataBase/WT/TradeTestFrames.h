#pragma once

#include "DataBase/WT/TradeNetCodec.h"
#include "peers/TradeFrames.h"

#include "base/Data.h"

#include <cstdint>
#include <string>
#include <vector>

// A codec that records what it hands on, and the reply builders, for the trade tests.
namespace tradetest {

using peers::acceptReply;
using peers::deriveKey;
using peers::fromHex;
using peers::refuseReply;
using peers::replyFrame;
using peers::sealBlock;
using peers::toHex;

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
