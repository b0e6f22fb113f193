#pragma once

#include "base/NotificationCenter.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/TextField.h"
#include "ui/View.h"

#include <string>

// Told by the login panel that the market login has finished.
class MainLoginViewDelegate {
public:
    virtual ~MainLoginViewDelegate() = default;
    virtual void ReturnLoginSuccess(bool isRelogin) = 0;
};

// The market login panel of the splash screen: a market account (user name and password) or free
// use without one. It fills its fields from the saved login of the user configuration, logs in by
// itself when the saved settings allow it (TryDirectLogin), and follows the login through the
// statuses DataBase posts as "LoginLevel2AccountNotify" for as long as it exists.
//
// While a login runs the panel is hidden. A finished login (status 9) saves the login, switches
// auto-login on and tells the delegate. A refused account (6) or a quote server lost during the
// login (4) forgets the account and shows the panel again with the reason. A login that cannot
// even start (-1 no navigation server, -2 no quote server) shows the panel again with the reason,
// for the free login too, so the user is never left before a bare splash. Missing name or password
// is refused with a message before anything connects. Messages are alerts titled "错误".
class MainLoginView : public ui::View {
public:
    // Button tags.
    static constexpr int SavePwdTag = 1, FreeLoginTag = 2, AccountLoginTag = 3;
    static constexpr const char *ErrorTitle = "错误";
    static constexpr const char *NavServerFailText = "登录失败，原因：导航服务器连接失败！";
    static constexpr const char *HQServerFailText = "登录失败，原因：行情服务器连接失败！";
    static constexpr const char *AccountRefusedText = "登录失败，原因：账号验证失败！";
    static constexpr const char *NoNameText = "请输入账号！";
    static constexpr const char *NoPasswordText = "请输入密码！";

    explicit MainLoginView(gfx::Rect frame);
    void setUp() override;
    ~MainLoginView() override;

    base::Weak<MainLoginViewDelegate> delegate;
    bool isRelogin = false;

    // The automatic login: with auto-login on (or unset) and both fields filled, the account
    // login; otherwise, unless this is a re-login, the free login when no name is saved; else the
    // panel waits for the user.
    void TryDirectLogin();
    void mainLoginAction(int tag);
    void reqLoginLevel2Account();
    void reqLoginWithoutAccount();
    void LoginLevel2AccountNotify(const base::Notification &notification);
    void DidLoginSuccess();
    void DidLoginFail(const std::string &message);

    ui::TextField &nameField() { return *nameField_; }
    ui::TextField &pwdField() { return *pwdField_; }
    ui::Button &checkButton() { return *checkButton_; }
    ui::Button &regButton() { return *regButton_; }
    ui::Button &loginButton() { return *loginButton_; }
    bool checkPwdStatus() const { return checkPwdStatus_; }

private:
    void build();
    // Reacts to the immediate result of a login call: -1 and -2 show the panel with the reason,
    // anything else hides it until the statuses come.
    void loginStarted(int32_t result);
    void showCheck();

    base::Ref<ui::ImageView> background_;
    base::Ref<ui::TextField> nameField_, pwdField_;
    base::Ref<ui::Button> checkButton_, regButton_, loginButton_;
    bool checkPwdStatus_ = false;
};
