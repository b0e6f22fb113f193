#include "DataBase/ExternFiles/qvnbitstream.h"

#include "base/Log.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>
#include <optional>

namespace {

constexpr CodeTableEntry CodeTables[] = {
    {3, 3, 12, 'b', 12, 0},     {1, 2, 16, 'b', 16, 2048},   {0, 1, 24, 'b', 24, 34816},
    {7, 3, 32, 'D', 0, 0},      {1, 2, 12, 'b', 12, 0},      {0, 1, 16, 'b', 16, 2048},
    {3, 3, 24, 'b', 24, 34816}, {7, 3, 32, 'D', 0, 0},       {1, 2, 8, 'B', 8, 0},
    {0, 1, 16, 'B', 16, 256},   {3, 3, 24, 'B', 24, 65792},  {7, 3, 32, 'D', 0, 0},
    {1, 2, 8, 'b', 8, 0},       {0, 1, 16, 'b', 16, 128},    {3, 3, 24, 'b', 24, 32896},
    {7, 3, 32, 'D', 0, 0},      {0, 1, 4, 'b', 4, 0},        {1, 2, 8, 'b', 8, 8},
    {3, 3, 12, 'b', 12, 136},   {7, 4, 16, 'b', 16, 2184},   {15, 4, 32, 'D', 0, 0},
    {1, 2, 4, 'B', 4, 0},       {0, 1, 8, 'B', 8, 16},       {3, 3, 12, 'B', 12, 272},
    {7, 4, 16, 'B', 16, 4368},  {15, 5, 24, 'B', 24, 69904}, {31, 5, 32, 'D', 0, 0},
    {0, 1, 0, 'E', 0, 0},       {1, 2, 2, 'b', 2, 0},        {3, 3, 4, 'b', 4, 1},
    {7, 4, 8, 'b', 8, 9},       {15, 5, 16, 'b', 16, 137},   {31, 5, 32, 'D', 0, 0},
};

constexpr CodeTable group(size_t first, size_t count) {
    return CodeTable(CodeTables).subspan(first, count);
}

constexpr uint16_t MinDataType = 2942;
constexpr uint16_t KLineDataType = 2944;
constexpr uint16_t CompressedAttribute = 2;
constexpr uint32_t HeadSize = 7;
constexpr uint32_t MinHeadEnd = 14;
constexpr uint32_t SessionBlockOffset = 20;
constexpr uint32_t KLineStreamOffset = 13;
constexpr uint32_t KLineRecordsOffset = 10;

constexpr uint32_t lowBits(uint32_t value, int n) {
    return n >= 32 ? value : value & ((1u << n) - 1);
}

// Whether the eight bytes from the reader's byte lie in the stream: the bits from the position on
// can then be read as one little-endian word, 57 of them at least.
bool hasWord(const BitReader &reader) {
    return size_t(reader.pos / 8) + 8 <= reader.data.size();
}

uint64_t wordAt(const BitReader &reader) {
    uint64_t word;
    std::memcpy(&word, reader.data.data() + reader.pos / 8, sizeof word);
    if constexpr (std::endian::native == std::endian::big)
        word = __builtin_bswap64(word);
    return word >> (reader.pos % 8);
}

bool Move(BitReader &reader, int n) {
    if (int64_t(reader.pos) + n > reader.totalBits) {
        reader.error = BitMoveOutOfRange;
        return false;
    }
    reader.pos += n;
    return true;
}

int32_t applyOperator(const CodeTableEntry &entry, uint32_t v) {
    int length = entry.dataLength;
    uint32_t bias = uint32_t(entry.Y);
    switch (entry.op) {
    case 'E':
        return int32_t(uint32_t(entry.X) + bias);
    case 'P':
        return int32_t((v >= 32 ? 0 : 1u << v) + bias);
    case 'S': {
        uint32_t shift = uint32_t(entry.X) >> 16;
        return int32_t((shift >= 32 ? 0 : v << shift) + bias);
    }
    case 'Z': {
        uint32_t times = (v & 3) + 1;
        v = (v >> 2) + bias;
        for (uint32_t i = 0; i < times; ++i)
            v *= 10;
        return int32_t(v);
    }
    case 'b':
        if (length > 0 && length < 32 && (v >> (length - 1) & 1))
            v |= ~lowBits(~0u, length);
        return int32_t(int32_t(v) < 0 ? v - bias : v + bias);
    case 'm':
        if (length < 32)
            v |= ~lowBits(~0u, length);
        return int32_t(v - bias);
    case 'D':
    case 'M':
    case 's':
        return int32_t(v);
    default:
        return int32_t(v + bias);
    }
}

// What a field decodes to: the difference applied to its base, or the decoded value itself for an
// absolute code or a zero base.
int32_t againstBase(const CodeTableEntry &entry, int32_t value, int32_t base, bool subtract) {
    if (entry.op == 'D' || entry.op == 'M' || base == 0)
        return value;
    return int32_t(subtract ? uint32_t(base) - uint32_t(value) : uint32_t(base) + uint32_t(value));
}

// Every code is at most this long, so the next few stream bits name the code they start with.
constexpr int LongestCode = 5;
static_assert(std::all_of(std::begin(CodeTables), std::end(CodeTables),
                          [](const CodeTableEntry &entry) { return entry.codeLength <= LongestCode; }));

// A code group unrolled: for every value of the next LongestCode stream bits, the code they start
// with (the first of the group that matches, as DecodeFindMatch takes it), or none. The lengths
// are kept beside the entry, so that the next field's position is known without reading it.
struct UnrolledCode {
    const CodeTableEntry *entry = nullptr;
    uint8_t codeLength = 0;
    uint8_t fieldLength = 0; // code and data
};
using UnrolledCodes = std::array<UnrolledCode, 1 << LongestCode>;

constexpr UnrolledCodes unrolled(size_t first, size_t count) {
    UnrolledCodes codes{};
    for (uint32_t bits = 0; bits < codes.size(); ++bits) {
        for (size_t e = first; e < first + count; ++e) {
            const CodeTableEntry &entry = CodeTables[e];
            if (lowBits(bits, entry.codeLength) == entry.codeValue) {
                codes[bits] = {&entry, entry.codeLength, uint8_t(entry.codeLength + entry.dataLength)};
                break;
            }
        }
    }
    return codes;
}

constexpr UnrolledCodes KLineAmountUnrolled = unrolled(0, 4);
constexpr UnrolledCodes KLineVolumeUnrolled = unrolled(4, 4);
constexpr UnrolledCodes KLineRangeUnrolled = unrolled(8, 4);
constexpr UnrolledCodes KLineOpenUnrolled = unrolled(12, 4);
constexpr UnrolledCodes MinVolumeUnrolled = unrolled(21, 6);
constexpr UnrolledCodes MinPriceUnrolled = unrolled(27, 6);

// DecodeData for a field read from one word of the stream, without a check per step: a code and
// its data take at most 37 bits, and a word holds 57. False, with the reader untouched, near the
// end of the stream or when no code matches; the caller then takes the checked way.
bool decodeFromWord(BitReader &reader, const UnrolledCodes &codes, int32_t base, bool subtract,
                    int32_t &field) {
    if (!hasWord(reader))
        return false;
    uint64_t bits = wordAt(reader);
    const UnrolledCode &code = codes[bits & (codes.size() - 1)];
    if (!code.entry)
        return false;
    reader.pos += code.fieldLength;
    const CodeTableEntry &entry = *code.entry;
    uint32_t data = lowBits(uint32_t(bits >> code.codeLength), entry.dataLength);
    field = againstBase(entry, applyOperator(entry, data), base, subtract);
    return true;
}

uint16_t readU16(ByteView bytes, uint32_t offset) {
    return uint16_t(bytes[offset] | bytes[offset + 1] << 8);
}

void putU16(std::span<uint8_t> out, uint32_t offset, uint32_t value) {
    out[offset] = uint8_t(value);
    out[offset + 1] = uint8_t(value >> 8);
}

void putI32(std::span<uint8_t> out, uint32_t offset, int32_t value) {
    for (int i = 0; i < 4; ++i)
        out[offset + i] = uint8_t(uint32_t(value) >> (8 * i));
}

// The header fields of a coded reply of `type`, whose body lies wholly in the frame.
struct CodedHead {
    uint32_t bodyLength;
};

std::optional<CodedHead> codedHead(ByteView frame, uint16_t type, uint32_t minBodyLength) {
    if (frame.size() < HeadSize || readU16(frame, 1) != type || !(readU16(frame, 3) & CompressedAttribute))
        return std::nullopt;
    uint32_t bodyLength = readU16(frame, 5);
    if (bodyLength < minBodyLength || frame.size() < HeadSize + bodyLength)
        return std::nullopt;
    return CodedHead{bodyLength};
}

bool failed(const BitReader &reader) {
    if (reader.error == BitStreamOK)
        return false;
    base::log(base::LogLevel::Warning, BitStreamErrorText(reader.error));
    return true;
}

// How one field of a record is coded: its code group and what its difference applies to, the
// same field of the previous record or an earlier field of the same record.
struct FieldCode {
    const CodeTable *table;
    const UnrolledCodes *unrolled;
    bool onPrevious;
    int baseField;
    bool subtract;
};

// Decodes the fields of one record that follow its time, which is already in `record`; false,
// with the error printed, when the stream fails.
template <size_t N>
bool decodeRecord(BitReader &reader, std::span<const FieldCode> codes, const int32_t (&previous)[N],
                  int32_t (&record)[N]) {
    for (size_t i = 0; i < codes.size(); ++i) {
        const FieldCode &code = codes[i];
        int32_t base = code.onPrevious ? previous[code.baseField] : record[code.baseField];
        if (decodeFromWord(reader, *code.unrolled, base, code.subtract, record[i + 1]))
            continue;
        reader.table = *code.table;
        record[i + 1] = DecodeData(reader, base, code.subtract);
        if (failed(reader))
            return false;
    }
    return true;
}

} // namespace

