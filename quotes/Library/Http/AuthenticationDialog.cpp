#include "AuthenticationDialog.h"

#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Window.h"

#include <utility>

namespace {

// The sheet on screen and the requests waiting for one, made when the class is first used.
struct DialogState {
    base::Ref<AuthenticationDialog> onScreen;
    std::vector<base::Ref<HTTPRequest>> waiting;
};

DialogState &state() {
    static auto *s = new DialogState;
    return *s;
}

bool isTablet() {
    return ui::Device::current().idiom() == ui::Device::Idiom::Pad;
}

// A row holding one text field, kept 10 points inside the cell's bounds whatever its size.
class FieldCell : public ui::TableCell {
public:
    explicit FieldCell(base::Ref<ui::TextField> field) : field_(std::move(field)) {
        selectionStyle = Selection::None;
        contentView().addSubview(field_);
    }
    void layoutSubviews() override {
        ui::TableCell::layoutSubviews();
        field_->setFrame(
            convert(bounds().inset(AuthenticationDialog::FieldInset, AuthenticationDialog::FieldInset),
                    &contentView()));
    }

private:
    base::Ref<ui::TextField> field_;
};

} // namespace

// The sheet's table asks it for rows, texts and heights.
struct AuthenticationDialog::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<AuthenticationDialog> dialog;

    int numberOfSections(ui::TableView &) override {
        auto d = dialog.lock();
        return d && d->asksForDomain() ? 2 : 1;
    }
    int numberOfRows(ui::TableView &, int section) override { return section == 0 ? 2 : 1; }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto d = dialog.lock();
        return d ? d->cellForRow(table, path) : base::make<ui::TableCell>();
    }
    base::Opt<std::string> titleForHeader(ui::TableView &, int section) override {
        auto d = dialog.lock();
        return section == 0 && d ? d->realm() : std::string();
    }
    base::Opt<float> heightForHeader(ui::TableView &, int section) override {
        if (section != 0)
            return 0.f;
        return isTablet() ? TabletHeaderHeight : PhoneHeaderHeight;
    }
    base::Opt<std::string> titleForFooter(ui::TableView &table, int section) override {
        auto d = dialog.lock();
        if (!d || section != numberOfSections(table) - 1)
            return std::string();
        return std::string(d->sendsPasswordInTheClear() ? ClearTextFooter : SecureFooter);
    }
    base::Opt<float> heightForFooter(ui::TableView &table, int section) override {
        return section == numberOfSections(table) - 1 ? FooterHeight : 0.f;
    }
};

// The class's operations.

void AuthenticationDialog::presentAuthenticationDialogForRequest(base::Ref<HTTPRequest> request) {
    auto &s = state();
    if (s.onScreen) {
        s.waiting.push_back(std::move(request));
        return;
    }
    const Type type = request->authenticationNeeded() == 2 ? ProxyLogin : ServerLogin;
    s.onScreen = base::make<AuthenticationDialog>(std::move(request), type);
    s.onScreen->show();
}

void AuthenticationDialog::dismissDialogOnScreen() {
    if (auto dialog = state().onScreen)
        dialog->dismissModal(true);
}

base::Ref<AuthenticationDialog> AuthenticationDialog::dialogOnScreen() {
    return state().onScreen;
}

const std::vector<base::Ref<HTTPRequest>> &AuthenticationDialog::requestsWaiting() {
    return state().waiting;
}

void AuthenticationDialog::presentNextDialog() {
    auto &s = state();
    if (s.onScreen || s.waiting.empty())
        return;
    auto next = s.waiting.front();
    s.waiting.erase(s.waiting.begin());
    presentAuthenticationDialogForRequest(std::move(next));
}

// One sheet.

AuthenticationDialog::AuthenticationDialog(base::Ref<HTTPRequest> request, Type type)
    : request_(std::move(request)), type_(type) {}

AuthenticationDialog::~AuthenticationDialog() {
    if (presentingController_ && presentingController_->isViewLoaded())
        presentingController_->view().removeFromSuperview();
}

AutorotatingViewController &AuthenticationDialog::presentingController() {
    if (!presentingController_) {
        presentingController_ = base::make<AutorotatingViewController>();
        auto &windows = ui::Application::shared().windows();
        ui::View &host = presentingController_->view();
        host.setFrame({});
        host.userInteractionEnabled = false;
        if (!windows.empty())
            windows.front()->addSubview(presentingController_->viewRef());
    }
    return *presentingController_;
}

void AuthenticationDialog::show() {
    ui::View &root = view();
    for (auto subviews = root.subviews(); auto &subview : subviews)
        subview->removeFromSuperview();

    bar_ = base::make<ui::NavigationBar>(gfx::Rect{0, 0, root.bounds().width(), ui::NavigationBar::Height});
    bar_->autoresizingMask = ui::FlexibleWidth;
    item_ = base::make<ui::NavigationItem>();
    bar_->pushItem(item_);
    root.addSubview(bar_);
    showTitle();
    item_->setTitle(type_ == ProxyLogin ? request_->proxyHost() : request_->url().host());
    auto weak = weakSelf<AuthenticationDialog>();
    item_->setLeftItem(ui::BarButtonItem::system(
        ui::BarButtonItem::SystemItem::Cancel,
        base::Action(weak, "cancelAuthenticationFromDialog", [weak](base::Object *) {
            if (auto d = weak.lock())
                d->cancelAuthenticationFromDialog();
        })));
    item_->setRightItem(ui::BarButtonItem::titled(
        LoginTitle, ui::BarButtonItem::Style::Done,
        base::Action(weak, "loginWithCredentialsFromDialog", [weak](base::Object *) {
            if (auto d = weak.lock())
                d->loginWithCredentialsFromDialog();
        })));
    bar_->sizeToFit();

    const float barHeight = bar_->frame().height();
    tableView_ = base::make<ui::TableView>(
        gfx::Rect{0, barHeight, root.bounds().width(), root.bounds().height() - barHeight},
        ui::TableView::Style::Grouped);
    tableView_->autoresizingMask = ui::FlexibleWidth | ui::FlexibleHeight;
    table_ = base::make<Table>();
    table_->dialog = weak;
    tableView_->dataSource = table_;
    tableView_->delegate = table_;
    root.addSubview(tableView_);
    tableView_->reloadData();

    if (isTablet())
        presentation = Presentation::FormSheet;
    presentingController().presentModal(self<AuthenticationDialog>(), true);
    // The field can take the keyboard once it is in the window.
    tableView_->layoutIfNeeded();
    if (auto *field = usernameField())
        field->becomeFirstResponder();
}

