#pragma once

#include "DataBase/ComAPI.h"
#include "base/Data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace peers {

// A frame as the server writes it: u8 sequence id, u16 type, u16 attribute, body length, body.
struct Frame {
    Frame() = default;
    Frame(uint8_t id, uint16_t messageType, uint16_t attributes = 0)
        : seqID(id), type(messageType), attribute(attributes) {}

    uint8_t seqID = 0;
    uint16_t type = 0;
    uint16_t attribute = 0;
    base::Data body;

    // The bytes on the wire. Code-table replies carry the long header (u32 body length), every
    // other type the short one (u16). `announcedLength` replaces the length the header states,
    // while the body written stays as it is: a header that promises more than ever comes.
    std::string encode(std::optional<uint32_t> announcedLength = std::nullopt) const;
};

// A request as a client sent it. Requests always carry the short header, code-table requests too.
struct ReceivedFrame {
    int connection = 0; // 1 for the first connection the server accepted
    uint8_t seqID = 0;
    uint16_t type = 0;
    uint16_t attribute = 0;
    std::vector<uint8_t> body;

    ByteView bytes() const { return body; }
};

// Cuts the first complete request out of the front of `buffer`; nothing until all of it arrived.
std::optional<ReceivedFrame> takeRequest(std::vector<uint8_t> &buffer);

} // namespace peers
