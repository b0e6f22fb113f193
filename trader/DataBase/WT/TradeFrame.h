#pragma once

#include "base/Data.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Largest payload, text or block length the trade gateway may announce; anything above it, or a
// negative length, is a protocol error.
inline constexpr int32_t kTradeMaxLength = 16 * 1024 * 1024;

// Packet types of the frame header.
enum TradePackType : char { kTradePackC = 12, kTradePackD = 13, kTradePackF = 15 };

// The 22-byte header in front of every frame, both directions; all integers little-endian.
// `checksum` is the CRC-32 of every frame byte from offset 4 on, payload included.
struct CommPackInfo {
    static constexpr size_t kSize = 22;

    int32_t checksum = 0;
    char compressed = 0;
    char packtype = 0;
    int32_t cookie = 0;
    int32_t synID = 0;
    int32_t rawLength = 0;
    int32_t datalen = 0;

    // Reads the header fields from the first 22 bytes.
    static CommPackInfo read(const uint8_t *bytes);
    void write(uint8_t *bytes) const;
};

// The frame of `header` and `payload`: `datalen` and `checksum` are set from the payload.
base::Data makeTradeFrame(CommPackInfo header, const uint8_t *payload, size_t length);

// One step of cutting a receive buffer into frames.
struct TradeFrameCut {
    enum class Kind {
        NeedMore, // the buffer holds no whole frame yet
        Deliver,  // `payload` (inflated when the frame was compressed) is to be opened
        Drop, // the frame is consumed with nothing delivered: bad checksum, empty payload, failed inflation
        Corrupt, // the header announces an impossible length: the stream cannot be trusted any more
    };
    Kind kind = Kind::NeedMore;
    size_t consumed = 0; // bytes to remove from the front of the buffer
    CommPackInfo header;
    base::Data payload;
};
TradeFrameCut cutTradeFrame(const uint8_t *bytes, size_t length);

// zlib-inflates `length` bytes that must make exactly `expected` bytes; nothing otherwise.
std::optional<base::Data> inflateExactly(const uint8_t *bytes, size_t length, size_t expected);

// Little-endian 32-bit fields.
int32_t readInt32LE(const uint8_t *bytes);
void writeInt32LE(uint8_t *bytes, int32_t value);