const CodeTable KLineAmountCodes = group(0, 4);
const CodeTable KLineVolumeCodes = group(4, 4);
const CodeTable KLineRangeCodes = group(8, 4);
const CodeTable KLineOpenCodes = group(12, 4);
const CodeTable SpareCodes = group(16, 5);
const CodeTable MinVolumeCodes = group(21, 6);
const CodeTable MinPriceCodes = group(27, 6);

const char *BitStreamErrorText(uint32_t error) {
    static const char *const texts[] = {
        "Run successfully",
        "Get Bit Len Error",
        "Get Pos Out of Range",
        "Move To Pos Out of Range",
        "Decode Cannot Find Match",
        "expand min date error",
        "expand min date error:no data",
        "expand day date error",
        "expand day date error:no data",
    };
    return error < std::size(texts) ? texts[error] : "";
}

int GetNoMove(BitReader &reader, int n, uint32_t &value) {
    if (n > 32) {
        reader.error = BitLenError;
        return -1;
    }
    if (n < 1)
        return -1;
    if (reader.pos >= reader.totalBits) {
        reader.error = BitPosOutOfRange;
        return -1;
    }
    int count = std::min(n, reader.totalBits - reader.pos);
    uint64_t bits = 0;
    if (hasWord(reader)) {
        bits = wordAt(reader);
    } else {
        int firstByte = reader.pos / 8;
        int lastByte = (reader.pos + count - 1) / 8;
        for (int byte = lastByte; byte >= firstByte; --byte)
            bits = bits << 8 | reader.data[size_t(byte)];
        bits >>= reader.pos % 8;
    }
    value = lowBits(uint32_t(bits), count);
    return count;
}

