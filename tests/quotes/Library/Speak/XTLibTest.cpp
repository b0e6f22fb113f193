#include "AudioRecorder/AudioRecorder.h"
#include "AudioRecorder/CAXException.h"
#include "XTLib/FlacEncoder.h"
#include "XTLib/WavHeader.h"

#include "SpeakFixture.h"

#include "audio/Wave.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

using namespace speak;

std::string headerBytes(std::FILE *file) {
    std::string bytes(44, '\0');
    std::fseek(file, 0, SEEK_SET);
    EXPECT_EQ(std::fread(bytes.data(), 1, 44, file), 44u);
    return bytes;
}

TEST(WavHeader, LengthsAreZeroUntilPatchedThenNPlus36AndN) {
    std::FILE *file = std::tmpfile();
    ASSERT_EQ(CreateWavHeader(file, 2, 16000, 16), 0);
    const uint8_t created[44] = {0x52, 0x49, 0x46, 0x46, 0,    0,    0,    0,    0x57, 0x41, 0x56,
                                 0x45, 0x66, 0x6d, 0x74, 0x20, 16,   0,    0,    0,    1,    0,
                                 2,    0,    0x80, 0x3e, 0,    0,    0x00, 0xfa, 0,    0,    4,
                                 0,    16,   0,    0x64, 0x61, 0x74, 0x61, 0,    0,    0,    0};
    EXPECT_EQ(headerBytes(file), std::string(reinterpret_cast<const char *>(created), 44));

    ASSERT_EQ(UpdateWavHeader(file), 0);
    std::string n0 = headerBytes(file);
    EXPECT_EQ(n0.substr(0, 12), std::string("RIFF\x24\0\0\0WAVE", 12));
    EXPECT_EQ(n0.substr(40), std::string(4, '\0'));

    std::fseek(file, 0, SEEK_END);
    const std::string sound(70000, 'x');
    std::fwrite(sound.data(), 1, sound.size(), file);
    ASSERT_EQ(UpdateWavHeader(file), 0);
    EXPECT_EQ(std::ftell(file), 44 + 70000) << "the position is left at the end";
    const std::string patched = headerBytes(file);
    EXPECT_EQ(patched.substr(4, 4), std::string("\x94\x11\x01\x00", 4));  // 70,036
    EXPECT_EQ(patched.substr(40, 4), std::string("\x70\x11\x01\x00", 4)); // 70,000
    std::fclose(file);

    EXPECT_EQ(UpdateWavHeader(nullptr), -1);
    std::FILE *empty = std::tmpfile();
    EXPECT_EQ(UpdateWavHeader(empty), -1);
    std::fclose(empty);
}

TEST(AudioRecorderFormat, BufferSizesAndStatusTexts) {
    EXPECT_EQ(AudioRecorder::ComputeRecordBufferSize(audio::CaptureFormat, nullptr, 0.5f), 32000u);
    audio::StreamFormat packed = audio::CaptureFormat;
    packed.bytesPerFrame = 0;
    packed.bytesPerPacket = 6;
    packed.framesPerPacket = 3;
    EXPECT_EQ(AudioRecorder::ComputeRecordBufferSize(packed, nullptr, 0.5f), 8000u / 3 * 6);
    packed.framesPerPacket = 0;
    EXPECT_EQ(AudioRecorder::ComputeRecordBufferSize(packed, nullptr, 0.0001f), 2u * 6)
        << "frames rounded up";

    const std::pair<int32_t, const char *> statuses[] = {
        {audio::UnsupportedFormat, "'fmt?'"},
        {0, "0"},
        {-50, "-50"},
        {199999, "199999"},
        {-199999, "-199999"},
        {200000, "0x30d40"},
        {-200000, "0xfffcf2c0"},
    };
    for (const auto &[status, text] : statuses)
        EXPECT_EQ(CAX4CCString(status), text) << status;
    EXPECT_EQ(CAXException(std::string(300, 'm'), 1).mOperation().size(), 255u);
}

class FlacEncoderTest : public SpeakTest {};

TEST_F(FlacEncoderTest, KnownPcmRoundTripsBitExactWithItsMetadata) {
    // Every sample value that matters: extremes, zero, and both bytes' sign bits.
    std::string pcm;
    for (int i = 0; i < 3000; ++i) {
        const int16_t left = int16_t(i * 37 - 30000), right = int16_t(i % 2 ? 32767 : -32768);
        for (int16_t v : {left, right}) {
            pcm += char(uint16_t(v) & 0xff);
            pcm += char(uint16_t(v) >> 8);
        }
    }
    const std::string input = temporaryFile("pattern.wav"), output = temporaryFile("pattern.flac");
    {
        const auto header = audio::waveHeader(2, 16000, 16, uint32_t(pcm.size()));
        std::ofstream(input, std::ios::binary) << std::string(header.begin(), header.end()) << pcm;
    }
    ASSERT_EQ(startEncode(input, output, uint32_t(pcm.size())), 0);
    const peers::FlacStream flac = peers::decodeFlac(readFile(output));
    ASSERT_TRUE(flac.decoded);
    EXPECT_EQ(flac.sampleRate, 16000u);
    EXPECT_EQ(flac.channels, 2u);
    EXPECT_EQ(flac.bitsPerSample, 16u);
    EXPECT_EQ(flac.totalSamples, pcm.size() / 4);
    EXPECT_EQ(flac.blocks, (std::vector<std::string>{"VORBIS_COMMENT", "PADDING"}));
    EXPECT_EQ(flac.comments, (std::vector<std::string>{"ARTIST=Some Artist", "YEAR=1984"}));
    EXPECT_EQ(flac.paddingLength, FlacPaddingLength);
    EXPECT_TRUE(flac.samples == samplesOf(pcm)) << "no header bytes become sound, no sound is lost";
    EXPECT_EQ(std::filesystem::status(output).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);

    EXPECT_EQ(startEncode(temporaryFile("missing.wav"), output, 4), 1);
    EXPECT_EQ(startEncode(input, output, uint32_t(pcm.size()) + 4096), 1) << "sound missing from the input";
}

} // namespace
