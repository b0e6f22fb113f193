#pragma once

#include "AutorotatingViewController.h"
#include "HTTPRequest.h"

#include "ui/NavigationBar.h"
#include "ui/TableView.h"
#include "ui/TextField.h"

#include <map>
#include <string>
#include <vector>

// The modal login sheet a request shows when a server (401) or a proxy (407) wants credentials
// and no delegate gives them: a form sheet with a bar (the host as title, Cancel, "Login") over
// a grouped table of text fields for the user name, the password and, for NTLM, the domain.
//
// One sheet shows at a time. Requests that ask meanwhile wait in a class-wide list in the order
// they came; Login and Cancel answer every waiting request of the same kind (server or proxy),
// host, port, URL scheme and realm at once, through the credentials and
// retryUsingSuppliedCredentials, or cancelAuthentication (the request fails with code 3). Each
// other waiting request gets its own sheet once the one on screen has gone. Everything here runs
// on the main thread. The sheet clears its fields when it closes, so no typed password outlives it.
class AuthenticationDialog : public AutorotatingViewController {
public:
    enum Type { ServerLogin = 0, ProxyLogin = 1 };

    static constexpr const char *LoginTitle = "Login";
    static constexpr const char *UserPlaceholder = "User", *PasswordPlaceholder = "Password",
                                *DomainPlaceholder = "Domain";
    static constexpr const char *ServerPrompt = "Login to this secure server.";
    static constexpr const char *ProxyPrompt = "Login to this secure proxy server.";
    static constexpr const char *ClearTextFooter = "Password will be sent in the clear.";
    static constexpr const char *SecureFooter = "Password will be sent securely.";
    // The platform's names of the two schemes the sheet tells apart.
    static constexpr const char *BasicScheme = "Basic", *NTLMScheme = "NTLM";
    static constexpr float FieldInset = 10;
    static constexpr float TabletHeaderHeight = 54, PhoneHeaderHeight = 30, FooterHeight = 30;

    // Shows a sheet for the request, or queues the request while one is on screen.
    static void presentAuthenticationDialogForRequest(base::Ref<HTTPRequest> request);
    // Closes the sheet on screen.
    static void dismissDialogOnScreen();
    // The sheet on screen and the requests waiting, for hosts and tests.
    static base::Ref<AuthenticationDialog> dialogOnScreen();
    static const std::vector<base::Ref<HTTPRequest>> &requestsWaiting();

    AuthenticationDialog(base::Ref<HTTPRequest> request, Type type);
    ~AuthenticationDialog() override;

    HTTPRequest &request() const { return *request_; }
    Type type() const { return type_; }
    ui::TableView *tableView() const { return tableView_.get(); }
    ui::NavigationBar *navigationBar() const { return bar_.get(); }
    ui::TextField *usernameField() const { return textFieldInRow(0, 0); }
    ui::TextField *passwordField() const { return textFieldInRow(1, 0); }
    ui::TextField *domainField() const { return textFieldInRow(0, 1); }

    // Builds the bar and the table and presents the sheet.
    void show();
    // The prompt when the device is upright, none in landscape; the table goes below the bar.
    void showTitle();
    void dismiss();
    void loginWithCredentialsFromDialog();
    void cancelAuthenticationFromDialog();
    // The waiting requests the answer applies to, then the sheet's own request.
    std::vector<base::Ref<HTTPRequest>> requestsRequiringTheseCredentials() const;
    static void presentNextDialog();
    // The invisible host the sheet is presented from, made on first use.
    AutorotatingViewController &presentingController();

    void viewDidDisappear(bool animated) override;

private:
    struct Table;
    ui::TextField *textFieldInRow(int row, int section) const;
    // The scheme and realm of what the sheet logs in to.
    const std::string &scheme() const;
    const std::string &realm() const;
    bool asksForDomain() const;
    bool sendsPasswordInTheClear() const;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path);

    base::Ref<HTTPRequest> request_;
    Type type_;
    bool answered_ = false;
    base::Ref<ui::TableView> tableView_;
    base::Ref<ui::NavigationBar> bar_;
    base::Ref<ui::NavigationItem> item_;
    base::Ref<Table> table_;
    // The rows' cells, made once: the table may ask again, the typed text stays.
    std::map<ui::IndexPath, base::Ref<ui::TableCell>> cells_;
    base::Ref<AutorotatingViewController> presentingController_;
};
