#include "WavHeader.h"

#include "audio/Wave.h"

#include <algorithm>

int CreateWavHeader(std::FILE *file, int channels, int sampleRate, int bitsPerSample) {
    auto header = audio::waveHeader(uint16_t(channels), uint32_t(sampleRate), uint16_t(bitsPerSample), 0);
    // Both lengths stay 0 until UpdateWavHeader knows them.
    std::fill_n(header.begin() + audio::WaveRiffLengthOffset, 4, 0);
    std::fseek(file, 0, SEEK_SET);
    std::fwrite(header.data(), 1, header.size(), file);
    return 0;
}

int UpdateWavHeader(std::FILE *file) {
    if (!file || std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    const long length = std::ftell(file);
    if (length <= 0)
        return -1;
    audio::patchLength(file, audio::WaveRiffLengthOffset, uint32_t(length - 8));
    audio::patchLength(file, audio::WaveDataLengthOffset, uint32_t(length - long(audio::WaveHeaderSize)));
    std::fseek(file, 0, SEEK_END);
    return 0;
}
