#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <optional>

namespace audio {

// The plain 44-byte RIFF/WAVE header of 16-bit-or-so linear PCM, and the reading of such files.
// The audio file writes it, the voice recorder copies recordings behind it, and the file
// microphone reads its sound through it.
inline constexpr size_t WaveHeaderSize = 44;
// Where the two lengths sit: the RIFF length (file length − 8) and the data length.
inline constexpr long WaveRiffLengthOffset = 4, WaveDataLengthOffset = 40;

// The header for `dataBytes` bytes of sound: byte rate = rate × block alignment, block alignment =
// channels × (bits ÷ 8).
std::array<uint8_t, WaveHeaderSize> waveHeader(uint16_t channels, uint32_t sampleRate, uint16_t bitsPerSample,
                                               uint32_t dataBytes);

// Writes `value` little-endian at `offset` of the open file.
bool patchLength(std::FILE *file, long offset, uint32_t value);

// A PCM WAVE file's format and where its sound lies.
struct WaveInfo {
    uint16_t channels = 0, bitsPerSample = 0;
    uint32_t sampleRate = 0;
    long dataOffset = 0;
    uint32_t dataBytes = 0;
};

// Reads the chunks from the start of the file, skipping those it does not need. Nothing when the
// file is not RIFF/WAVE PCM or has no "fmt " before its "data"; a data length running past the
// end of the file is cut to what is there.
std::optional<WaveInfo> readWaveInfo(std::FILE *file);

} // namespace audio
