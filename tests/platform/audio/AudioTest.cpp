#include "audio/AudioFile.h"
#include "audio/InputQueue.h"
#include "audio/Session.h"
#include "audio/Wave.h"

#include "base/Paths.h"
#include "base/RunLoop.h"
#include "base/Value.h"
#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

namespace fs = std::filesystem;
using namespace audio;

constexpr uint32_t BufferBytes = 32000;

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string header(uint16_t channels, uint32_t rate, uint32_t dataBytes) {
    auto h = waveHeader(channels, rate, 16, dataBytes);
    return {h.begin(), h.end()};
}

// Sound no silence can be mistaken for: every byte differs from its neighbours.
std::string pattern(size_t bytes, int seed) {
    std::string out(bytes, '\0');
    for (size_t i = 0; i < bytes; ++i)
        out[i] = char((i * 7 + size_t(seed) * 13 + 1) % 251);
    return out;
}

size_t threadCount() {
    return size_t(std::distance(fs::directory_iterator("/proc/self/task"), fs::directory_iterator()));
}

// Records the way the voice recorder does: each buffer written at the running packet index and
// enqueued again while recording.
class Recording {
public:
    Status open(const std::string &path) {
        packets_ = 0;
        return AudioFile::create(path, FileType::Wave, CaptureFormat, true, file_);
    }
    InputQueue::Callback callback() {
        return [this](InputQueue &queue, Buffer &buffer, double, uint32_t packets) {
            ++callbacks;
            uint32_t written = packets;
            file_->writePackets(buffer.byteSize, packets_, written, buffer.data());
            packets_ += written;
            if (running)
                queue.enqueue(&buffer);
        };
    }
    Status close() { return file_->close(); }

    std::atomic<int> callbacks{0};
    std::atomic<bool> running{true};

private:
    base::Ref<AudioFile> file_;
    int64_t packets_ = 0;
};

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        base::Clock::setCurrent(&clock);
        dir = base::Paths::join(base::Paths::temporary(), "audio-test");
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override {
        ::unsetenv("QV_AUDIO_INPUT");
        base::Clock::setCurrent(nullptr);
        fs::remove_all(dir);
    }
    void useMicrophone(const std::string &setting) { ::setenv("QV_AUDIO_INPUT", setting.c_str(), 1); }

    // A microphone file of `sound` behind a header, with a chunk the reader must skip.
    std::string microphoneFile(const std::string &sound) {
        std::string file = header(2, 16000, uint32_t(sound.size()));
        const std::string list = std::string("LIST\x03\0\0\0abc\0", 12);
        file.insert(36, list);
        patchRiff(file);
        std::string path = dir + "/microphone.wav";
        writeFile(path, file + sound);
        return path;
    }
    static void patchRiff(std::string &file) {
        const uint32_t riff = uint32_t(file.size() - 8);
        for (int i = 0; i < 4; ++i)
            file[4 + size_t(i)] = char(riff >> (8 * i));
    }

    base::Ref<InputQueue> queueFor(Recording &recording) {
        base::Ref<InputQueue> queue;
        EXPECT_EQ(InputQueue::create(CaptureFormat, recording.callback(), queue), NoError);
        for (int i = 0; queue && i < 3; ++i) {
            Buffer *buffer = nullptr;
            EXPECT_EQ(queue->allocate(BufferBytes, buffer), NoError);
            EXPECT_EQ(queue->enqueue(buffer), NoError);
        }
        return queue;
    }

    base::VirtualClock clock;
    std::string dir;
};

TEST_F(AudioTest, WaveHeaderHasBothLengthsAndTheDerivedRates) {
    const std::string empty = header(2, 16000, 0);
    const uint8_t expected[44] = {'R', 'I', 'F', 'F', 0x24, 0, 0,   0,   'W', 'A',  'V',  'E', 'f', 'm', 't',
                                  ' ', 16,  0,   0,   0,    1, 0,   2,   0,   0x80, 0x3e, 0,   0,   0,   0xfa,
                                  0,   0,   4,   0,   16,   0, 'd', 'a', 't', 'a',  0,    0,   0,   0};
    EXPECT_EQ(empty, std::string(reinterpret_cast<const char *>(expected), 44));
    const std::string some = header(2, 16000, 0x01020304);
    EXPECT_EQ(some.substr(4, 4), std::string("\x28\x03\x02\x01", 4));
    EXPECT_EQ(some.substr(40, 4), std::string("\x04\x03\x02\x01", 4));
}

