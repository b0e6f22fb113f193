#include "SpeakController.h"

#include "XTLib/TemporaryFiles.h"

#include "audio/Session.h"
#include "base/Log.h"
#include "base/RunLoop.h"
#include "base/Str.h"
#include "base/Value.h"

namespace {

void printFailure(audio::Status status, const char *message) {
    if (status)
        base::log(base::LogLevel::Error, base::str::format(message, long(status)));
}

} // namespace

SpeakController::~SpeakController() {
    queue_.cancelAll();
}

void SpeakController::setUp() {
    base::Object::setUp();
    auto &session = audio::Session::shared();
    base::Weak<SpeakController> weak = weakSelf<SpeakController>();
    audio::Status status = session.initialize(&base::RunLoop::main(), [weak](uint32_t state) {
        if (auto self = weak.lock())
            self->interruptionListener(state);
    });
    if (status) {
        printFailure(status, "ERROR INITIALIZING AUDIO SESSION! %ld");
        return;
    }
    if (session.setCategory(audio::Category::PlayAndRecord))
        base::log(base::LogLevel::Error, "couldn't set audio category!");
    auto listener = [weak](audio::Property property, const void *value, uint32_t) {
        if (auto self = weak.lock())
            self->propListener(property, value);
    };
    printFailure(session.addListener(audio::Property::AudioRouteChange, listener),
                 "ERROR ADDING AUDIO SESSION PROP LISTENER! %ld");
    uint32_t available = 0, size = sizeof available;
    printFailure(session.get(audio::Property::AudioInputAvailable, &available, &size),
                 "ERROR GETTING INPUT AVAILABILITY! %ld");
    printFailure(session.addListener(audio::Property::AudioInputAvailable, listener),
                 "ERROR ADDING AUDIO SESSION PROP LISTENER! %ld");
    if (session.setActive(true))
        base::log(base::LogLevel::Error, "AudioSessionSetActive (true) failed");
}

bool SpeakController::hasInputDevice() {
    uint32_t available = 0, size = sizeof available;
    return audio::Session::shared().get(audio::Property::AudioInputAvailable, &available, &size) ==
               audio::NoError &&
           available != 0;
}

bool SpeakController::hasSpeechService() {
    return RequestOperation::serviceAddress().has_value();
}

bool SpeakController::canRecord() const {
    return !recorder_->IsRunning() && !m_isRecognising;
}

bool SpeakController::record() {
    if (!canRecord())
        return false;
    haveFreshRecording_ = false;
    return recorder_->StartRecord(RecordFileName);
}

void SpeakController::stopRecord() {
    if (!recorder_->IsRunning())
        return;
    haveFreshRecording_ = recorder_->StopRecord() == 0;
    recordFilePath_ = temporaryPath(RecordFileName);
}

bool SpeakController::recognise() {
    if (m_isRecognising)
        return false;
    if (recorder_->IsRunning())
        stopRecord();
    m_isRecognising = true;
    if (!haveFreshRecording_) {
        base::Weak<SpeakController> weak = weakSelf<SpeakController>();
        base::performOnMain(
            [weak] {
                if (auto self = weak.lock())
                    self->recogniseError(NoRecordingReason);
            },
            false);
        return true;
    }
    haveFreshRecording_ = false;
    queue_.add(base::make<RequestOperation>(std::nullopt, weakSelf<SpeakController>(),
                                            RequestOperation::SpeechUploadType));
    return true;
}

void SpeakController::didFinishRequest(const std::string &text) {
    base::Weak<SpeakController> weak = weakSelf<SpeakController>();
    base::performOnMain(
        [weak, text] {
            if (auto self = weak.lock())
                self->recogniseSuccess(text);
        },
        false);
}

void SpeakController::requestError(const base::Ref<base::Error> &error, const std::string &reason) {
    std::string text = error ? error->localizedDescription() : reason;
    if (text.empty())
        text = reason;
    base::Weak<SpeakController> weak = weakSelf<SpeakController>();
    base::performOnMain(
        [weak, text] {
            if (auto self = weak.lock())
                self->recogniseError(text);
        },
        false);
}

void SpeakController::recogniseSuccess(const std::string &text) {
    m_isRecognising = false;
    if (auto delegate = delegate_.lock())
        delegate->ReturnRecogniseSuccess(text);
}

void SpeakController::recogniseError(const std::string &text) {
    m_isRecognising = false;
    if (auto delegate = delegate_.lock())
        delegate->ReturnRecogniseError(text);
}

void SpeakController::interruptionListener(uint32_t state) {
    if (state == audio::BeginInterruption && recorder_->IsRunning())
        stopRecord();
}

void SpeakController::propListener(audio::Property property, const void *value) {
    if (property != audio::Property::AudioRouteChange || !value)
        return;
    const auto &change = *static_cast<const base::Value *>(value);
    const int64_t reason = change[audio::Session::RouteChangeReasonKey].intValue();
    if (reason != CategoryChangeReason && recorder_->IsRunning())
        stopRecord();
}
