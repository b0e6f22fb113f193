#pragma once

#include "audio/AudioTypes.h"

#include <memory>
#include <poll.h>
#include <string>
#include <vector>

namespace audio {

// Where captured sound comes from, for one input queue. A live source is paced by its hardware; the
// others are read once per tick of the clock, a buffer's worth at a time.
class CaptureSource {
public:
    virtual ~CaptureSource() = default;
    virtual bool live() const = 0;
    // Makes the source ready to deliver; called at each start of the queue.
    virtual Status open() = 0;
    // Called at each stop; a file source keeps its place, so that it goes on where it stopped.
    virtual void close() = 0;
    // A clocked source fills all `bytes` (silence where it has no more sound). A live source reads
    // what is ready, whole frames, without waiting. Answers the bytes read, or −1 when the device
    // failed for good.
    virtual long read(uint8_t *out, size_t bytes) = 0;
    // What a live source's reader waits on before reading.
    virtual std::vector<pollfd> descriptors() { return {}; }
};

// The capture device the host names in $QV_AUDIO_INPUT, read afresh at each use:
// - an ALSA PCM name, "default" when the variable is unset or empty: live capture in
//   CaptureFormat, ALSA's plug layer converting from what the hardware has;
// - "null": ALSA's null device, silence, one buffer per 0.5 s of the clock;
// - "file:PATH": a 16 kHz 16-bit two-channel PCM WAVE file played as the microphone, one buffer per
//   0.5 s of the clock, silence once its sound has all been delivered.
// ALSA's own error printing is silenced before the first ALSA call.
struct InputDevice {
    enum Kind { Alsa, Null, File } kind = Alsa;
    std::string name;

    static InputDevice current();
    // Whether the device opens for capture in CaptureFormat; a probe that leaves nothing open.
    bool available() const;
    // A source for one input queue; nothing when the device is not available.
    std::unique_ptr<CaptureSource> makeSource() const;
};

} // namespace audio
