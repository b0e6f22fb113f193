#include "Base64.h"

#include <algorithm>

namespace {

const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// Six bits of a character of the alphabet, or -1 for any other character.
int sextet(unsigned char c) {
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

void appendGroup(std::string &out, const uint8_t *in, size_t count) {
    uint32_t bits = uint32_t(in[0]) << 16 | (count > 1 ? uint32_t(in[1]) << 8 : 0) | (count > 2 ? in[2] : 0);
    out += alphabet[bits >> 18 & 63];
    out += alphabet[bits >> 12 & 63];
    out += count > 1 ? alphabet[bits >> 6 & 63] : '=';
    out += count > 2 ? alphabet[bits & 63] : '=';
}

// The bytes of a group of 2 to 4 sextets.
void appendBytes(base::Data &out, const int *group, size_t count) {
    uint8_t bytes[3] = {uint8_t(group[0] << 2 | group[1] >> 4), uint8_t(group[1] << 4 | group[2] >> 2),
                        uint8_t(group[2] << 6 | group[3])};
    out.append(bytes, count - 1);
}

} // namespace

std::string NewBase64Encode(const void *buffer, size_t length, bool separateLines) {
    const auto *in = static_cast<const uint8_t *>(buffer);
    const size_t lineBytes = separateLines ? 48 : std::max<size_t>(length, 1);
    std::string out;
    out.reserve((length + 2) / 3 * 4 + (separateLines ? length / 48 * 2 : 0));
    for (size_t lineStart = 0; lineStart < length; lineStart += lineBytes) {
        if (lineStart > 0)
            out += "\r\n";
        size_t lineEnd = std::min(length, lineStart + lineBytes);
        for (size_t i = lineStart; i < lineEnd; i += 3)
            appendGroup(out, in + i, std::min<size_t>(3, lineEnd - i));
    }
    return out;
}

base::Data NewBase64Decode(std::string_view input) {
    base::Data out;
    int group[4] = {};
    size_t count = 0;
    for (char c : input) {
        int value = sextet(static_cast<unsigned char>(c));
        if (value < 0)
            continue;
        group[count++] = value;
        if (count == 4) {
            appendBytes(out, group, 4);
            count = 0;
        }
    }
    if (count >= 2) {
        std::fill(group + count, group + 4, 0);
        appendBytes(out, group, count);
    }
    return out;
}

base::Data Base64::dataFromBase64String(std::string_view text) {
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return {};
    return NewBase64Decode(text);
}

std::string Base64::base64EncodedStringWithSeparateLines(const base::Data &data, bool separateLines) {
    return NewBase64Encode(data.bytes(), data.length(), separateLines);
}