const CodeTableEntry *DecodeFindMatch(BitReader &reader, int32_t &value) {
    uint32_t peek = 0;
    if (GetNoMove(reader, 16, peek) < 0)
        return nullptr;
    auto entry = std::find_if(reader.table.begin(), reader.table.end(), [&](const CodeTableEntry &code) {
        return lowBits(peek, code.codeLength) == code.codeValue;
    });
    if (entry == reader.table.end()) {
        reader.error = BitNoMatch;
        return nullptr;
    }
    if (!Move(reader, entry->codeLength))
        return nullptr;
    uint32_t data = 0;
    if (entry->dataLength > 0) {
        int read = GetNoMove(reader, entry->dataLength, data);
        if (read < 0)
            return nullptr;
        Move(reader, read);
    }
    value = applyOperator(*entry, data);
    return &*entry;
}

int32_t DecodeData(BitReader &reader, int32_t base, bool subtract) {
    int32_t value = 0;
    const CodeTableEntry *entry = DecodeFindMatch(reader, value);
    if (!entry)
        return 0;
    return againstBase(*entry, value, base, subtract);
}

SessionSlots::SessionSlots(ByteView sessionBlock) {
    if (sessionBlock.size() < 4)
        return;
    int pairs = int((sessionBlock.size() - 4) / 4);
    count = std::min({int(readU16(sessionBlock, 2)), MaxSessions, pairs});
    for (int i = 0; i < count; ++i) {
        open[i] = readU16(sessionBlock, 4 + 4 * i);
        close[i] = readU16(sessionBlock, 6 + 4 * i);
        int closeTime = close[i] < open[i] ? close[i] + 2400 : close[i];
        int minutes = (closeTime / 100 - open[i] / 100) * 60 + closeTime % 100 - open[i] % 100;
        cumulative[i] = i == 0 ? minutes + 1 : cumulative[i - 1] + minutes;
    }
}

