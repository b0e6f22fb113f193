#pragma once

#include <FLAC/stream_encoder.h>

#include <cstdint>
#include <string>

// Encoding a recording for the recognition service: 16 kHz, 16-bit, two-channel FLAC at
// compression level 5 with verification, a VORBIS_COMMENT block ("ARTIST" "Some Artist", "YEAR"
// "1984") and a PADDING block of PaddingLength bytes.
inline constexpr unsigned FlacPaddingLength = 1234;
inline constexpr unsigned FlacFramesPerCall = 1024;

// Encodes `byteCount` ÷ 4 frames of the PCM that follows the 44-byte header of `inputPath` into
// `outputPath` (created owner-only). 0 only when every frame was encoded and the encoder finished
// in its OK state; 1 when the input does not open, no encoder can be made, or the encoding failed.
int startEncode(const std::string &inputPath, const std::string &outputPath, uint32_t byteCount);

// The encoder's progress report, printed at debug level.
void progress_callback(const FLAC__StreamEncoder *encoder, FLAC__uint64 bytesWritten,
                       FLAC__uint64 samplesWritten, unsigned framesWritten, unsigned totalFramesEstimate,
                       void *clientData);
