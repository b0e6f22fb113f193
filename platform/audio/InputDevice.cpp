#include "audio/InputDevice.h"

#include "audio/Wave.h"

#include <alsa/asoundlib.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace audio {

namespace {

constexpr unsigned LatencyMicroseconds = 500000;

void ignoreAlsaError(const char *, int, const char *, int, const char *, ...) {}

void silenceAlsa() {
    static std::once_flag once;
    std::call_once(once, [] { snd_lib_error_set_handler(ignoreAlsaError); });
}

// A capture PCM in CaptureFormat, opened through ALSA's plug layer where the name allows.
snd_pcm_t *openPcm(const std::string &name, bool nonBlocking) {
    silenceAlsa();
    snd_pcm_t *pcm = nullptr;
    if (snd_pcm_open(&pcm, name.c_str(), SND_PCM_STREAM_CAPTURE, nonBlocking ? SND_PCM_NONBLOCK : 0) < 0)
        return nullptr;
    if (snd_pcm_set_params(pcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED,
                           CaptureFormat.channelsPerFrame, unsigned(CaptureFormat.sampleRate), 1,
                           LatencyMicroseconds) < 0) {
        snd_pcm_close(pcm);
        return nullptr;
    }
    return pcm;
}

class AlsaSource : public CaptureSource {
public:
    explicit AlsaSource(std::string name) : name_(std::move(name)) {}
    ~AlsaSource() override { close(); }

    bool live() const override { return true; }
    Status open() override {
        pcm_ = openPcm(name_, true);
        if (!pcm_)
            return NoInputDevice;
        snd_pcm_start(pcm_);
        return NoError;
    }
    void close() override {
        if (pcm_)
            snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
    long read(uint8_t *out, size_t bytes) override {
        const snd_pcm_sframes_t n = snd_pcm_readi(pcm_, out, bytes / CaptureFormat.bytesPerFrame);
        if (n >= 0)
            return long(n) * CaptureFormat.bytesPerFrame;
        if (n == -EAGAIN)
            return 0;
        // An overrun or a suspend: start again and lose what was missed.
        if (snd_pcm_recover(pcm_, int(n), 1) < 0)
            return -1;
        snd_pcm_start(pcm_);
        return 0;
    }
    std::vector<pollfd> descriptors() override {
        std::vector<pollfd> fds(size_t(std::max(snd_pcm_poll_descriptors_count(pcm_), 0)));
        snd_pcm_poll_descriptors(pcm_, fds.data(), unsigned(fds.size()));
        return fds;
    }

private:
    std::string name_;
    snd_pcm_t *pcm_ = nullptr;
};

// ALSA's null device delivers silence as fast as it is asked, so it is read on the clock.
class NullSource : public CaptureSource {
public:
    ~NullSource() override { close(); }
    bool live() const override { return false; }
    Status open() override {
        pcm_ = openPcm("null", false);
        return pcm_ ? NoError : NoInputDevice;
    }
    void close() override {
        if (pcm_)
            snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
    long read(uint8_t *out, size_t bytes) override {
        std::memset(out, 0, bytes);
        snd_pcm_readi(pcm_, out, bytes / CaptureFormat.bytesPerFrame);
        return long(bytes);
    }

private:
    snd_pcm_t *pcm_ = nullptr;
};

std::FILE *openWave(const std::string &path, WaveInfo &info) {
    std::FILE *file = std::fopen(path.c_str(), "rb");
    if (!file)
        return nullptr;
    auto found = readWaveInfo(file);
    if (!found || found->channels != CaptureFormat.channelsPerFrame || found->bitsPerSample != 16 ||
        found->sampleRate != uint32_t(CaptureFormat.sampleRate) ||
        std::fseek(file, found->dataOffset, SEEK_SET) != 0) {
        std::fclose(file);
        return nullptr;
    }
    info = *found;
    return file;
}

class FileSource : public CaptureSource {
public:
    FileSource(std::FILE *file, const WaveInfo &info) : file_(file), left_(info.dataBytes) {}
    ~FileSource() override { std::fclose(file_); }

    bool live() const override { return false; }
    Status open() override { return NoError; }
    void close() override {}
    long read(uint8_t *out, size_t bytes) override {
        const size_t got = std::fread(out, 1, std::min<size_t>(bytes, left_), file_);
        left_ -= got;
        if (got < bytes) {
            left_ = 0;
            std::memset(out + got, 0, bytes - got);
        }
        return long(bytes);
    }

private:
    std::FILE *file_;
    size_t left_;
};

} // namespace

InputDevice InputDevice::current() {
    const char *setting = std::getenv("QV_AUDIO_INPUT");
    const std::string value = setting && *setting ? setting : "default";
    if (value == "null")
        return {Null, value};
    if (value.starts_with("file:"))
        return {File, value.substr(5)};
    return {Alsa, value};
}

bool InputDevice::available() const {
    if (kind == File) {
        WaveInfo info;
        std::FILE *file = openWave(name, info);
        if (file)
            std::fclose(file);
        return file != nullptr;
    }
    snd_pcm_t *pcm = openPcm(kind == Null ? "null" : name, true);
    if (pcm)
        snd_pcm_close(pcm);
    return pcm != nullptr;
}

std::unique_ptr<CaptureSource> InputDevice::makeSource() const {
    if (kind == File) {
        WaveInfo info;
        std::FILE *file = openWave(name, info);
        return file ? std::make_unique<FileSource>(file, info) : nullptr;
    }
    if (!available())
        return nullptr;
    if (kind == Null)
        return std::make_unique<NullSource>();
    return std::make_unique<AlsaSource>(name);
}

} // namespace audio