int GetZsTime(int slot, const SessionSlots &slots) {
    for (int i = 0; i < slots.count; ++i) {
        if (slot >= slots.cumulative[i])
            continue;
        int minutes = i == 0 ? slot : slot - slots.cumulative[i - 1] + 1;
        int total = slots.open[i] % 100 + minutes;
        return (slots.open[i] / 100 + total / 60) % 24 * 100 + total % 60;
    }
    return 0;
}

int32_t ExpandMinKLDate(BitReader &reader, int32_t prevTime, int step) {
    uint32_t peek = 0;
    if (GetNoMove(reader, 16, peek) < 0) {
        reader.error = MinDateNoData;
        return 0;
    }
    if ((peek & 1) == 0) {
        Move(reader, 1);
        uint32_t time = uint32_t(prevTime);
        uint32_t minute = (time & 0x3F) + uint32_t(step);
        if (minute < 60)
            return int32_t((time & ~0x3Fu) | minute);
        uint32_t hour = ((time >> 6) + 1) & 0x1F;
        return int32_t((time & ~0x7FFu) | hour << 6 | ((minute - 60) & 0x3F));
    }
    if ((peek & 3) == 1) {
        reader.error = MinDateError;
        return 0;
    }
    uint32_t time = 0;
    if (!Move(reader, 2) || GetNoMove(reader, 32, time) < 0)
        return 0;
    Move(reader, 32);
    return int32_t(time);
}

int32_t ExpandDayKLDate(BitReader &reader, int32_t prevDate, int step) {
    uint32_t peek = 0;
    if (GetNoMove(reader, 16, peek) < 0) {
        reader.error = DayDateNoData;
        return 0;
    }
    if ((peek & 1) == 0) {
        Move(reader, 1);
        return int32_t(uint32_t(prevDate) + uint32_t(step));
    }
    if ((peek & 3) == 1) {
        Move(reader, 7);
        int64_t day = peek >> 2 & 0x1F;
        return int32_t(uint32_t(int64_t(prevDate) - prevDate % 100 + 100 + day));
    }
    uint32_t date = 0;
    if (!Move(reader, 2) || GetNoMove(reader, 32, date) < 0)
        return 0;
    Move(reader, 32);
    return int32_t(date);
}

