#include "FlacEncoder.h"

#include "TemporaryFiles.h"

#include "audio/Wave.h"
#include "base/Log.h"
#include "base/Str.h"

#include <FLAC/metadata.h>

#include <cstdio>
#include <vector>

namespace {

constexpr unsigned Channels = 2, BitsPerSample = 16, SampleRate = 16000, CompressionLevel = 5;
constexpr unsigned BytesPerFrame = Channels * BitsPerSample / 8;

bool applySettings(FLAC__StreamEncoder *encoder, uint32_t frames) {
    return FLAC__stream_encoder_set_verify(encoder, true) &&
           FLAC__stream_encoder_set_compression_level(encoder, CompressionLevel) &&
           FLAC__stream_encoder_set_channels(encoder, Channels) &&
           FLAC__stream_encoder_set_bits_per_sample(encoder, BitsPerSample) &&
           FLAC__stream_encoder_set_sample_rate(encoder, SampleRate) &&
           FLAC__stream_encoder_set_total_samples_estimate(encoder, frames);
}

// Makes the two metadata blocks; they stay the caller's to delete.
bool makeMetadata(FLAC__StreamMetadata *metadata[2]) {
    metadata[0] = FLAC__metadata_object_new(FLAC__METADATA_TYPE_VORBIS_COMMENT);
    metadata[1] = FLAC__metadata_object_new(FLAC__METADATA_TYPE_PADDING);
    if (!metadata[0] || !metadata[1])
        return false;
    for (const auto &[name, value] : {std::pair{"ARTIST", "Some Artist"}, std::pair{"YEAR", "1984"}}) {
        FLAC__StreamMetadata_VorbisComment_Entry entry;
        if (!FLAC__metadata_object_vorbiscomment_entry_from_name_value_pair(&entry, name, value) ||
            !FLAC__metadata_object_vorbiscomment_append_comment(metadata[0], entry, false))
            return false;
    }
    metadata[1]->length = FlacPaddingLength;
    return true;
}

// Hands the frames to the encoder, at most FlacFramesPerCall at a time.
bool feed(FLAC__StreamEncoder *encoder, std::FILE *input, uint32_t frames) {
    std::vector<FLAC__byte> bytes(FlacFramesPerCall * BytesPerFrame);
    std::vector<FLAC__int32> samples(FlacFramesPerCall * Channels);
    while (frames > 0) {
        const size_t n = std::min<size_t>(frames, FlacFramesPerCall);
        if (std::fread(bytes.data(), BytesPerFrame, n, input) != n) {
            base::log(base::LogLevel::Error, "ERROR: reading from WAVE file");
            return false;
        }
        for (size_t i = 0; i < n * Channels; ++i)
            samples[i] = FLAC__int32(int16_t(uint16_t(bytes[2 * i] | bytes[2 * i + 1] << 8)));
        if (!FLAC__stream_encoder_process_interleaved(encoder, samples.data(), unsigned(n)))
            return false;
        frames -= uint32_t(n);
    }
    return true;
}

} // namespace

int startEncode(const std::string &inputPath, const std::string &outputPath, uint32_t byteCount) {
    std::FILE *input = std::fopen(inputPath.c_str(), "rb");
    if (!input || std::fseek(input, long(audio::WaveHeaderSize), SEEK_SET) != 0) {
        base::log(base::LogLevel::Error,
                  base::str::format("ERROR: opening %s for output", inputPath.c_str()));
        if (input)
            std::fclose(input);
        return 1;
    }
    const uint32_t frames = byteCount / BytesPerFrame;
    FLAC__StreamEncoder *encoder = FLAC__stream_encoder_new();
    if (!encoder) {
        base::log(base::LogLevel::Error, "ERROR: allocating encoder");
        std::fclose(input);
        return 1;
    }
    FLAC__StreamMetadata *metadata[2] = {nullptr, nullptr};
    bool ok = applySettings(encoder, frames);
    if (ok && !makeMetadata(metadata)) {
        base::log(base::LogLevel::Error, "ERROR: out of memory or tag error");
        ok = false;
    }
    ok = ok && FLAC__stream_encoder_set_metadata(encoder, metadata, 2);
    if (ok) {
        // Owner-only output: the encoder is given the open file and closes it when it finishes.
        std::FILE *output = createOwnerOnly(outputPath);
        const FLAC__StreamEncoderInitStatus status =
            output ? FLAC__stream_encoder_init_FILE(encoder, output, progress_callback, nullptr)
                   : FLAC__STREAM_ENCODER_INIT_STATUS_ENCODER_ERROR;
        if (status != FLAC__STREAM_ENCODER_INIT_STATUS_OK) {
            base::log(base::LogLevel::Error, base::str::format("ERROR: initializing encoder: %s",
                                                               FLAC__StreamEncoderInitStatusString[status]));
            if (output && FLAC__stream_encoder_get_state(encoder) == FLAC__STREAM_ENCODER_UNINITIALIZED)
                std::fclose(output);
            ok = false;
        }
    }
    ok = ok && feed(encoder, input, frames) &&
         FLAC__stream_encoder_get_state(encoder) == FLAC__STREAM_ENCODER_OK;
    ok = FLAC__stream_encoder_finish(encoder) && ok;
    base::log(ok ? base::LogLevel::Info : base::LogLevel::Error,
              base::str::format("encoding: %s\n   state: %s", ok ? "succeeded" : "FAILED",
                                FLAC__StreamEncoderStateString[FLAC__stream_encoder_get_state(encoder)]));
    FLAC__metadata_object_delete(metadata[0]);
    FLAC__metadata_object_delete(metadata[1]);
    FLAC__stream_encoder_delete(encoder);
    std::fclose(input);
    return ok ? 0 : 1;
}

void progress_callback(const FLAC__StreamEncoder *encoder, FLAC__uint64 bytesWritten,
                       FLAC__uint64 samplesWritten, unsigned framesWritten, unsigned totalFramesEstimate,
                       void *) {
    base::log(base::LogLevel::Debug,
              base::str::format("wrote %llu bytes, %llu/%u samples, %u/%u frames",
                                (unsigned long long)bytesWritten, (unsigned long long)samplesWritten,
                                unsigned(FLAC__stream_encoder_get_total_samples_estimate(encoder)),
                                framesWritten, totalFramesEstimate));
}
