#include "Data.h"

#include <algorithm>
#include <cstring>

namespace base {

namespace {
constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+')
        return 62;
    if (c == '/')
        return 63;
    return -1;
}
} // namespace

Data::Data(const void *bytes, size_t length) {
    append(bytes, length);
}

void Data::append(const void *bytes, size_t length) {
    if (length == 0)
        return;
    auto p = static_cast<const uint8_t *>(bytes);
    bytes_.insert(bytes_.end(), p, p + length);
}

void Data::replace(size_t offset, size_t length, const void *bytes, size_t newLength) {
    offset = std::min(offset, bytes_.size());
    length = std::min(length, bytes_.size() - offset);
    auto p = static_cast<const uint8_t *>(bytes);
    auto at = bytes_.begin() + static_cast<std::ptrdiff_t>(offset);
    at = bytes_.erase(at, at + static_cast<std::ptrdiff_t>(length));
    if (newLength)
        bytes_.insert(at, p, p + newLength);
}

void Data::removeFront(size_t length) {
    bytes_.erase(bytes_.begin(),
                 bytes_.begin() + static_cast<std::ptrdiff_t>(std::min(length, bytes_.size())));
}

Data Data::subdata(size_t offset, size_t length) const {
    if (offset >= bytes_.size())
        return {};
    return Data(bytes_.data() + offset, std::min(length, bytes_.size() - offset));
}

std::string Data::description() const {
    static const char hex[] = "0123456789abcdef";
    std::string out = "<";
    for (size_t i = 0; i < bytes_.size(); ++i) {
        if (i && i % 4 == 0)
            out += ' ';
        out += hex[bytes_[i] >> 4];
        out += hex[bytes_[i] & 15];
    }
    return out + ">";
}

std::string Data::base64(size_t lineLength, std::string_view lineBreak) const {
    std::string out;
    size_t n = bytes_.size();
    for (size_t i = 0; i < n; i += 3) {
        if (lineLength && i && i / 3 * 4 % lineLength == 0)
            out += lineBreak;
        uint32_t v = uint32_t(bytes_[i]) << 16;
        if (i + 1 < n)
            v |= uint32_t(bytes_[i + 1]) << 8;
        if (i + 2 < n)
            v |= bytes_[i + 2];
        out += alphabet[(v >> 18) & 63];
        out += alphabet[(v >> 12) & 63];
        out += i + 1 < n ? alphabet[(v >> 6) & 63] : '=';
        out += i + 2 < n ? alphabet[v & 63] : '=';
    }
    return out;
}

namespace {

// The sextets of the alphabet's characters in `text`, and the count of "=" among them; nothing
// when a character of the alphabet follows padding.
struct Sextets {
    std::vector<int> values;
    size_t padding = 0;
    bool afterPadding = false;
};

Sextets sextets(std::string_view text) {
    Sextets out;
    for (char c : text) {
        if (c == '=') {
            ++out.padding;
            continue;
        }
        int v = sextet(c);
        if (v < 0)
            continue;
        out.afterPadding |= out.padding > 0;
        out.values.push_back(v);
    }
    return out;
}

Data decode(const std::vector<int> &values) {
    Data out;
    uint32_t acc = 0;
    int bits = 0;
    for (int v : values) {
        acc = (acc << 6) | uint32_t(v);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            uint8_t byte = uint8_t(acc >> bits);
            out.append(&byte, 1);
        }
    }
    return out;
}

} // namespace

std::optional<Data> Data::fromBase64(std::string_view text) {
    Sextets s = sextets(text);
    size_t n = s.values.size();
    if (s.afterPadding || n % 4 == 1 || s.padding > 2 || (s.padding && (n + s.padding) % 4 != 0))
        return std::nullopt;
    return decode(s.values);
}

Data Data::fromBase64Lenient(std::string_view text) {
    return decode(sextets(text).values);
}

} // namespace base
