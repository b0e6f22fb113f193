// Feeds arbitrary bytes to the trade reply path: cut as a receive stream into frames, each opened
// by the codec, and the whole input parsed once more as a reply text.
#include "DataBase/WT/TradeFrame.h"
#include "DataBase/WT/TradeNetCodec.h"

#include <cstddef>
#include <cstdint>

namespace {

class FuzzCodec : public TradeNetCodec {
protected:
    void queueRequest(TradeRequestRecord) override {}
    void onPhoneCheckPassed() override {}
    void onReplySucceeded(int) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
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
    return 0;
}
