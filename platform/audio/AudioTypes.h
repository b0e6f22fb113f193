#pragma once

#include <cstdint>
#include <cstring>

namespace audio {

// Every audio call answers a status: 0 for success, else a four-character code naming the failure.
// Nothing in this module throws.
using Status = int32_t;

constexpr uint32_t fourCharCode(const char (&code)[5]) {
    return uint32_t(uint8_t(code[0])) << 24 | uint32_t(uint8_t(code[1])) << 16 |
           uint32_t(uint8_t(code[2])) << 8 | uint32_t(uint8_t(code[3]));
}

inline constexpr Status NoError = 0;
// No capture device could be opened (none configured, none present, or it refused the format).
inline constexpr Status NoInputDevice = Status(fourCharCode("!dev"));
// The stream format is not 16-bit signed interleaved linear PCM, or a WAVE file is not one.
inline constexpr Status UnsupportedFormat = Status(fourCharCode("fmt?"));
// The object does not know the property, or the property cannot be set.
inline constexpr Status UnknownProperty = Status(fourCharCode("pty?"));
// A buffer that is not the queue's own, or an output area too small for the value.
inline constexpr Status BadParameter = Status(fourCharCode("prm?"));
// The queue or file has been disposed of or closed.
inline constexpr Status Disposed = Status(fourCharCode("dsp!"));
// A file could not be created, written or patched.
inline constexpr Status FileFailure = Status(fourCharCode("fil!"));
// The session was used before it was initialised.
inline constexpr Status NotInitialized = Status(fourCharCode("!ini"));

// The description of a stream of sound, field for field as the recorder keeps it.
struct StreamFormat {
    double sampleRate = 0;
    uint32_t formatId = 0, formatFlags = 0, bytesPerPacket = 0, framesPerPacket = 0, bytesPerFrame = 0,
             channelsPerFrame = 0, bitsPerChannel = 0, reserved = 0;
};

inline constexpr uint32_t LinearPCM = fourCharCode("lpcm");
inline constexpr uint32_t SignedIntegerFlag = 4, PackedFlag = 8;

// The only format the capture side delivers: 16 kHz, 16-bit signed, two interleaved channels.
inline constexpr StreamFormat CaptureFormat{16000, LinearPCM, SignedIntegerFlag | PackedFlag, 4, 1, 4, 2,
                                            16,    0};

// The properties the session, the input queue and the audio file answer.
enum class Property : uint32_t {
    AudioCategory = fourCharCode("acat"),
    AudioRouteChange = fourCharCode("roch"),
    AudioInputAvailable = fourCharCode("aiav"),
    CurrentHardwareSampleRate = fourCharCode("chsr"),
    CurrentHardwareInputNumberChannels = fourCharCode("chic"),
    StreamDescription = fourCharCode("aqft"),
    MaximumOutputPacketSize = fourCharCode("xops"),
    MagicCookie = fourCharCode("aqmc"),
};

enum class Category : uint32_t { PlayAndRecord = fourCharCode("plar") };

enum class FileType : uint32_t { Wave = fourCharCode("WAVE") };

// The interruption states the session reports.
inline constexpr uint32_t BeginInterruption = 1, EndInterruption = 0;

// Copies a property's value into the caller's buffer of `*size` bytes and sets `*size` to its
// length; a missing or short buffer is refused.
template <class T> Status answerProperty(const T &value, void *out, uint32_t *size) {
    if (!size || !out || *size < sizeof(T))
        return BadParameter;
    std::memcpy(out, &value, sizeof(T));
    *size = sizeof(T);
    return NoError;
}

} // namespace audio
