#include "SpeakFixture.h"

#include "HttpTestSupport.h"

#include "audio/Session.h"
#include "audio/Wave.h"

#include <filesystem>

namespace {

namespace fs = std::filesystem;
using namespace speak;
using peers::RecognitionPeer;

constexpr uint32_t HalfSecond = 32000;

std::string header(uint32_t dataBytes) {
    const auto h = audio::waveHeader(2, 16000, 16, dataBytes);
    return {h.begin(), h.end()};
}

bool ownerOnly(const std::string &path) {
    return (fs::status(path).permissions() & fs::perms::all) ==
           (fs::perms::owner_read | fs::perms::owner_write);
}

// Checks that an upload is the recognition request of this system carrying `sound`.
void expectUploadOf(const RecognitionPeer::Upload &upload, const std::string &sound) {
    EXPECT_EQ(upload.method, "POST");
    EXPECT_EQ(upload.path, "/speech-api/v1/recognize");
    EXPECT_EQ(upload.query, "xjerr=1&client=chromium&lang=zh-CN");
    EXPECT_EQ(upload.contentType, "audio/x-flac; rate=16000");
    ASSERT_TRUE(upload.flac.decoded);
    EXPECT_EQ(upload.flac.sampleRate, 16000u);
    EXPECT_EQ(upload.flac.channels, 2u);
    EXPECT_EQ(upload.flac.bitsPerSample, 16u);
    EXPECT_EQ(upload.flac.totalSamples, sound.size() / 4);
    EXPECT_EQ(upload.flac.comments, (std::vector<std::string>{"ARTIST=Some Artist", "YEAR=1984"}));
    EXPECT_EQ(upload.flac.paddingLength, 1234u);
    EXPECT_TRUE(upload.flac.samples == samplesOf(sound));
}

TEST_F(SpeakTest, ARecordingBecomesItsWaveFilesAndItsFlac) {
    recordFor(1.0);
    EXPECT_FALSE(controller->canRecord());
    EXPECT_FALSE(controller->record()) << "refused while recording";
    controller->stopRecord();
    EXPECT_TRUE(controller->canRecord());

    const std::string sound = microphoneSound(2 * HalfSecond);
    EXPECT_EQ(controller->recordFilePath(), temporaryFile("recordedFile.caf"));
    EXPECT_TRUE(readFile(temporaryFile("recordedFile.caf")) == header(2 * HalfSecond) + sound);
    EXPECT_TRUE(readFile(temporaryFile("recordedFile2.caf")) == header(2 * HalfSecond) + sound);
    const peers::FlacStream flac = peers::decodeFlac(readFile(temporaryFile("dest.flac")));
    ASSERT_TRUE(flac.decoded);
    EXPECT_EQ(flac.totalSamples, 16000u);
    EXPECT_TRUE(flac.samples == samplesOf(sound));
    for (const char *name : {"recordedFile.caf", "recordedFile2.caf", "dest.flac"})
        EXPECT_TRUE(ownerOnly(temporaryFile(name))) << name;
}

TEST_F(SpeakTest, StopWhenIdleWritesNothingAndEachRecordingCarriesOnlyItsOwnSound) {
    controller->stopRecord();
    EXPECT_FALSE(fs::exists(temporaryFile("recordedFile.caf")));
    EXPECT_FALSE(fs::exists(temporaryFile("dest.flac")));

    recordFor(1.5);
    controller->stopRecord();
    recordFor(0.5);
    controller->stopRecord();
    const peers::FlacStream flac = peers::decodeFlac(readFile(temporaryFile("dest.flac")));
    EXPECT_EQ(flac.totalSamples, 8000u);
    EXPECT_TRUE(flac.samples == samplesOf(microphoneSound(HalfSecond)));
    EXPECT_EQ(readFile(temporaryFile("recordedFile2.caf")).size(), 44u + HalfSecond);
}

TEST_F(SpeakTest, AudioEventsStopARecordingExceptACategoryChange) {
    struct Case {
        const char *name;
        std::function<void()> event;
        bool keepsRecording;
    };
    auto &session = audio::Session::shared();
    const Case cases[] = {
        {"category change", [&] { session.routeChanged(3); }, true},
        {"old device gone", [&] { session.routeChanged(2); }, false},
        {"new device", [&] { session.routeChanged(1); }, false},
        {"interruption", [&] { session.interrupt(audio::BeginInterruption); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        fs::remove(temporaryFile("dest.flac"));
        recordFor(0.5);
        c.event();
        EXPECT_EQ(controller->recorder().IsRunning(), c.keepsRecording);
        EXPECT_NE(fs::exists(temporaryFile("dest.flac")), c.keepsRecording);
        controller->stopRecord();
        EXPECT_TRUE(controller->canRecord());
        EXPECT_EQ(outcomes->count(), 0u) << "nothing is sent";
    }
}

TEST_F(SpeakTest, WithoutACaptureDeviceRecordAnswersFalse) {
    ::setenv("QV_AUDIO_INPUT", "qv_no_such_device", 1);
    EXPECT_FALSE(SpeakController::hasInputDevice());
    EXPECT_FALSE(controller->record());
    EXPECT_TRUE(controller->canRecord());
    EXPECT_FALSE(fs::exists(temporaryFile("recordedFile.caf")));
    ::setenv("QV_AUDIO_INPUT", ("file:" + microphonePath()).c_str(), 1);
    EXPECT_TRUE(SpeakController::hasInputDevice());
}

TEST_F(SpeakTest, TheSpeechServiceIsASettingAndNoneByDefault) {
    EXPECT_FALSE(SpeakController::hasSpeechService());
    setSpeechHost("http://127.0.0.1:9");
    EXPECT_TRUE(SpeakController::hasSpeechService());
}

TEST_F(SpeakTest, RecognitionOutcomes) {
    struct Case {
        const char *name;
        std::vector<peers::FaultPeer::Step> script;
        std::string success, error;
        double advance = 0;
    };
    const Case cases[] = {
        {"utterance",
         RecognitionPeer::replying(
             R"({"status":0,"hypotheses":[{"utterance":" 上证指数","confidence":0.9}]})"),
         " 上证指数", ""},
        {"empty object", RecognitionPeer::replying("{}"), "", RequestOperation::NotParsedReason},
        {"not JSON", RecognitionPeer::replying("<html>busy</html>"), "", RequestOperation::NotParsedReason},
        {"an array", RecognitionPeer::replying(R"([{"utterance":"x"}])"), "",
         RequestOperation::NotParsedReason},
        {"no hypotheses", RecognitionPeer::replying(R"({"status":5})"), "",
         RequestOperation::NoHypothesesReason},
        {"empty hypotheses", RecognitionPeer::replying(R"({"hypotheses":[]})"), "",
         RequestOperation::NoHypothesesReason},
        {"hypotheses not a list", RecognitionPeer::replying(R"({"hypotheses":"上证"})"), "",
         RequestOperation::NoHypothesesReason},
        {"no utterance", RecognitionPeer::replying(R"({"hypotheses":[{"confidence":1}]})"), "",
         RequestOperation::NoUtteranceReason},
        {"empty utterance", RecognitionPeer::replying(R"({"hypotheses":[{"utterance":""}]})"), "",
         RequestOperation::NoUtteranceReason},
        {"utterance not text", RecognitionPeer::replying(R"({"hypotheses":[{"utterance":600000}]})"), "",
         RequestOperation::NoUtteranceReason},
        {"hypothesis not an object", RecognitionPeer::replying(R"({"hypotheses":["上证指数"]})"), "",
         RequestOperation::NoUtteranceReason},
        {"closed mid-reply", RecognitionPeer::closingMidReply(R"({"hypotheses":[{"utterance":"上证指数"}]})"),
         "", "A connection failure occurred"},
        {"silent past the time-out", RecognitionPeer::silent(), "", "The request timed out", 16},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        RecognitionPeer peer(c.script);
        setSpeechHost(peer.address());
        *outcomes = Outcomes();
        recordFor(1.0);
        controller->stopRecord();
        ASSERT_TRUE(controller->recognise());
        EXPECT_FALSE(controller->recognise()) << "refused while recognising";
        EXPECT_FALSE(controller->record()) << "refused while recognising";
        if (c.advance > 0) {
            ASSERT_TRUE(runMainUntil([&] { return !peer.uploads().empty(); }));
            clock.advance(c.advance);
        }
        ASSERT_TRUE(waitForOutcome());
        settle();
        EXPECT_EQ(outcomes->successes,
                  c.success.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.success});
        EXPECT_EQ(outcomes->errors,
                  c.error.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.error});
        EXPECT_TRUE(controller->canRecord()) << "nothing is left recognising";
        // A connection lost mid-reply is tried once more on a new one: each try sends the same.
        const auto uploads = peer.uploads();
        ASSERT_FALSE(uploads.empty());
        for (const auto &upload : uploads)
            expectUploadOf(upload, microphoneSound(2 * HalfSecond));
    }
}

TEST_F(SpeakTest, AServiceThatIsDownGivesTheClientsErrorText) {
    setSpeechHost(RecognitionPeer::refusedAddress());
    recordFor(0.5);
    ASSERT_TRUE(controller->recognise());
    ASSERT_TRUE(waitForOutcome());
    EXPECT_EQ(outcomes->errors, std::vector<std::string>{"A connection failure occurred"});
    EXPECT_TRUE(controller->canRecord());
}

TEST_F(SpeakTest, RecogniseDuringARecordingStopsAndSendsItButNeverAnOldOne) {
    RecognitionPeer peer(RecognitionPeer::replying(R"({"hypotheses":[{"utterance":"上证指数"}]})"));
    setSpeechHost(peer.address());
    recordFor(0.5);
    ASSERT_TRUE(controller->recognise());
    EXPECT_FALSE(controller->recorder().IsRunning());
    ASSERT_TRUE(waitForOutcome());
    EXPECT_EQ(outcomes->successes, std::vector<std::string>{"上证指数"});
    ASSERT_EQ(peer.uploads().size(), 1u);
    expectUploadOf(peer.uploads()[0], microphoneSound(HalfSecond));

    // The recording has been sent: recognising again sends nothing.
    *outcomes = Outcomes();
    ASSERT_TRUE(controller->recognise());
    ASSERT_TRUE(waitForOutcome());
    EXPECT_EQ(outcomes->errors, std::vector<std::string>{SpeakController::NoRecordingReason});
    EXPECT_EQ(peer.uploads().size(), 1u);
    EXPECT_TRUE(controller->canRecord());
}

} // namespace
