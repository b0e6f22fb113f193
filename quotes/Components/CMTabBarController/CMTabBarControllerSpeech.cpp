// The voice-search dialog of the tab-bar controller.
#include "CMTabBarController.h"

#include "Module/StockDataBaseMgnt/DataManager.h"
#include "PYMethod.h"
#include "gfx/Image.h"
#include "ui/ImageView.h"

// Hears the dialog for the controller, which cannot be an alert delegate itself.
class CMTabBarController::SpeakAlertRelay : public ui::AlertDelegate {
public:
    explicit SpeakAlertRelay(base::Weak<CMTabBarController> owner) : owner_(std::move(owner)) {}

    base::Opt<void> didPresent(ui::Alert &alert) override {
        if (auto owner = owner_.lock(); owner && alert.tag == SpeakAlertTag)
            owner->speakAlertDidPresent();
        return {};
    }
    base::Opt<void> clicked(ui::Alert &alert, int index) override {
        if (auto owner = owner_.lock(); owner && alert.tag == SpeakAlertTag && index == 0)
            owner->speakAlertCancelled();
        return {};
    }

private:
    base::Weak<CMTabBarController> owner_;
};

void CMTabBarController::StartSpeech(base::Weak<CMViewController> receiver) {
    mNeedResultHandle = std::move(receiver);
    if (!speak_) {
        speak_ = base::make<SpeakController>();
        speak_->setDelegate(weakSelf<CMTabBarController>());
    }
    if (!speak_->canRecord() || speakAlert_)
        return;
    if (!SpeakController::hasSpeechService()) {
        DataManager::sharedDataManager().ShowAlertView(NoSpeechServiceText);
        return;
    }
    if (!SpeakController::hasInputDevice()) {
        DataManager::sharedDataManager().ShowAlertView(NoMicrophoneText);
        return;
    }
    speakTimer_ = base::Timer::scheduled(
        SpeakDuration, false,
        base::Action(weakSelf(), "SpeakTimerEvent", [this](base::Object *) { SpeakTimerEvent(); }));
    speakAlertRelay_ = base::make<SpeakAlertRelay>(weakSelf<CMTabBarController>());
    speakAlert_ = base::make<ui::Alert>(SpeakTitle, SpeakMessage, speakAlertRelay_,
                                        std::string(SpeakCancelTitle), std::vector<std::string>{});
    speakAlert_->tag = SpeakAlertTag;
    speakAlert_->addSubview(base::make<ui::ImageView>(SpeakIconFrame, gfx::Image::named(SpeakIconName)));
    speakAlert_->show();
}

void CMTabBarController::speakAlertDidPresent() {
    if (speak_->record())
        return;
    // Capture did not start: the dialog would listen to nothing.
    closeSpeakAlert();
    DataManager::sharedDataManager().ShowAlertView(NoMicrophoneText);
}

void CMTabBarController::SpeakTimerEvent() {
    closeSpeakAlert();
    speak_->stopRecord();
    speak_->recognise();
}

void CMTabBarController::speakAlertCancelled() {
    // The alert goes by itself after the click.
    if (speakTimer_)
        speakTimer_->invalidate();
    speakTimer_.reset();
    speakAlert_.reset();
    speak_->stopRecord();
}

void CMTabBarController::closeSpeakAlert() {
    if (speakTimer_)
        speakTimer_->invalidate();
    speakTimer_.reset();
    if (speakAlert_ && speakAlert_->isVisible())
        speakAlert_->dismiss(0, false);
    speakAlert_.reset();
}

base::Opt<void> CMTabBarController::ReturnRecogniseSuccess(const std::string &text) {
    if (auto receiver = mNeedResultHandle.lock())
        receiver->ReturnSpeechSearchResult(PYMethod::getPinYin(text));
    return {};
}

base::Opt<void> CMTabBarController::ReturnRecogniseError(const std::string &) {
    DataManager::sharedDataManager().ShowAlertView(RecogniseFailedText);
    return {};
}
