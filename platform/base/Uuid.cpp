#include "Uuid.h"

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>
#include <sys/random.h>

namespace base {

namespace {

std::array<uint8_t, 16> randomBytes() {
    std::array<uint8_t, 16> bytes{};
    size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = getrandom(bytes.data() + got, bytes.size() - got, 0);
        if (n > 0)
            got += size_t(n);
        else if (errno != EINTR)
            break;
    }
    if (got < bytes.size()) {
        // getrandom is missing or failing: fall back to the C++ entropy source.
        std::random_device device;
        for (auto &b : bytes)
            b = uint8_t(device());
    }
    return bytes;
}

} // namespace

std::string newUuid() {
    auto b = randomBytes();
    b[6] = uint8_t((b[6] & 0x0F) | 0x40);
    b[8] = uint8_t((b[8] & 0x3F) | 0x80);
    char text[37];
    std::snprintf(text, sizeof text, "%02X%02X%02X%02X-%02X%02X-%02X%02X-%02X%02X-%02X%02X%02X%02X%02X%02X",
                  b[0], b[1], b[2], b[3], b[4], b[5], b[6], b[7], b[8], b[9], b[10], b[11], b[12], b[13],
                  b[14], b[15]);
    return text;
}

} // namespace base
