#pragma once

#include "AudioRecorder/AudioRecorder.h"
#include "XTLib/RequestOperation.h"

#include "audio/AudioTypes.h"
#include "base/Object.h"
#include "base/OperationQueue.h"

#include <memory>
#include <string>

// What the voice dialog hears back, on the main thread. Both optional.
class SpeakControllerDelegate {
public:
    virtual ~SpeakControllerDelegate() = default;
    virtual base::Opt<void> ReturnRecogniseSuccess(const std::string &) { return base::notImplemented; }
    virtual base::Opt<void> ReturnRecogniseError(const std::string &) { return base::notImplemented; }
};

// Voice search below the dialog: sets up the audio session, records through the AudioRecorder,
// and sends the FLAC recording to the speech service in a RequestOperation on its own queue.
// States: idle, recording (the recorder runs), recognising. `record` is refused while recording
// or recognising, `recognise` while recognising; each recognition ends in exactly one delegate
// call. A recognition without a fresh recording (none made since the last one was sent, or its
// encoding failed) sends nothing and ends in ReturnRecogniseError with NoRecordingReason: an old
// recording is never sent. Main thread only.
//
// Audio events: an interruption stops a recording (it is encoded, nothing is sent); a route change
// does too unless its reason is CategoryChangeReason.
class SpeakController : public base::Object, public RequestOperationDelegate {
public:
    static constexpr const char *RecordFileName = "recordedFile.caf";
    static constexpr int32_t CategoryChangeReason = 3;
    static constexpr const char *NoRecordingReason = "没有可识别的录音";

    SpeakController() = default;
    ~SpeakController() override;
    void setUp() override;

    // Whether a capture device is there, and whether a speech service is set: the dialog asks
    // both before it shows itself.
    static bool hasInputDevice();
    static bool hasSpeechService();

    bool canRecord() const;
    // False when refused, or when capture did not start.
    bool record();
    void stopRecord();
    // False while a recognition is in flight.
    bool recognise();

    base::Weak<SpeakControllerDelegate> delegate() const { return delegate_; }
    void setDelegate(base::Weak<SpeakControllerDelegate> delegate) { delegate_ = std::move(delegate); }
    AudioRecorder &recorder() { return *recorder_; }
    bool isRecognising() const { return m_isRecognising; }
    const std::string &recordFilePath() const { return recordFilePath_; }

    void didFinishRequest(const std::string &text) override;
    void requestError(const base::Ref<base::Error> &error, const std::string &reason) override;

private:
    void recogniseSuccess(const std::string &text);
    void recogniseError(const std::string &text);
    void interruptionListener(uint32_t state);
    void propListener(audio::Property property, const void *value);

    std::unique_ptr<AudioRecorder> recorder_ = std::make_unique<AudioRecorder>();
    std::string recordFilePath_;
    base::OperationQueue queue_;
    bool m_isRecognising = false;
    bool haveFreshRecording_ = false;
    base::Weak<SpeakControllerDelegate> delegate_;
};
