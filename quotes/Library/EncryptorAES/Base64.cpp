#include "Base64.h"

#include <algorithm>

std::string NewBase64Encode(const void *buffer, size_t length, bool separateLines) {
    return base::Data(buffer, length).base64(separateLines ? 64 : 0, "\r\n");
}

base::Data NewBase64Decode(std::string_view input) {
    return base::Data::fromBase64Lenient(input);
}

base::Data Base64::dataFromBase64String(std::string_view text) {
    if (std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; }))
        return {};
    return NewBase64Decode(text);
}

std::string Base64::base64EncodedStringWithSeparateLines(const base::Data &data, bool separateLines) {
    return NewBase64Encode(data.bytes(), data.length(), separateLines);
}
