// Arbitrary bytes as a receive buffer: frames are cut out of it as the quote connection does, and
// each frame is read by a sequence of readers that its own bytes choose, then decoded as quote
// rows and formatted. Readers must stay inside their frame and never move the cursor backwards.
#include "DataBase/ComAPI.h"
#include "DataBase/NTDataPageHead.h"
#include "DataBase/NetData/StockQuoteInf.h"
#include "base/Str.h"

#include <cstdlib>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

// One reader chosen by `op`, checking that the cursor only moves forward and stays in the frame.
void readOne(ByteView frame, uint32_t &pos, uint8_t op) {
    uint32_t before = pos;
    switch (op % 10) {
    case 0:
        ComAPI::ReadByte(frame, pos);
        break;
    case 1:
        ComAPI::ReadShort(frame, pos);
        break;
    case 2:
        ComAPI::ReadInt(frame, pos);
        break;
    case 3:
        ComAPI::ReadInt24(frame, pos);
        break;
    case 4:
        ComAPI::ReadFloat(frame, pos);
        break;
    case 5:
        ComAPI::ReadLongLong(frame, pos);
        break;
    case 6:
        ComAPI::ReadNum(frame, pos, op / 10 % 6);
        break;
    case 7: {
        uint8_t out[16];
        ComAPI::ReadData(frame, pos, out, op / 10 % 17);
        break;
    }
    default:
        check(base::str::isValidUtf8(ComAPI::ReadString(frame, pos)));
    }
    check(pos >= before && pos <= frame.size());
}

// A list-reply row in the layout of the market list, every optional group present.
void readQuoteRow(ByteView frame, uint32_t &pos, StockQuoteInf &row) {
    row.code = ComAPI::ReadString(frame, pos);
    row.name = ComAPI::ReadString(frame, pos);
    row.decimal = ComAPI::ReadByte(frame, pos);
    row.type = ComAPI::ReadByte(frame, pos);
    for (int32_t *price :
         {&row.closeprice, &row.openprice, &row.newprice, &row.highprice, &row.lowprice, &row.amount})
        *price = ComAPI::ReadInt(frame, pos);
    row.vol = ComAPI::ReadInt(frame, pos);
    row.npSellVol = ComAPI::ReadInt(frame, pos);
    row.liangbi = ComAPI::ReadShort(frame, pos);
    row.huanshou = ComAPI::ReadShort(frame, pos);
    row.IncreaseSPD = ComAPI::ReadShort(frame, pos);
    row.weibi = ComAPI::ReadShort(frame, pos);
    row.ddx1 = ComAPI::ReadShort(frame, pos);
    row.ddz1 = ComAPI::ReadInt(frame, pos);
    for (int32_t *fund : {&row.fundIn, &row.fundOut, &row.fundIn5, &row.fundOut5, &row.fundAmount5})
        *fund = ComAPI::ReadInt(frame, pos);
}

void readFrame(const NTDataFrame &frame) {
    ByteView bytes = frame.bytes();
    uint32_t pos = frame.head().headerLength();
    for (uint32_t script = pos; script < bytes.size() && pos < bytes.size(); ++script)
        readOne(bytes, pos, bytes[script]);

    pos = frame.head().headerLength();
    int64_t count = ComAPI::ReadNum(bytes, pos, 2);
    StockBasicInf row;
    int64_t rows = ComAPI::ReadRows(bytes, pos, count, [&](int64_t) {
        readQuoteRow(bytes, pos, row);
        for (int32_t id = 0; id <= 541; ++id)
            row.FormatValue(id, int32_t(count % 12) - 1);
    });
    check(rows <= count && rows <= int64_t(bytes.size()));
    check(pos <= bytes.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    ByteView buffer(data, size);
    while (auto frame = NTDataFrame::first(buffer)) {
        check(frame->bytes().size() == frame->head().frameLength());
        readFrame(*frame);
        buffer = buffer.subspan(frame->bytes().size());
    }

    base::Data patched(data, size);
    int32_t pos = size > 0 ? int32_t(data[0]) - 8 : -1;
    ComAPI::WriteInt(patched, 0x01020304, pos);
    check(patched.length() <= size + 4);
    return 0;
}
