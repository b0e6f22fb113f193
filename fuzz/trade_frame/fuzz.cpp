// Feeds arbitrary bytes to the trade reply path: cut as a receive stream into frames, each opened
// by the codec, the whole input parsed once more as a reply text, and the input handed to the
// trade connection's reader in pieces whose sizes the input's first bytes choose.
#include "DataBase/TradeDataBase/TradeDataBase.h"
#include "DataBase/WT/TradeFrame.h"
#include "DataBase/WT/TradeNetCodec.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

class FuzzCodec : public TradeNetCodec {
protected:
    void queueRequest(TradeRequestRecord) override {}
    void onPhoneCheckPassed() override {}
    void onReplySucceeded(int) override {}
};

void openFrames(const uint8_t *data, size_t size) {
    FuzzCodec codec;
    // The phone check that a D reply of the input may answer, so that an accepted reply sets a key.
    codec.requestD({}, "zira测试", "13800138000", "123456");
    size_t at = 0;
    while (at < size) {
        TradeFrameCut cut = cutTradeFrame(data + at, size - at);
        if (cut.kind == TradeFrameCut::Kind::NeedMore || cut.kind == TradeFrameCut::Kind::Corrupt)
            break;
        if (cut.kind == TradeFrameCut::Kind::Deliver)
            codec.processRspData(cut.payload.bytes(), cut.payload.length(), cut.header);
        at += cut.consumed;
    }
    codec.parseC(data, size);
}

// The connection's reader takes the stream as the socket would hand it over: in pieces.
void readInPieces(const uint8_t *data, size_t size) {
    auto connection = TradeDataBase::create();
    auto socket = base::make<RunLoopSocket>();
    size_t at = 0;
    for (size_t turn = 0; at < size; ++turn) {
        size_t piece = 1 + data[turn % size] % 64;
        piece = std::min(piece, size - at);
        connection->onSocket(*socket, base::Data(data + at, piece), 0);
        at += piece;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    openFrames(data, size);
    readInPieces(data, size);
    return 0;
}
