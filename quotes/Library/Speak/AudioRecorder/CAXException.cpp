#include "CAXException.h"

#include <cctype>
#include <cstdio>

CAXException::CAXException(const std::string &operation, int32_t error)
    : operation_(operation.substr(0, MaxMessageLength)), error_(error) {}

std::string CAX4CCString(int32_t error) {
    const uint32_t code = uint32_t(error);
    const char chars[4] = {char(code >> 24), char(code >> 16), char(code >> 8), char(code)};
    bool printable = true;
    for (char c : chars)
        printable = printable && std::isprint(static_cast<unsigned char>(c));
    if (printable)
        return "'" + std::string(chars, 4) + "'";
    char text[16];
    if (error > -200000 && error < 200000)
        std::snprintf(text, sizeof text, "%d", error);
    else
        std::snprintf(text, sizeof text, "0x%x", code);
    return text;
}

void XThrowIfError(int32_t error, const char *operation) {
    if (error)
        throw CAXException(operation, error);
}
