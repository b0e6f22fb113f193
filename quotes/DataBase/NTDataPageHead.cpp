#include "DataBase/NTDataPageHead.h"

std::optional<NTDataPageHead> NTDataPageHead::read(ByteView bytes) {
    uint32_t pos = 0;
    NTDataPageHead head;
    head.seqID = uint8_t(ComAPI::ReadNum(bytes, pos, 1));
    head.type = uint16_t(ComAPI::ReadNum(bytes, pos, 2));
    head.attribute = uint16_t(ComAPI::ReadNum(bytes, pos, 2));
    if (bytes.size() < head.headerLength())
        return std::nullopt;
    head.bodyLength = ComAPI::ReadNum(bytes, pos, head.headerLength() == LongSize ? 4 : 2);
    return head;
}

bool NTDataPageHead::append(base::Data &out, uint8_t seqID, uint16_t type, uint16_t attribute,
                            ByteView body) {
    if (body.size() > MaxBodyLength)
        return false;
    ComAPI::WriteByte(out, seqID == 0 ? RestartSeqID : seqID);
    ComAPI::WriteShort(out, type);
    ComAPI::WriteShort(out, attribute);
    ComAPI::WriteShort(out, int32_t(body.size()));
    out.append(body.data(), body.size());
    return true;
}

std::optional<NTDataFrame> NTDataFrame::first(ByteView buffer) {
    auto head = NTDataPageHead::read(buffer);
    if (!head || buffer.size() < head->frameLength())
        return std::nullopt;
    return NTDataFrame(*head, buffer.first(size_t(head->frameLength())));
}
