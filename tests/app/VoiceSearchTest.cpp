#include "StartupFixture.h"

#include "Common/ServerConfig.h"
#include "Components/CMAlertView.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"
#include "peers/RecognitionPeer.h"

#include "audio/Wave.h"
#include "base/Bundle.h"
#include "base/FileManager.h"
#include "base/Paths.h"
#include "base/PropertyList.h"
#include "ui/ImageView.h"
#include "ui/NavigationController.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

namespace app {
namespace {

using peers::RecognitionPeer;

constexpr const char *Utterance = R"({"hypotheses":[{"utterance":"上证指数","confidence":0.92}]})";

// The whole voice search in the running application: the home screen's speech button, the dialog
// of the tab-bar controller, the spoken name played as the microphone and the loopback recogniser.
class VoiceSearchTest : public StartupTest {
protected:
    VoiceSearchTest() {
        ::setenv("QV_AUDIO_INPUT", ("file:" + microphonePath()).c_str(), 1);
        for (const char *name : {"recordedFile.caf", "recordedFile2.caf", "dest.flac"})
            base::FileManager::remove(base::Paths::join(base::Paths::temporary(), name));
        driver.watch([this] { return !delegate || !tabBar().speak() || !tabBar().speak()->isRecognising(); });
    }
    ~VoiceSearchTest() override { ::unsetenv("QV_AUDIO_INPUT"); }

    static std::string microphonePath() {
        return std::string(QV_FIXTURES_DIR) + "/speech/shangzheng_zhishu.wav";
    }
    // What the microphone says in the first `bytes` of a recording.
    static std::string microphoneSound(size_t bytes) {
        std::ifstream in(microphonePath(), std::ios::binary);
        std::string sound(std::istreambuf_iterator<char>(in), {});
        sound = sound.substr(audio::WaveHeaderSize);
        sound.resize(bytes, '\0');
        return sound;
    }

    void setSpeechServer(const std::string &address) {
        const std::string path = *base::Bundle::main().pathFor("ServerConfig", "plist");
        base::Value config = *base::PropertyList::read(path);
        config.dict()->set(std::string(ServerConfig::SpeechServerKey), address);
        ASSERT_TRUE(base::PropertyList::write(config, path));
    }

    void startApp() {
        writeUserConfig({{"IsShowNoticeAnnounce", false}});
        launch();
        ASSERT_TRUE(runUntil([&] { return tabsShown(); }, 60));
        driver.runUntilIdle();
    }
    CMViewController &home() {
        auto &navigation = dynamic_cast<ui::NavigationController &>(*tabBar().viewControllers().front());
        return dynamic_cast<CMViewController &>(*navigation.viewControllers().front());
    }
    void pressSpeech() { tap(*home().speechButton()); }

    // The voice dialogs shown so far.
    std::vector<host::AlertRecord> dialogs() const {
        std::vector<host::AlertRecord> found;
        for (const host::AlertRecord &alert : host.alerts())
            if (alert.title == CMTabBarController::SpeakTitle)
                found.push_back(alert);
        return found;
    }
    // The texts of the message boxes on screen.
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        collectMessages(tabBar().view(), texts);
        return texts;
    }
    static void collectMessages(ui::View &view, std::vector<std::string> &texts) {
        if (auto *box = dynamic_cast<CMAlertView *>(&view))
            texts.push_back(box->infoLabel().text());
        for (const auto &child : view.subviews())
            collectMessages(*child, texts);
    }
};

TEST_F(VoiceSearchTest, TheSpokenNameBecomesASearchForTheSecurity) {
    RecognitionPeer peer(RecognitionPeer::replying(Utterance));
    setSpeechServer(peer.address());
    startApp();
    pressSpeech();
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].title, "语音查询");
    EXPECT_EQ(dialogs()[0].message, "请说出股票名称或代码......");
    EXPECT_EQ(dialogs()[0].buttons, std::vector<std::string>{"取 消"});
    ASSERT_TRUE(dialogs()[0].alert.lock());
    EXPECT_EQ(dialogs()[0].alert.lock()->tag, 1011);
    const auto &parts = dialogs()[0].alert.lock()->subviews();
    EXPECT_TRUE(std::any_of(parts.begin(), parts.end(), [](const auto &view) {
        return dynamic_cast<ui::ImageView *>(view.get()) && view->frame() == gfx::Rect{80, 15, 26, 26};
    })) << "the speech icon";
    EXPECT_TRUE(tabBar().speak()->recorder().IsRunning());

    advance(2.9);
    EXPECT_TRUE(peer.uploads().empty()) << "nothing is sent while the dialog records";
    EXPECT_FALSE(dialogs()[0].dismissedWith);
    advance(0.1);
    EXPECT_EQ(dialogs()[0].dismissedWith, 0);
    ASSERT_EQ(peer.uploads().size(), 1u);
    const RecognitionPeer::Upload upload = peer.uploads()[0];
    EXPECT_EQ(upload.path, "/speech-api/v1/recognize");
    EXPECT_EQ(upload.contentType, "audio/x-flac; rate=16000");
    // Recording starts once the dialog shows, on the same clock tick as the 3.0 s timer: the sixth
    // half-second buffer completes together with the timer and is kept only when it came first.
    const uint64_t frames = upload.flac.totalSamples;
    EXPECT_TRUE(frames == 5 * 8000u || frames == 6 * 8000u) << frames;
    std::vector<int16_t> expected(frames * 2);
    const std::string sound = microphoneSound(frames * 4);
    std::memcpy(expected.data(), sound.data(), sound.size());
    EXPECT_TRUE(upload.flac.samples == expected);

    EXPECT_EQ(home().searchBarTextField()->text(), "SZZS");
    ASSERT_TRUE(home().searchPopoverController());
    EXPECT_TRUE(home().searchPopoverController()->isVisible());
    auto &search = dynamic_cast<SearchMyStockContentController &>(
        *dynamic_cast<ui::NavigationController &>(home().searchPopoverController()->content())
             .viewControllers()
             .front());
    ASSERT_FALSE(search.searchResultArray().empty());
    EXPECT_EQ(search.searchResultArray()[size_t(0)]["code"].stringValue(), "SH000001");
    EXPECT_TRUE(messages().empty());
}

