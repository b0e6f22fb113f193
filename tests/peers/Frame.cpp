#include "Frame.h"

#include "DataBase/NTDataPageHead.h"

namespace peers {

std::string Frame::encode(std::optional<uint32_t> announcedLength) const {
    uint32_t length = announcedLength.value_or(uint32_t(body.length()));
    base::Data out;
    ComAPI::WriteByte(out, seqID);
    ComAPI::WriteShort(out, type);
    ComAPI::WriteShort(out, attribute);
    if (type == NTDataPageHead::LongHeaderType)
        ComAPI::WriteInt(out, int32_t(length));
    else
        ComAPI::WriteShort(out, int32_t(length));
    out.append(body);
    return out.toString();
}

std::optional<ReceivedFrame> takeRequest(std::vector<uint8_t> &buffer) {
    if (buffer.size() < NTDataPageHead::Size)
        return std::nullopt;
    uint32_t pos = 0;
    ReceivedFrame frame;
    frame.seqID = uint8_t(ComAPI::ReadNum(buffer, pos, 1));
    frame.type = uint16_t(ComAPI::ReadNum(buffer, pos, 2));
    frame.attribute = uint16_t(ComAPI::ReadNum(buffer, pos, 2));
    uint32_t length = ComAPI::ReadNum(buffer, pos, 2);
    if (buffer.size() < pos + length)
        return std::nullopt;
    frame.body.assign(buffer.begin() + pos, buffer.begin() + pos + length);
    buffer.erase(buffer.begin(), buffer.begin() + pos + length);
    return frame;
}

} // namespace peers