void AuthenticationDialog::showTitle() {
    const ui::Orientation orientation = ui::Application::shared().statusBarOrientation();
    const bool upright =
        orientation == ui::Orientation::Portrait || orientation == ui::Orientation::PortraitUpsideDown;
    item_->setPrompt(upright ? (type_ == ProxyLogin ? ProxyPrompt : ServerPrompt) : "");
    bar_->sizeToFit();
    if (tableView_) {
        const float barHeight = bar_->frame().height();
        tableView_->setFrame({0, barHeight, view().bounds().width(), view().bounds().height() - barHeight});
    }
}

void AuthenticationDialog::dismiss() {
    if (state().onScreen.get() == this)
        dismissDialogOnScreen();
    else
        dismissModal(true);
}

void AuthenticationDialog::viewDidDisappear(bool) {
    // Nothing typed stays behind once the sheet has gone.
    for (ui::TextField *field : {usernameField(), passwordField(), domainField()})
        if (field)
            field->setText("");
    auto keep = self<AuthenticationDialog>();
    auto &s = state();
    if (s.onScreen == keep)
        s.onScreen.reset();
    base::RunLoop::main().performAfter(
        0, base::Action("presentNextDialog", [](base::Object *) { presentNextDialog(); }));
}

// The answer.

const std::string &AuthenticationDialog::scheme() const {
    return type_ == ProxyLogin ? request_->proxyAuthenticationScheme() : request_->authenticationScheme();
}

const std::string &AuthenticationDialog::realm() const {
    return type_ == ProxyLogin ? request_->proxyAuthenticationRealm() : request_->authenticationRealm();
}

// Basic credentials are readable on the way: to a proxy always (the proxy connection is plain),
// to a server unless the URL is https.
bool AuthenticationDialog::sendsPasswordInTheClear() const {
    return scheme() == BasicScheme && (type_ == ProxyLogin || request_->url().scheme() != "https");
}

bool AuthenticationDialog::asksForDomain() const {
    return scheme() == NTLMScheme;
}

std::vector<base::Ref<HTTPRequest>> AuthenticationDialog::requestsRequiringTheseCredentials() const {
    std::vector<base::Ref<HTTPRequest>> matching;
    const base::Url &mine = request_->url();
    for (auto &other : state().waiting) {
        const base::Url theirs = other->url();
        const std::string &theirRealm =
            type_ == ProxyLogin ? other->proxyAuthenticationRealm() : other->authenticationRealm();
        if (other->authenticationNeeded() == request_->authenticationNeeded() &&
            theirs.host() == mine.host() && theirs.port() == mine.port() &&
            theirs.scheme() == mine.scheme() && theirRealm == realm())
            matching.push_back(other);
    }
    matching.push_back(request_);
    return matching;
}

void AuthenticationDialog::loginWithCredentialsFromDialog() {
    // A second tap while the sheet slides away must not start the requests twice.
    if (std::exchange(answered_, true))
        return;
    const std::string user = usernameField() ? usernameField()->text() : std::string();
    const std::string password = passwordField() ? passwordField()->text() : std::string();
    const std::string domain = domainField() ? domainField()->text() : std::string();
    for (auto &request : requestsRequiringTheseCredentials()) {
        if (type_ == ProxyLogin) {
            request->setProxyUsername(user);
            request->setProxyPassword(password);
            if (asksForDomain())
                request->setProxyDomain(domain);
        } else {
            request->setUsername(user);
            request->setPassword(password);
            if (asksForDomain())
                request->setDomain(domain);
        }
        request->retryUsingSuppliedCredentials();
        std::erase(state().waiting, request);
    }
    dismiss();
}

void AuthenticationDialog::cancelAuthenticationFromDialog() {
    if (std::exchange(answered_, true))
        return;
    for (auto &request : requestsRequiringTheseCredentials()) {
        request->cancelAuthentication();
        std::erase(state().waiting, request);
    }
    dismiss();
}

// The table's rows.

base::Ref<ui::TableCell> AuthenticationDialog::cellForRow(ui::TableView &, ui::IndexPath path) {
    auto &cell = cells_[path];
    if (cell)
        return cell;
    auto field = base::make<ui::TextField>();
    field->autocapitalize = false;
    field->autocorrect = false;
    if (path.section == 0 && path.row == 0) {
        field->setPlaceholder(UserPlaceholder);
    } else if (path.section == 0) {
        field->setPlaceholder(PasswordPlaceholder);
        field->setSecureTextEntry(true);
    } else {
        field->setPlaceholder(DomainPlaceholder);
    }
    cell = base::make<FieldCell>(field);
    return cell;
}

ui::TextField *AuthenticationDialog::textFieldInRow(int row, int section) const {
    auto it = cells_.find({section, row});
    if (it == cells_.end() || it->second->contentView().subviews().empty())
        return nullptr;
    return dynamic_cast<ui::TextField *>(it->second->contentView().subviews().front().get());
}
