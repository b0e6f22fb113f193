#pragma once

#include "SpeakController.h"

#include "peers/RecognitionPeer.h"

#include "base/VirtualClock.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace speak {

// The spoken security name the file microphone plays: 上证指数, 16 kHz 16-bit stereo.
std::string microphonePath();
// The microphone's sound for a recording of `bytes`: its PCM, then silence.
std::string microphoneSound(size_t bytes);
std::string readFile(const std::string &path);
std::string temporaryFile(const std::string &name);
// The samples of little-endian 16-bit PCM.
std::vector<int16_t> samplesOf(const std::string &pcm);

// Points the test bundle's speech service at `address`, or at none.
void setSpeechHost(const std::optional<std::string> &address);

// What the voice dialog would hear.
class Outcomes : public SpeakControllerDelegate {
public:
    base::Opt<void> ReturnRecogniseSuccess(const std::string &text) override {
        successes.push_back(text);
        return {};
    }
    base::Opt<void> ReturnRecogniseError(const std::string &text) override {
        errors.push_back(text);
        return {};
    }
    size_t count() const { return successes.size() + errors.size(); }

    std::vector<std::string> successes, errors;
};

// A speak controller on the virtual clock with the file microphone, no speech service and no
// files of an earlier test.
class SpeakTest : public ::testing::Test {
protected:
    SpeakTest();
    void SetUp() override;
    void TearDown() override;

    // Records `seconds` of the microphone (a whole number of half seconds).
    void recordFor(double seconds);
    // Runs the main loop until the controller has reported.
    bool waitForOutcome();

    // The HTTP client may read the clock after a test ends: it is never destroyed.
    static base::VirtualClock &sharedClock();
    base::VirtualClock &clock;
    std::shared_ptr<Outcomes> outcomes = std::make_shared<Outcomes>();
    base::Ref<SpeakController> controller;
};

} // namespace speak
