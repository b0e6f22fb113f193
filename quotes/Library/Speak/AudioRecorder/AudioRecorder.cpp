#include "AudioRecorder.h"

#include "CAXException.h"
#include "XTLib/FlacEncoder.h"
#include "XTLib/TemporaryFiles.h"
#include "XTLib/WavHeader.h"

#include "audio/Session.h"
#include "audio/Wave.h"
#include "base/Log.h"
#include "base/Str.h"

#include <cmath>
#include <cstdio>

std::atomic<uint32_t> recordedByteCount{0};

namespace {

constexpr size_t CopyChunk = 4096;

void printError(const CAXException &e) {
    base::log(base::LogLevel::Error,
              base::str::format("Error: %s (%s)", e.mOperation(), CAX4CCString(e.mError())));
}

} // namespace

AudioRecorder::~AudioRecorder() {
    mIsRunning = false;
    closeCapture();
}

void AudioRecorder::SetupAudioFormat(uint32_t formatId) {
    mRecordFormat = {};
    auto &session = audio::Session::shared();
    uint32_t size = sizeof mRecordFormat.sampleRate;
    XThrowIfError(session.get(audio::Property::CurrentHardwareSampleRate, &mRecordFormat.sampleRate, &size),
                  "couldn't get hardware sample rate");
    size = sizeof mRecordFormat.channelsPerFrame;
    XThrowIfError(session.get(audio::Property::CurrentHardwareInputNumberChannels,
                              &mRecordFormat.channelsPerFrame, &size),
                  "couldn't get input channel count");
    mRecordFormat.formatId = formatId;
    if (formatId == audio::LinearPCM)
        mRecordFormat = audio::CaptureFormat;
}

uint32_t AudioRecorder::ComputeRecordBufferSize(const audio::StreamFormat &format, audio::InputQueue *queue,
                                                float seconds) {
    const uint32_t frames = uint32_t(std::ceil(double(seconds) * format.sampleRate));
    if (format.bytesPerFrame > 0)
        return frames * format.bytesPerFrame;
    uint32_t packetSize = format.bytesPerPacket;
    if (packetSize == 0) {
        uint32_t size = sizeof packetSize;
        XThrowIfError(queue ? queue->get(audio::Property::MaximumOutputPacketSize, &packetSize, &size)
                            : audio::BadParameter,
                      "couldn't get queue's maximum output packet size");
    }
    const uint32_t packets =
        std::max<uint32_t>(format.framesPerPacket > 0 ? frames / format.framesPerPacket : frames, 1);
    return packets * packetSize;
}

void AudioRecorder::CopyEncoderCookieToFile() {
    uint32_t size = 0;
    if (!mQueue || !mRecordFile || mQueue->getSize(audio::Property::MagicCookie, &size) != audio::NoError ||
        size == 0)
        return;
    std::vector<uint8_t> cookie(size);
    bool writable = false;
    if (mQueue->get(audio::Property::MagicCookie, cookie.data(), &size) == audio::NoError &&
        mRecordFile->getPropertyInfo(audio::Property::MagicCookie, nullptr, &writable) == audio::NoError &&
        writable)
        mRecordFile->set(audio::Property::MagicCookie, cookie.data(), size);
}

void AudioRecorder::MyInputBufferHandler(AudioRecorder *recorder, audio::InputQueue &queue,
                                         audio::Buffer &buffer, double, uint32_t packets) {
    try {
        if (packets > 0) {
            uint32_t written = packets;
            XThrowIfError(recorder->mRecordFile->writePackets(buffer.byteSize, recorder->mRecordPacket,
                                                              written, buffer.data()),
                          "AudioFileWritePackets failed");
            recorder->mRecordPacket += written;
            recordedByteCount += buffer.byteSize;
        }
        if (recorder->mIsRunning)
            XThrowIfError(queue.enqueue(&buffer), "AudioQueueEnqueueBuffer failed");
    } catch (const CAXException &e) {
        printError(e);
    }
}