TEST_F(VoiceSearchTest, CancellingWithinTheThreeSecondsSendsNothing) {
    RecognitionPeer peer(RecognitionPeer::replying(Utterance));
    setSpeechServer(peer.address());
    startApp();
    pressSpeech();
    advance(1.0);
    auto dialog = dialogs().at(0).alert.lock();
    ASSERT_TRUE(dialog);
    gfx::Rect cancel = dialog->buttonFrame(0);
    host.tap({cancel.midX(), cancel.midY()});
    driver.runUntilIdle();
    EXPECT_EQ(dialogs()[0].dismissedWith, 0);
    EXPECT_FALSE(tabBar().speak()->recorder().IsRunning());
    advance(5.0);
    EXPECT_TRUE(peer.uploads().empty());
    EXPECT_EQ(home().searchBarTextField()->text(), "");
    EXPECT_TRUE(messages().empty());
    EXPECT_TRUE(tabBar().speak()->canRecord());
}

TEST_F(VoiceSearchTest, EveryFailedRecognitionShowsOneMessageAndTheButtonWorksAgain) {
    struct Case {
        const char *name;
        std::optional<std::string> reply; // none: the service is down
    };
    const Case cases[] = {
        {"100: service down", std::nullopt},
        {"101: nonsense", "<html>busy</html>"},
        {"102: no hypotheses", R"({"hypotheses":[]})"},
        {"103: no utterance", R"({"hypotheses":[{"confidence":1}]})"},
    };
    startApp();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<RecognitionPeer> peer;
        if (c.reply)
            peer.emplace(RecognitionPeer::replying(*c.reply));
        setSpeechServer(peer ? peer->address() : RecognitionPeer::refusedAddress());
        const size_t shown = dialogs().size();
        pressSpeech();
        ASSERT_EQ(dialogs().size(), shown + 1);
        advance(CMTabBarController::SpeakDuration);
        EXPECT_EQ(messages(), std::vector<std::string>{"语音不能识别，请再试一次"});
        EXPECT_EQ(home().searchBarTextField()->text(), "");
        if (peer) {
            EXPECT_EQ(peer->uploads().size(), 1u);
        }
        EXPECT_TRUE(tabBar().speak()->canRecord()) << "nothing is left recording or recognising";
        advance(CMAlertView::ShowSeconds + 0.5);
        EXPECT_TRUE(messages().empty());
    }
    pressSpeech();
    EXPECT_EQ(dialogs().size(), std::size(cases) + 1) << "the button works again";
}

TEST_F(VoiceSearchTest, WithoutServiceOrMicrophoneNoDialogButAMessage) {
    startApp();
    pressSpeech();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(messages(), std::vector<std::string>{"语音查询服务未设置"});
    advance(CMAlertView::ShowSeconds + 0.5);

    RecognitionPeer peer(RecognitionPeer::replying(Utterance));
    setSpeechServer(peer.address());
    ::setenv("QV_AUDIO_INPUT", "qv_no_such_device", 1);
    pressSpeech();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(messages(), std::vector<std::string>{"未检测到麦克风，无法使用语音查询"});
    advance(CMAlertView::ShowSeconds + 0.5);

    // The microphone goes between the press and the dialog's start: the dialog closes again.
    ::setenv("QV_AUDIO_INPUT", ("file:" + microphonePath()).c_str(), 1);
    gfx::Rect button = home().speechButton()->convert(home().speechButton()->bounds(), nullptr);
    host.tap({button.midX(), button.midY()});
    ASSERT_EQ(dialogs().size(), 1u);
    ::setenv("QV_AUDIO_INPUT", "qv_no_such_device", 1);
    driver.runUntilIdle();
    EXPECT_EQ(dialogs()[0].dismissedWith, 0);
    EXPECT_EQ(messages(), std::vector<std::string>{"未检测到麦克风，无法使用语音查询"});
    advance(CMTabBarController::SpeakDuration);
    EXPECT_TRUE(peer.uploads().empty()) << "never the recognition of an earlier recording";
    EXPECT_TRUE(tabBar().speak()->canRecord());
}

} // namespace
} // namespace app
