#include "audio/Wave.h"

#include <algorithm>
#include <cstring>

namespace audio {

namespace {

void put16(uint8_t *at, uint16_t v) {
    at[0] = uint8_t(v);
    at[1] = uint8_t(v >> 8);
}

void put32(uint8_t *at, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        at[i] = uint8_t(v >> (8 * i));
}

uint32_t get32(const uint8_t *at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

uint16_t get16(const uint8_t *at) {
    return uint16_t(at[0] | at[1] << 8);
}

} // namespace

std::array<uint8_t, WaveHeaderSize> waveHeader(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                                               uint32_t dataBytes) {
    const uint16_t blockAlign = uint16_t(channels * (bitsPerSample / 8));
    std::array<uint8_t, WaveHeaderSize> h{};
    std::memcpy(&h[0], "RIFF", 4);
    put32(&h[4], dataBytes + 36);
    std::memcpy(&h[8], "WAVEfmt ", 8);
    put32(&h[16], 16);
    put16(&h[20], 1);
    put16(&h[22], channels);
    put32(&h[24], sampleRate);
    put32(&h[28], sampleRate * blockAlign);
    put16(&h[32], blockAlign);
    put16(&h[34], bitsPerSample);
    std::memcpy(&h[36], "data", 4);
    put32(&h[40], dataBytes);
    return h;
}

bool patchLength(std::FILE *file, long offset, uint32_t value) {
    uint8_t bytes[4];
    put32(bytes, value);
    return std::fseek(file, offset, SEEK_SET) == 0 && std::fwrite(bytes, 1, 4, file) == 4;
}

std::optional<WaveInfo> readWaveInfo(std::FILE *file) {
    uint8_t riff[12];
    if (std::fseek(file, 0, SEEK_END) != 0)
        return std::nullopt;
    const long length = std::ftell(file);
    if (std::fseek(file, 0, SEEK_SET) != 0 || std::fread(riff, 1, 12, file) != 12 ||
        std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0)
        return std::nullopt;
    WaveInfo info;
    bool haveFormat = false;
    for (uint8_t chunk[8]; std::fread(chunk, 1, 8, file) == 8;) {
        const uint32_t size = get32(chunk + 4);
        const long body = std::ftell(file);
        if (std::memcmp(chunk, "fmt ", 4) == 0) {
            uint8_t fmt[16];
            if (size < 16 || std::fread(fmt, 1, 16, file) != 16 || get16(fmt) != 1)
                return std::nullopt;
            info.channels = get16(fmt + 2);
            info.sampleRate = get32(fmt + 4);
            info.bitsPerSample = get16(fmt + 14);
            haveFormat = true;
        } else if (std::memcmp(chunk, "data", 4) == 0) {
            if (!haveFormat)
                return std::nullopt;
            info.dataOffset = body;
            info.dataBytes = uint32_t(std::min<long>(size, length - body));
            return info;
        }
        // Chunks are padded to an even length.
        if (std::fseek(file, body + long(size) + long(size & 1), SEEK_SET) != 0)
            return std::nullopt;
    }
    return std::nullopt;
}

} // namespace audio
