#include "TradeTestFrames.h"

#include "DataBase/WT/TradeCipher.h"
#include "DataBase/WT/TradeFrame.h"

namespace tradetest {

int RecordingCodec::open(const base::Data &frame) {
    TradeFrameCut cut = cutTradeFrame(frame.bytes(), frame.length());
    if (cut.kind != TradeFrameCut::Kind::Deliver)
        return -1000;
    return processRspData(cut.payload.bytes(), cut.payload.length(), cut.header);
}

base::Data RecordingCodec::lastPlainBlock() const {
    const base::Data &frame = records.back().data;
    base::Data block = frame.subdata(CommPackInfo::kSize, frame.length() - CommPackInfo::kSize);
    dec_aes(block.bytes(), block.length(), m_privatepws, 16, block.mutableBytes());
    return block;
}

} // namespace tradetest
