#pragma once

#include "base/Data.h"

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Read-only bytes a reader works on: one frame, one file record, never a whole receive buffer.
using ByteView = std::span<const uint8_t>;

// Little-endian codec of the quote protocol and of the chart files, and the device id.
//
// Readers take the bytes and a cursor owned by the caller. A reader that finds fewer bytes behind
// the cursor than its value needs answers 0 (NO, the empty string) and leaves the cursor where it
// was, so a reply that is too short decodes to zeros and empty strings.
class ComAPI {
public:
    ComAPI() = delete;

    static int8_t ReadByte(ByteView buf, uint32_t &pos);
    static int16_t ReadShort(ByteView buf, uint32_t &pos);
    static int32_t ReadInt(ByteView buf, uint32_t &pos);
    // Three bytes sign-extended from bit 23.
    static int32_t ReadInt24(ByteView buf, uint32_t &pos);
    static float ReadFloat(ByteView buf, uint32_t &pos);
    static int64_t ReadLongLong(ByteView buf, uint32_t &pos);
    // `width` bytes (1 to 4) zero-extended; any other width reads nothing and answers 0.
    static uint32_t ReadNum(ByteView buf, uint32_t &pos, int width);
    // Copies `len` bytes into `out`; false, nothing copied and the cursor unchanged when short.
    static bool ReadData(ByteView buf, uint32_t &pos, void *out, uint32_t len);
    // A signed 16-bit byte count and that many bytes of UTF-8. Without 2 bytes for the count: empty,
    // cursor unchanged. A count below 1 or beyond the bytes left: empty, cursor just past the count.
    // Otherwise the cursor moves past the bytes; an embedded zero byte ends the text, and bytes that
    // are not UTF-8 give the empty string.
    static std::string ReadString(ByteView buf, uint32_t &pos);
    // Calls `readRow(i)` for the rows a reply announces, stopping once the cursor has reached the
    // end of the frame or a row has read nothing: a count the bytes cannot hold makes no empty rows,
    // while a row cut short by the end is still read (its missing fields zero). Answers the rows read.
    template <class ReadRow>
    static int64_t ReadRows(ByteView buf, uint32_t &pos, int64_t count, ReadRow &&readRow) {
        int64_t rows = 0;
        while (rows < count && pos < buf.size()) {
            uint32_t start = pos;
            readRow(rows++);
            if (pos == start)
                break;
        }
        return rows;
    }

    static void WriteByte(base::Data &buf, int32_t num);
    static void WriteShort(base::Data &buf, int32_t num);
    static void WriteInt(base::Data &buf, int32_t num);
    static void WriteFloat(base::Data &buf, float num);
    static void WriteLongLong(base::Data &buf, int64_t num);
    // An unsigned 16-bit byte count, then the bytes. A text longer than a count can say is cut
    // at the last whole character that fits, so the count always matches the bytes written.
    static void WriteString(base::Data &buf, std::string_view str);
    // The patch writer: a negative position appends and stays negative; otherwise the 4 bytes at
    // the position are overwritten (growing the buffer at its end) and the position moves by 4.
    // A position past the end of the buffer writes nothing and answers false.
    static bool WriteInt(base::Data &buf, int32_t num, int32_t &pos);

    // Appends a plain 7-byte frame header and the body; the sequence id is the low byte of `tag`,
    // 0 going out as 123. A body longer than the header's 16-bit length refuses (false, nothing appended).
    static bool MakeNTDataPage(base::Data &buf, int type, ByteView body, int tag);

    // "301", 11 characters that stay the same on this device, and 5 random digits.
    static std::string getDeviceID();
};
