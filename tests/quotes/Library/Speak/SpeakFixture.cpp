#include "SpeakFixture.h"

#include "HttpTestSupport.h"

#include "Common/ServerConfig.h"

#include "base/Paths.h"
#include "base/PropertyList.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace speak {

namespace fs = std::filesystem;

namespace {

fs::path bundleDir() {
    return fs::path(base::Paths::home()) / ("speak-bundle-" + std::to_string(getpid()));
}

// A bundle beside the real one whose ServerConfig the tests rewrite; made before anything reads
// the bundle.
class BundleEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        const char *real = std::getenv("QV_BUNDLE");
        const fs::path source = real ? fs::path(real) : fs::path(QV_FIXTURES_DIR) / ".." / ".." / "resources";
        fs::remove_all(bundleDir());
        fs::create_directories(bundleDir());
        for (const fs::directory_entry &entry : fs::directory_iterator(source))
            if (entry.path().filename() != "ServerConfig.plist")
                fs::create_symlink(fs::absolute(entry.path()), bundleDir() / entry.path().filename());
        fs::copy_file(source / "ServerConfig.plist", bundleDir() / "ServerConfig.plist");
        ::setenv("QV_BUNDLE", bundleDir().c_str(), 1);
    }
    void TearDown() override { fs::remove_all(bundleDir()); }
};

[[maybe_unused]] ::testing::Environment *const bundleEnvironment =
    ::testing::AddGlobalTestEnvironment(new BundleEnvironment);

} // namespace

std::string microphonePath() {
    return std::string(QV_FIXTURES_DIR) + "/speech/shangzheng_zhishu.wav";
}

std::string microphoneSound(size_t bytes) {
    std::string sound = readFile(microphonePath()).substr(44);
    sound.resize(bytes, '\0');
    return sound;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string temporaryFile(const std::string &name) {
    return base::Paths::join(base::Paths::temporary(), name);
}

std::vector<int16_t> samplesOf(const std::string &pcm) {
    std::vector<int16_t> samples(pcm.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = int16_t(uint16_t(uint8_t(pcm[2 * i]) | uint8_t(pcm[2 * i + 1]) << 8));
    return samples;
}

void setSpeechHost(const std::optional<std::string> &address) {
    const std::string path = (bundleDir() / "ServerConfig.plist").string();
    base::Value config = *base::PropertyList::read(path);
    base::Dict &entries = *config.dict();
    entries.remove(std::string(ServerConfig::SpeechServerKey));
    if (address)
        entries.set(std::string(ServerConfig::SpeechServerKey), *address);
    ASSERT_TRUE(base::PropertyList::write(config, path));
}

SpeakTest::SpeakTest() : clock(sharedClock()) {}

base::VirtualClock &SpeakTest::sharedClock() {
    static auto *clock = new base::VirtualClock;
    return *clock;
}

void SpeakTest::SetUp() {
    base::Clock::setCurrent(&clock);
    ::setenv("QV_AUDIO_INPUT", ("file:" + microphonePath()).c_str(), 1);
    setSpeechHost(std::nullopt);
    for (const char *name :
         {SpeakController::RecordFileName, AudioRecorder::IntermediateFileName, AudioRecorder::FlacFileName})
        fs::remove(temporaryFile(name));
    controller = base::make<SpeakController>();
    controller->setDelegate(outcomes);
}

void SpeakTest::TearDown() {
    controller.reset();
    ::unsetenv("QV_AUDIO_INPUT");
}

void SpeakTest::recordFor(double seconds) {
    ASSERT_TRUE(controller->record());
    clock.advance(seconds);
}

bool SpeakTest::waitForOutcome() {
    return runMainUntil([&] { return outcomes->count() > 0; });
}

} // namespace speak
