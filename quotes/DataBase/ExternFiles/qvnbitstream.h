#pragma once

// Expansion of bit-coded intraday (2942) and candle (2944) reply frames into frames of the plain
// layout, which the reply parsers then read as they read an uncoded reply.
//
// Every field is coded as a difference from the same field of the previous record (or from a
// related field of the same record): a prefix code chosen from a small fixed table, then that
// code's data bits, with an escape to a whole 32-bit value. Stream bit n is bit (n mod 8) of byte
// n / 8, least significant bit first, and a read of k bits returns stream bit p as its bit 0.

#include "DataBase/ComAPI.h"

#include <cstdint>
#include <span>

// One prefix code: the code's bits as they are read, how many data bits follow, and how the data
// becomes a difference (operator with its two parameters).
struct CodeTableEntry {
    uint8_t codeValue;
    uint8_t codeLength;
    uint8_t dataLength;
    char op;
    int32_t X;
    int32_t Y;
};

using CodeTable = std::span<const CodeTableEntry>;

// The code groups; within a group the codes are prefix-free.
extern const CodeTable KLineAmountCodes;
extern const CodeTable KLineVolumeCodes;
extern const CodeTable KLineRangeCodes;
extern const CodeTable KLineOpenCodes;
// Used by neither expander.
extern const CodeTable SpareCodes;
extern const CodeTable MinVolumeCodes;
extern const CodeTable MinPriceCodes;

enum BitStreamError : uint32_t {
    BitStreamOK = 0,
    BitLenError = 1,
    BitPosOutOfRange = 2,
    BitMoveOutOfRange = 3,
    BitNoMatch = 4,
    MinDateError = 5,
    MinDateNoData = 6,
    DayDateError = 7,
    DayDateNoData = 8,
};

const char *BitStreamErrorText(uint32_t error);

// The state of one expansion.
struct BitReader {
    explicit BitReader(ByteView data) : data(data), totalBits(int32_t(data.size() * 8)) {}

    ByteView data;
    int32_t totalBits;
    int32_t pos = 0;
    // The code group the next decode step matches against.
    CodeTable table;
    uint32_t error = BitStreamOK;
};

// Reads n bits at the position without moving; answers the bits read, min(n, bits left). -1 with
// BitPosOutOfRange when no bit is left, with BitLenError for n above 32, without error for n below 1.
int GetNoMove(BitReader &reader, int n, uint32_t &value);
// Matches one code of the reader's table and decodes its data into `value`; the matched entry, or
// null with the error set.
const CodeTableEntry *DecodeFindMatch(BitReader &reader, int32_t &value);
// One coded field against its base: base plus (or minus, with `subtract`) the difference, or the
// decoded value itself for an absolute code or a zero base; 0 when nothing matches.
int32_t DecodeData(BitReader &reader, int32_t base, bool subtract);

// The intraday slots of a day: the first session holds its opening and closing minutes, each
// later session starts one minute after its opening.
struct SessionSlots {
    static constexpr int MaxSessions = 8;

    // From a session block: u16 unread, u16 count k, k pairs of u16 open and close (HHMM).
    // At most 8 sessions, and only the pairs the block holds.
    explicit SessionSlots(ByteView sessionBlock);

    int count = 0;
    int open[MaxSessions] = {};
    int close[MaxSessions] = {};
    // Slots up to the end of each session.
    int cumulative[MaxSessions] = {};
};

// The HHMM time of a slot, 0 past the last session.
int GetZsTime(int slot, const SessionSlots &slots);
// The next minute-candle time (minute in bits 0 to 5, hour in bits 6 to 10) `step` minutes on, or
// an absolute one; 0 on error.
int32_t ExpandMinKLDate(BitReader &reader, int32_t prevTime, int step);
// The next day, week or month date (yyyymmdd) `step` on as a plain number, day d of the next
// month number, or an absolute one; 0 on error.
int32_t ExpandDayKLDate(BitReader &reader, int32_t prevDate, int step);

// Largest expansions made: a whole day of minutes with hold volumes, and the largest candle frame
// whose body length the 16-bit header field can state.
constexpr uint32_t MaxExpandedMinDataSize = 1440 * 20 + 14;
constexpr uint32_t MaxExpandedKLineDataSize = 0xFFFF + 7;

// Expands a bit-coded intraday frame into `out`. `size` becomes the bytes the expansion takes
// (0 for a frame that is refused: not a coded 2942, a session block outside the body, or more
// minutes than a day holds); a smaller `out` is left untouched. `sessionBlock` is pointed at the
// frame's session block whenever the frame is not refused, before any size check.
//
// Answers the minutes written: all of them on success. A stream that fails part-way answers 0 and
// leaves a full-length frame whose undecoded minutes are zero; a plain tail missing from the body
// answers the coded minutes only.
int NewExpandMinData(ByteView frame, std::span<uint8_t> out, uint32_t &size, ByteView *sessionBlock);
// Expands a bit-coded candle frame into `out`. `size` as above (0 for a frame that is not a coded
// 2944 or whose expansion is too long for a frame). Answers the candles written; a stream that
// fails part-way answers the complete candles and leaves the output's body length 0.
int NewExpandKLineData(ByteView frame, std::span<uint8_t> out, uint32_t &size);
