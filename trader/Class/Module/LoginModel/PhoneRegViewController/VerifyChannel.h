#pragma once

#include "base/Data.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The mobile verification's side channel to a broker's quote address: the two requests it writes
// and the readers of what comes back, as functions the verification screen and tests share.
// Packets have the quote protocol's 7-byte header (sequence byte, type, attribute, body length;
// little-endian); strings are a 16-bit byte count and UTF-8 bytes. A reader looks only at the
// packet's own body, whatever follows it in the buffer.
namespace VerifyChannel {

constexpr size_t kHeaderSize = 7;
constexpr int kInitLoginType = 1000;
constexpr int kPasswordType = 1904;

// The first request: version "2.00", the device identifier, "ipad" and a zero byte.
base::Data initLoginPacket(const std::string &deviceID);
// The request for the check code of a mobile number.
base::Data passwordPacket(const std::string &mobile);

struct Packet {
    int type = 0;
    std::span<const uint8_t> body;
};
// The first whole packet of the buffer; none while it is not complete.
std::optional<Packet> nextPacket(std::span<const uint8_t> buffer);

struct Address {
    std::string host;
    int port = 0;
};
// The verification address of a 1000 reply: a count and that many strings, all within the body,
// the first "host:port" with a port of 1 to 65535; none otherwise.
std::optional<Address> readAddress(std::span<const uint8_t> body);

struct PasswordReply {
    int result = 0;
    std::string text;
};
// A 1904 reply: a result byte and a string, within the body; none otherwise.
std::optional<PasswordReply> readPassword(std::span<const uint8_t> body);

// The check code hidden in a coded text: each pair of hexadecimal digits of `coded`, XOR the
// decimal digit of `phone` at the pair's position (0 past its end or for no digit), written as
// decimal numbers one after another; an odd last character is ignored.
std::string DecodeCheckNum(const std::string &coded, const std::string &phone);

} // namespace VerifyChannel
