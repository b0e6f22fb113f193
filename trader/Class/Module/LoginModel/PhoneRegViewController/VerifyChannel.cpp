#include "Class/Module/LoginModel/PhoneRegViewController/VerifyChannel.h"

#include "DataBase/ComAPI.h"

namespace VerifyChannel {

namespace {

constexpr int kSequence = 123;

base::Data framed(int type, const base::Data &body) {
    base::Data packet;
    ComAPI::MakeNTDataPage(packet, type, body.span(), kSequence);
    return packet;
}

uint16_t u16(std::span<const uint8_t> bytes, size_t at) {
    return uint16_t(bytes[at] | (bytes[at + 1] << 8));
}

// A string at `pos` that ends within the body; `pos` moves past it.
std::optional<std::string> readString(std::span<const uint8_t> body, size_t &pos) {
    if (body.size() - pos < 2)
        return std::nullopt;
    size_t length = u16(body, pos);
    if (body.size() - pos - 2 < length)
        return std::nullopt;
    std::string text(reinterpret_cast<const char *>(body.data() + pos + 2), length);
    pos += 2 + length;
    return text;
}

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

} // namespace

base::Data initLoginPacket(const std::string &deviceID) {
    base::Data body;
    ComAPI::WriteString(body, "2.00");
    ComAPI::WriteString(body, deviceID);
    ComAPI::WriteString(body, "ipad");
    uint8_t zero = 0;
    body.append(&zero, 1);
    return framed(kInitLoginType, body);
}

base::Data passwordPacket(const std::string &mobile) {
    base::Data body;
    ComAPI::WriteString(body, mobile);
    return framed(kPasswordType, body);
}

std::optional<Packet> nextPacket(std::span<const uint8_t> buffer) {
    if (buffer.size() < kHeaderSize)
        return std::nullopt;
    size_t length = u16(buffer, 5);
    if (buffer.size() - kHeaderSize < length)
        return std::nullopt;
    return Packet{u16(buffer, 1), buffer.subspan(kHeaderSize, length)};
}

std::optional<Address> readAddress(std::span<const uint8_t> body) {
    if (body.size() < 2)
        return std::nullopt;
    size_t count = u16(body, 0), pos = 2;
    std::optional<std::string> first;
    for (size_t i = 0; i < count; ++i) {
        std::optional<std::string> text = readString(body, pos);
        if (!text)
            return std::nullopt;
        if (i == 0)
            first = std::move(text);
    }
    if (!first)
        return std::nullopt;
    size_t colon = first->rfind(':');
    if (colon == std::string::npos || colon == 0)
        return std::nullopt;
    std::string port = first->substr(colon + 1);
    if (port.empty() || port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    int number = std::stoi(port);
    if (number < 1 || number > 65535)
        return std::nullopt;
    return Address{first->substr(0, colon), number};
}

std::optional<PasswordReply> readPassword(std::span<const uint8_t> body) {
    if (body.empty())
        return std::nullopt;
    size_t pos = 1;
    std::optional<std::string> text = readString(body, pos);
    if (!text)
        return std::nullopt;
    return PasswordReply{body[0], std::move(*text)};
}

std::string DecodeCheckNum(const std::string &coded, const std::string &phone) {
    std::string out;
    for (size_t k = 0; k < coded.size() / 2; ++k) {
        int b = hexValue(coded[2 * k]) * 16 + hexValue(coded[2 * k + 1]);
        int d = k < phone.size() && phone[k] >= '0' && phone[k] <= '9' ? phone[k] - '0' : 0;
        out += std::to_string(b ^ d);
    }
    return out;
}

} // namespace VerifyChannel
