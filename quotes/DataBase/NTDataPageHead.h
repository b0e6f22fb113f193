#pragma once

#include "DataBase/ComAPI.h"

#include <cstdint>
#include <optional>

// The header in front of every quote frame: u8 sequence id, u16 message type, u16 attribute and
// the body length, a u16 (7-byte header) except on code-table replies, which carry a u32 (9 bytes).
struct NTDataPageHead {
    static constexpr uint32_t Size = 7;
    static constexpr uint32_t LongSize = 9;
    // Replies of this type carry the long header.
    static constexpr uint16_t LongHeaderType = 2956;
    static constexpr uint32_t MaxBodyLength = 0xFFFF;
    // The id a frame carries when its sequence id is 0 (the navigation request restarts the count).
    static constexpr uint8_t RestartSeqID = 123;
    static constexpr uint16_t PlainAttribute = 0;

    uint8_t seqID = 0;
    uint16_t type = 0;
    uint16_t attribute = 0;
    uint32_t bodyLength = 0;

    uint32_t headerLength() const { return type == LongHeaderType ? LongSize : Size; }
    uint64_t frameLength() const { return uint64_t(headerLength()) + bodyLength; }

    // The reply header at the front of `bytes`; nothing until all of it has arrived.
    static std::optional<NTDataPageHead> read(ByteView bytes);
    // Appends a 7-byte request header and the body; a sequence id of 0 goes out as 123. A body
    // longer than the 16-bit length can describe is refused: false, nothing appended.
    static bool append(base::Data &out, uint8_t seqID, uint16_t type, uint16_t attribute, ByteView body);
};

// Exactly one frame: its header and the body length the header announces, never a byte of the
// frame behind it, so that a reader running past the body finds the end instead of a neighbour.
class NTDataFrame {
public:
    // The first frame of a receive buffer once all of its bytes have arrived.
    static std::optional<NTDataFrame> first(ByteView buffer);

    const NTDataPageHead &head() const { return head_; }
    // Header and body: parsers start their cursor behind the header.
    ByteView bytes() const { return bytes_; }
    ByteView body() const { return bytes_.subspan(head_.headerLength()); }
    // A frame without a body carries no reply data.
    bool isEmpty() const { return head_.bodyLength == 0; }

private:
    NTDataFrame(NTDataPageHead head, ByteView bytes) : head_(head), bytes_(bytes) {}

    NTDataPageHead head_;
    ByteView bytes_;
};