TEST_F(AudioTest, FileMicrophoneRecordsItsSoundByteExactThenSilence) {
    const std::string sound = pattern(BufferBytes + 8000, 1);
    useMicrophone("file:" + microphoneFile(sound));
    Recording recording;
    ASSERT_EQ(recording.open(dir + "/take.wav"), NoError);
    auto queue = queueFor(recording);
    ASSERT_TRUE(queue);
    ASSERT_EQ(queue->start(), NoError);
    clock.advance(0.4);
    clock.advance(1.1);
    recording.running = false;
    ASSERT_EQ(queue->stop(true), NoError);
    ASSERT_EQ(recording.close(), NoError);

    EXPECT_EQ(recording.callbacks, 3);
    const std::string expected =
        header(2, 16000, 3 * BufferBytes) + sound + std::string(2 * BufferBytes - 8000, '\0');
    const std::string got = readFile(dir + "/take.wav");
    ASSERT_EQ(got.size(), expected.size());
    EXPECT_TRUE(got == expected);
    EXPECT_EQ(fs::status(dir + "/take.wav").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

TEST_F(AudioTest, NoCallbackAfterStopAndARestartRecordsOnlyTheNewSound) {
    const std::string sound = pattern(3 * BufferBytes, 2);
    useMicrophone("file:" + microphoneFile(sound));
    Recording recording;
    ASSERT_EQ(recording.open(dir + "/take.wav"), NoError);
    auto queue = queueFor(recording);
    ASSERT_TRUE(queue);
    ASSERT_EQ(queue->start(), NoError);
    clock.advance(1.0);
    ASSERT_EQ(queue->stop(true), NoError);
    ASSERT_EQ(recording.close(), NoError);
    EXPECT_EQ(recording.callbacks, 2);
    clock.advance(5.0);
    EXPECT_EQ(recording.callbacks, 2) << "a stopped queue records nothing";
    EXPECT_EQ(queue->stop(true), NoError) << "stopping twice is harmless";

    // The same file erased and the same queue started again: only the sound after the stop.
    ASSERT_EQ(recording.open(dir + "/take.wav"), NoError);
    ASSERT_EQ(queue->start(), NoError);
    clock.advance(0.5);
    ASSERT_EQ(queue->stop(false), NoError);
    ASSERT_EQ(recording.close(), NoError);
    EXPECT_EQ(recording.callbacks, 3);
    EXPECT_TRUE(readFile(dir + "/take.wav") == header(2, 16000, BufferBytes) + sound.substr(2 * BufferBytes));
}

TEST_F(AudioTest, NullDeviceRecordsSilenceOnTheClock) {
    useMicrophone("null");
    Recording recording;
    ASSERT_EQ(recording.open(dir + "/take.wav"), NoError);
    auto queue = queueFor(recording);
    ASSERT_TRUE(queue);
    ASSERT_EQ(queue->start(), NoError);
    clock.advance(1.0);
    ASSERT_EQ(queue->dispose(), NoError);
    ASSERT_EQ(recording.close(), NoError);
    EXPECT_EQ(recording.callbacks, 2);
    EXPECT_TRUE(readFile(dir + "/take.wav") ==
                header(2, 16000, 2 * BufferBytes) + std::string(2 * BufferBytes, '\0'));
    EXPECT_EQ(queue->start(), Disposed);
}

TEST_F(AudioTest, WithoutACaptureDeviceNothingIsCreatedAndNothingIsPrinted) {
    const std::string mono = dir + "/mono.wav";
    writeFile(mono, header(1, 16000, 4) + "abcd");
    const std::string text = dir + "/text.wav";
    writeFile(text, "not a sound file");
    audio::Session &session = audio::Session::shared();
    ASSERT_EQ(session.initialize(&base::RunLoop::main(), nullptr), NoError);
    const std::string settings[] = {"qv_no_such_device", "hw:97,0", "file:" + dir + "/missing.wav",
                                    "file:" + mono, "file:" + text};
    for (const std::string &setting : settings) {
        SCOPED_TRACE(setting);
        useMicrophone(setting);
        const size_t threads = threadCount();
        ::testing::internal::CaptureStderr();
        ::testing::internal::CaptureStdout();
        uint32_t available = 1, size = sizeof available;
        EXPECT_EQ(session.get(Property::AudioInputAvailable, &available, &size), NoError);
        EXPECT_EQ(available, 0u);
        double rate = 0;
        size = sizeof rate;
        EXPECT_EQ(session.get(Property::CurrentHardwareSampleRate, &rate, &size), NoInputDevice);
        base::Ref<InputQueue> queue;
        EXPECT_EQ(InputQueue::create(
                      CaptureFormat, [](InputQueue &, Buffer &, double, uint32_t) {}, queue),
                  NoInputDevice);
        EXPECT_FALSE(queue);
        EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
        EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");
        EXPECT_EQ(threadCount(), threads);
    }

    useMicrophone("null");
    StreamFormat mono16 = CaptureFormat;
    mono16.channelsPerFrame = 1;
    base::Ref<InputQueue> queue;
    EXPECT_EQ(InputQueue::create(mono16, nullptr, queue), UnsupportedFormat);
}

TEST_F(AudioTest, SessionHooksReachTheListenersOnItsLoop) {
    audio::Session &session = audio::Session::shared();
    ASSERT_EQ(session.initialize(&base::RunLoop::main(), [](uint32_t) {}), NoError);
    std::vector<int64_t> reasons;
    std::vector<uint32_t> interruptions;
    ASSERT_EQ(session.addListener(Property::AudioRouteChange,
                                  [&](Property, const void *value, uint32_t) {
                                      auto &change = *static_cast<const base::Value *>(value);
                                      reasons.push_back(change[Session::RouteChangeReasonKey].intValue());
                                  }),
              NoError);
    EXPECT_EQ(session.addListener(Property::StreamDescription, nullptr), UnknownProperty);
    session.routeChanged(3);
    ASSERT_EQ(
        session.initialize(&base::RunLoop::main(), [&](uint32_t state) { interruptions.push_back(state); }),
        NoError);
    session.routeChanged(2) /* forgotten listener */;
    session.interrupt(BeginInterruption);
    EXPECT_EQ(reasons, std::vector<int64_t>{3});
    EXPECT_EQ(interruptions, std::vector<uint32_t>{BeginInterruption});
}

} // namespace
