#pragma once

#include "audio/AudioFile.h"
#include "audio/InputQueue.h"

#include <atomic>
#include <cstdint>
#include <string>

// Audio bytes written to the record file during the current recording: reset at each start,
// increased by the capture callback, read by the stop once the capture thread has ended.
extern std::atomic<uint32_t> recordedByteCount;

// The voice recorder: captures 16 kHz 16-bit two-channel PCM through an input queue of three
// 0.5 s buffers into a WAVE file in the application's temporary directory, and on stop turns it
// into the FLAC file the recognition service is sent. One per SpeakController, main thread only
// (the capture callback excepted). Audio failures are printed, never shown.
//
// Files, all owner-only in base::Paths::temporary(): the record file (its name given at start),
// IntermediateFileName (the plain 44-byte header and the recorded PCM) and FlacFileName.
class AudioRecorder {
public:
    static constexpr const char *IntermediateFileName = "recordedFile2.caf";
    static constexpr const char *FlacFileName = "dest.flac";
    static constexpr int NumberRecordBuffers = 3;
    static constexpr float BufferDurationSeconds = 0.5f;

    AudioRecorder() = default;
    ~AudioRecorder();
    AudioRecorder(const AudioRecorder &) = delete;
    AudioRecorder &operator=(const AudioRecorder &) = delete;

    // Starts recording into the named file (erased first); false, with the failure printed and
    // nothing left running, when capture did not start.
    bool StartRecord(const std::string &fileName);
    // Stops the capture, writes the intermediate file and encodes it (the intermediate and FLAC
    // files of an earlier recording are removed first, so none outlives a failure). startEncode's
    // result: 0 only when this recording's FLAC file is complete.
    int StopRecord();
    bool IsRunning() const { return mIsRunning; }

    // The recording format for `formatId` (linear PCM: CaptureFormat), the hardware's rate and
    // channel count first; throws CAXException when the session cannot tell them.
    void SetupAudioFormat(uint32_t formatId);
    // Bytes for `seconds` of `format`: frames rounded up times bytes per frame, or else packets
    // times the packet size (the queue's maximum packet size when the format has none).
    static uint32_t ComputeRecordBufferSize(const audio::StreamFormat &format, audio::InputQueue *queue,
                                            float seconds);
    // Copies the queue's encoder cookie into the file when both have one (linear PCM has none).
    void CopyEncoderCookieToFile();
    static void MyInputBufferHandler(AudioRecorder *recorder, audio::InputQueue &queue, audio::Buffer &buffer,
                                     double sampleTime, uint32_t packets);

private:
    void startCapture();
    void closeCapture();
    int writeIntermediateAndEncode(const std::string &recordPath);

    std::string mFileName;
    base::Ref<audio::InputQueue> mQueue;
    audio::Buffer *mBuffers[NumberRecordBuffers] = {};
    base::Ref<audio::AudioFile> mRecordFile;
    int64_t mRecordPacket = 0;
    audio::StreamFormat mRecordFormat;
    std::atomic<bool> mIsRunning{false};
};
