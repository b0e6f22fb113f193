// Arbitrary bytes as the body of a bit-coded intraday reply and of a bit-coded candle reply, and
// as a whole frame. The expanders must stay inside the frame and inside an output buffer of
// exactly the size they ask for, and what they answer must agree with the frame they wrote.
#include "DataBase/ExternFiles/qvnbitstream.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

void check(bool condition) {
    if (!condition)
        std::abort();
}

uint32_t u16At(const std::vector<uint8_t> &bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8;
}

std::vector<uint8_t> frameOf(uint16_t type, const uint8_t *body, size_t size) {
    size = std::min<size_t>(size, 0xFFFF);
    std::vector<uint8_t> frame = {0, uint8_t(type), uint8_t(type >> 8), 2,
                                  0, uint8_t(size), uint8_t(size >> 8)};
    frame.insert(frame.end(), body, body + size);
    return frame;
}

void expandMin(const std::vector<uint8_t> &frame) {
    uint32_t size = 0;
    ByteView sessions;
    std::vector<uint8_t> none;
    check(NewExpandMinData(frame, none, size, &sessions) == 0);
    check(size <= MaxExpandedMinDataSize);
    check(sessions.empty() || (sessions.data() >= frame.data() &&
                               sessions.data() + sessions.size() <= frame.data() + frame.size()));
    if (size == 0)
        return;
    std::vector<uint8_t> out(size);
    uint32_t again = 0;
    int records = NewExpandMinData(frame, out, again, nullptr);
    check(again == size);
    uint32_t recordSize = frame[7] ? 20 : 16;
    uint32_t all = (size - 14) / recordSize;
    check(records >= 0 && uint32_t(records) <= all);
    check(u16At(out, 1) == 2942 && u16At(out, 5) == size - 7);
    SessionSlots slots(sessions);
    for (uint32_t i = 0; i < all; ++i) {
        int time = GetZsTime(int(i), slots);
        check(time >= 0 && time < 2400 && time % 100 < 60);
    }
}

void expandKLine(const std::vector<uint8_t> &frame) {
    uint32_t size = 0;
    std::vector<uint8_t> none;
    check(NewExpandKLineData(frame, none, size) == 0);
    check(size <= MaxExpandedKLineDataSize);
    if (size == 0)
        return;
    std::vector<uint8_t> out(size);
    int records = NewExpandKLineData(frame, out, size);
    uint32_t count = u16At(frame, 10);
    check(records >= 0 && uint32_t(records) <= count);
    uint32_t bodyLength = u16At(out, 5);
    check(uint32_t(records) == count ? bodyLength == size - 7 : bodyLength == 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    expandMin(frameOf(2942, data, size));
    expandKLine(frameOf(2944, data, size));
    std::vector<uint8_t> whole(data, data + size);
    expandMin(whole);
    expandKLine(whole);
    return 0;
}