bool AudioRecorder::StartRecord(const std::string &fileName) {
    try {
        mFileName = fileName;
        recordedByteCount = 0;
        startCapture();
        return true;
    } catch (const CAXException &e) {
        printError(e);
    }
    mIsRunning = false;
    closeCapture();
    return false;
}

void AudioRecorder::startCapture() {
    SetupAudioFormat(audio::LinearPCM);
    XThrowIfError(audio::InputQueue::create(
                      mRecordFormat,
                      [this](audio::InputQueue &queue, audio::Buffer &buffer, double time, uint32_t packets) {
                          MyInputBufferHandler(this, queue, buffer, time, packets);
                      },
                      mQueue),
                  "AudioQueueNewInput failed");
    mRecordPacket = 0;
    uint32_t size = sizeof mRecordFormat;
    XThrowIfError(mQueue->get(audio::Property::StreamDescription, &mRecordFormat, &size),
                  "couldn't get queue's format");
    XThrowIfError(audio::AudioFile::create(temporaryPath(mFileName), audio::FileType::Wave, mRecordFormat,
                                           true, mRecordFile),
                  "AudioFileCreateWithURL failed");
    CopyEncoderCookieToFile();
    const uint32_t bufferBytes = ComputeRecordBufferSize(mRecordFormat, mQueue.get(), BufferDurationSeconds);
    for (audio::Buffer *&buffer : mBuffers) {
        XThrowIfError(mQueue->allocate(bufferBytes, buffer), "AudioQueueAllocateBuffer failed");
        XThrowIfError(mQueue->enqueue(buffer), "AudioQueueEnqueueBuffer failed");
    }
    mIsRunning = true;
    XThrowIfError(mQueue->start(), "AudioQueueStart failed");
}

void AudioRecorder::closeCapture() {
    if (mQueue)
        mQueue->dispose();
    mQueue.reset();
    if (mRecordFile)
        mRecordFile->close();
    mRecordFile.reset();
    mFileName.clear();
}

int AudioRecorder::StopRecord() {
    mIsRunning = false;
    // The queue's capture thread has ended once stop returns, so the byte count below is final.
    if (audio::Status status = mQueue ? mQueue->stop(true) : audio::NoError)
        printError(CAXException("AudioQueueStop failed", status));
    CopyEncoderCookieToFile();
    const std::string recordPath = temporaryPath(mFileName);
    closeCapture();
    std::remove(temporaryPath(IntermediateFileName).c_str());
    std::remove(temporaryPath(FlacFileName).c_str());
    return writeIntermediateAndEncode(recordPath);
}

int AudioRecorder::writeIntermediateAndEncode(const std::string &recordPath) {
    const std::string intermediatePath = temporaryPath(IntermediateFileName);
    std::FILE *record = std::fopen(recordPath.c_str(), "rb");
    const std::optional<audio::WaveInfo> info = record ? audio::readWaveInfo(record) : std::nullopt;
    std::FILE *intermediate = info ? createOwnerOnly(intermediatePath) : nullptr;
    if (!intermediate) {
        base::log(base::LogLevel::Error, base::str::format("ERROR: opening %s", recordPath));
        if (record)
            std::fclose(record);
        return 1;
    }
    base::log(base::LogLevel::Info, base::str::format("%ld", long(info->dataOffset + info->dataBytes)));
    CreateWavHeader(intermediate, 2, 16000, 16);
    // Only the recorded sound follows the header: the record file's own header is not sound.
    std::fseek(record, info->dataOffset, SEEK_SET);
    char chunk[CopyChunk];
    for (uint32_t left = info->dataBytes; left > 0;) {
        const size_t n = std::fread(chunk, 1, std::min<size_t>(left, CopyChunk), record);
        if (n == 0)
            break;
        std::fwrite(chunk, 1, n, intermediate);
        left -= uint32_t(n);
    }
    UpdateWavHeader(intermediate);
    std::fclose(intermediate);
    std::fclose(record);
    return startEncode(intermediatePath, temporaryPath(FlacFileName), recordedByteCount);
}
