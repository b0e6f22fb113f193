#include "MainLoginView.h"

#include "Common/Util.h"
#include "Common/UtilUI.h"
#include "DataBase/DataBase.h"
#include "EncryptorAES.h"
#include "Module/StockDataBaseMgnt/DataManager.h"
#include "gfx/Font.h"

namespace {

// A saved text of the user configuration, deciphered; empty when absent, empty or not decipherable.
std::string savedText(const char *key) {
    std::string stored = DataManager::sharedDataManager().gUserConfigDict.get(key).stringValue();
    if (stored.empty())
        return {};
    return EncryptorAES::decryptBase64String(stored, EncryptorAES::LoginKeyString).value_or("");
}

base::Ref<ui::Button> panelButton(gfx::Rect frame, int tag, const char *title) {
    auto button = ui::Button::custom(frame);
    button->tag = tag;
    button->titleLabel().setFont(gfx::Font::boldSystem(18));
    button->setTitle(title);
    button->setBackgroundImage(gfx::Image::named("login_button.png"));
    return button;
}

} // namespace

MainLoginView::MainLoginView(gfx::Rect frame) : ui::View(frame) {}

void MainLoginView::setUp() {
    ui::View::setUp();
    base::Weak<MainLoginView> weak = weakSelf<MainLoginView>();
    base::NotificationCenter::shared().addObserver(weak, DataBase::LoginLevel2AccountNotify,
                                                   [weak](const base::Notification &n) {
                                                       if (auto alive = weak.lock())
                                                           alive->LoginLevel2AccountNotify(n);
                                                   });
    build();
}

MainLoginView::~MainLoginView() {
    base::NotificationCenter::shared().removeObserver(this);
}

void MainLoginView::build() {
    background_ = base::make<ui::ImageView>(gfx::Rect{0, 0, 1024, 768}, UtilUI::imageNamed("login_bg.png"));
    addSubview(background_);

    nameField_ = base::make<ui::TextField>(gfx::Rect{402, 198, 267, 25});
    nameField_->setBackgroundColor(gfx::Color::clear());
    nameField_->setText(savedText("MainLoginName"));
    addSubview(nameField_);
    pwdField_ = base::make<ui::TextField>(gfx::Rect{402, 243, 267, 25});
    pwdField_->setBackgroundColor(gfx::Color::clear());
    pwdField_->setSecureTextEntry(true);
    pwdField_->setText(savedText("MainLoginPwd"));
    addSubview(pwdField_);

    checkButton_ = ui::Button::custom({551, 295, 19, 19});
    checkButton_->tag = SavePwdTag;
    checkPwdStatus_ = DataManager::sharedDataManager().gUserConfigDict.get("IsSaveMainLoginPwd").boolValue();
    showCheck();
    regButton_ = panelButton({369, 339, 120, 39}, FreeLoginTag, "免费使用");
    loginButton_ = panelButton({539, 339, 120, 39}, AccountLoginTag, "登录");
    base::Weak<MainLoginView> weak = weakSelf<MainLoginView>();
    for (const base::Ref<ui::Button> &button : {checkButton_, regButton_, loginButton_}) {
        int tag = button->tag;
        button->addTarget(base::Action("mainLoginAction:",
                                       [weak, tag](base::Object *) {
                                           if (auto alive = weak.lock())
                                               alive->mainLoginAction(tag);
                                       }),
                          ui::TouchUpInside);
        addSubview(button);
    }
}

void MainLoginView::showCheck() {
    checkButton_->setBackgroundImage(checkPwdStatus_ ? gfx::Image::named("login_checked.png") : nullptr);
}

void MainLoginView::TryDirectLogin() {
    base::Value autoLogin = DataManager::sharedDataManager().gUserConfigDict.get("IsAutoMainLogin");
    bool autoOn = autoLogin.isNull() || autoLogin.boolValue();
    if (autoOn && !nameField_->text().empty() && !pwdField_->text().empty()) {
        setHidden(true);
        reqLoginLevel2Account();
    } else if (!isRelogin && nameField_->text().empty()) {
        setHidden(true);
        reqLoginWithoutAccount();
    }
}

void MainLoginView::mainLoginAction(int tag) {
    switch (tag) {
    case SavePwdTag:
        checkPwdStatus_ = !checkPwdStatus_;
        showCheck();
        break;
    case FreeLoginTag:
        reqLoginWithoutAccount();
        break;
    case AccountLoginTag:
        reqLoginLevel2Account();
        break;
    default:
        break;
    }
}

void MainLoginView::reqLoginLevel2Account() {
    if (Util::isEmptyStr(nameField_->text())) {
        setHidden(false);
        Util::ShowInfoBox(NoNameText, ErrorTitle);
        return;
    }
    if (Util::isEmptyStr(pwdField_->text())) {
        setHidden(false);
        Util::ShowInfoBox(NoPasswordText, ErrorTitle);
        return;
    }
    loginStarted(DataBase::sharedDataBase()->ConnectAndLoginLevel2Account(self(), nameField_->text(),
                                                                          pwdField_->text(), isRelogin));
}

void MainLoginView::reqLoginWithoutAccount() {
    loginStarted(DataBase::sharedDataBase()->ConnectAndLoginWithoutAccount(self(), isRelogin));
}

void MainLoginView::loginStarted(int32_t result) {
    if (result == -1 || result == -2) {
        setHidden(false);
        Util::ShowInfoBox(result == -1 ? NavServerFailText : HQServerFailText, ErrorTitle);
        return;
    }
    setHidden(true);
}

void MainLoginView::LoginLevel2AccountNotify(const base::Notification &notification) {
    switch (notification.userInfo.get(DataBase::LoginLevel2AccountStatus).intValue()) {
    case DataBase::LoginFinished:
        DidLoginSuccess();
        break;
    case DataBase::AccountRejected:
        DidLoginFail(AccountRefusedText);
        break;
    case DataBase::HQServerConnectFailed:
        DidLoginFail(HQServerFailText);
        break;
    default:
        break;
    }
}

void MainLoginView::DidLoginSuccess() {
    DataManager &manager = DataManager::sharedDataManager();
    manager.SaveLoginNamePwd(nameField_->text(), pwdField_->text(), checkPwdStatus_);
    manager.SetAutoLogin(true);
    if (auto listener = delegate.lock())
        listener->ReturnLoginSuccess(isRelogin);
}

void MainLoginView::DidLoginFail(const std::string &message) {
    DataBase::sharedDataBase()->IO_NetDataCenter()->ClearLevel2Account();
    setHidden(false);
    Util::ShowInfoBox(message, ErrorTitle);
}