int NewExpandMinData(ByteView frame, std::span<uint8_t> out, uint32_t &size, ByteView *sessionBlock) {
    size = 0;
    auto head = codedHead(frame, MinDataType, 22);
    if (!head)
        return 0;
    uint32_t blockLength = frame[19];
    uint32_t bodyEnd = HeadSize + head->bodyLength;
    if (SessionBlockOffset + blockLength > bodyEnd)
        return 0;
    ByteView block = frame.subspan(SessionBlockOffset, blockLength);
    if (sessionBlock)
        *sessionBlock = block;

    bool hold = frame[7] != 0;
    uint32_t recordSize = hold ? 20 : 16;
    uint32_t coded = readU16(frame, 14), plain = readU16(frame, 16);
    int step = frame[18];
    uint32_t needed = recordSize * (coded + plain) + MinHeadEnd;
    if (needed > MaxExpandedMinDataSize)
        return 0;
    size = needed;
    if (out.size() < needed)
        return 0;

    std::fill(out.begin(), out.begin() + needed, 0);
    putU16(out, 1, MinDataType);
    putU16(out, 5, needed - HeadSize);
    std::copy(frame.begin() + HeadSize, frame.begin() + MinHeadEnd, out.begin() + HeadSize);

    SessionSlots slots(block);
    ByteView stream =
        frame.subspan(SessionBlockOffset + blockLength, bodyEnd - SessionBlockOffset - blockLength);
    BitReader reader(stream);
    // time, price, total volume, average price, hold volume
    static const FieldCode codes[] = {
        {&MinPriceCodes, &MinPriceUnrolled, true, 1, false},
        {&MinVolumeCodes, &MinVolumeUnrolled, true, 2, false},
        {&MinPriceCodes, &MinPriceUnrolled, true, 3, false},
        {&MinPriceCodes, &MinPriceUnrolled, true, 4, false},
    };
    int32_t previous[5] = {};
    for (uint32_t i = 0; i < coded; ++i) {
        int32_t record[5] = {GetZsTime(int(i) * step, slots)};
        if (!decodeRecord(reader, std::span(codes, hold ? 4 : 3), previous, record))
            return 0;
        for (uint32_t field = 0; field < recordSize / 4; ++field)
            putI32(out, MinHeadEnd + i * recordSize + field * 4, record[field]);
        std::copy(record, record + 5, previous);
    }

    uint32_t plainSize = recordSize - 4;
    uint32_t usedBytes = uint32_t(reader.pos + 7) / 8;
    if (plain == 0 || stream.size() < plain * plainSize + usedBytes)
        return int(coded);
    const uint8_t *tail = stream.data() + stream.size() - plain * plainSize;
    for (uint32_t j = 0; j < plain; ++j) {
        uint32_t record = MinHeadEnd + (coded + j) * recordSize;
        putI32(out, record, GetZsTime(int(coded + j) * step, slots));
        std::memcpy(out.data() + record + 4, tail + j * plainSize, plainSize);
    }
    return int(coded + plain);
}

int NewExpandKLineData(ByteView frame, std::span<uint8_t> out, uint32_t &size) {
    size = 0;
    auto head = codedHead(frame, KLineDataType, 7);
    if (!head)
        return 0;
    bool hold = frame[7] != 0;
    uint32_t recordSize = hold ? 32 : 28;
    uint32_t count = readU16(frame, 10);
    int ktype = frame[12];
    uint32_t needed = count * recordSize + KLineRecordsOffset;
    if (needed > MaxExpandedKLineDataSize)
        return 0;
    size = needed;
    if (out.size() < needed)
        return 0;
    std::fill(out.begin(), out.begin() + needed, 0);

    static constexpr int steps[] = {0, 1, 5, 15, 30, 60, 0, 1, 7, 100};
    int step = ktype < int(std::size(steps)) ? steps[ktype] : 0;
    BitReader reader(frame.subspan(KLineStreamOffset, HeadSize + head->bodyLength - KLineStreamOffset));
    // time, open, high, low, close, volume, amount, hold
    static const FieldCode codes[] = {
        {&KLineOpenCodes, &KLineOpenUnrolled, true, 4, false},
        {&KLineRangeCodes, &KLineRangeUnrolled, false, 1, false},
        {&KLineRangeCodes, &KLineRangeUnrolled, false, 1, true},
        {&KLineRangeCodes, &KLineRangeUnrolled, false, 3, false},
        {&KLineVolumeCodes, &KLineVolumeUnrolled, true, 5, false},
        {&KLineAmountCodes, &KLineAmountUnrolled, true, 6, false},
        {&KLineAmountCodes, &KLineAmountUnrolled, true, 7, false},
    };
    int32_t previous[8] = {};
    for (uint32_t i = 0; i < count; ++i) {
        int32_t record[8] = {};
        record[0] = ktype > 5 ? ExpandDayKLDate(reader, previous[0], step)
                              : ExpandMinKLDate(reader, previous[0], step);
        if (failed(reader) || !decodeRecord(reader, std::span(codes, hold ? 7 : 6), previous, record))
            return int(i);
        for (uint32_t field = 0; field < recordSize / 4; ++field)
            putI32(out, KLineRecordsOffset + i * recordSize + field * 4, record[field]);
        std::copy(record, record + 8, previous);
    }
    putU16(out, 1, KLineDataType);
    putU16(out, 5, needed - HeadSize);
    out[7] = frame[7];
    putU16(out, 8, count);
    return int(count);
}
