#include "AuthenticationDialog.h"
#include "Golden.h"
#include "HttpTestSupport.h"
#include "peers/FaultPeer.h"

#include "host/Offscreen.h"
#include "ui/Application.h"

#include <gtest/gtest.h>

namespace {

using peers::FaultPeer;

// The sheet in the offscreen host, over requests sent through a proxy that wants a login.
class AuthenticationDialogTest : public ::testing::Test {
protected:
    void TearDown() override {
        if (AuthenticationDialog::dialogOnScreen()) {
            AuthenticationDialog::dismissDialogOnScreen();
            app.advance(ui::ViewController::CoverVerticalDuration);
        }
        ui::Application::shared().setStatusBarOrientation(ui::Orientation::LandscapeLeft);
    }

    struct Sent {
        base::Ref<HTTPRequest> request;
        std::shared_ptr<RecordingDelegate> delegate;
    };
    Sent viaProxy(const FaultPeer &proxy, const std::string &address) {
        Sent sent{HTTPRequest::requestWithURL(url(address)), std::make_shared<RecordingDelegate>()};
        sent.request->setProxyHost("127.0.0.1");
        sent.request->setProxyPort(proxy.port());
        sent.request->setDelegate(sent.delegate);
        sent.request->startAsynchronous();
        return sent;
    }
    // Waits until a sheet is on screen with `waiting` requests queued behind it, and lets it slide in.
    base::Ref<AuthenticationDialog> sheetWith(size_t waiting) {
        EXPECT_TRUE(runMainUntil([&] {
            return AuthenticationDialog::dialogOnScreen() &&
                   AuthenticationDialog::requestsWaiting().size() == waiting;
        }));
        app.advance(ui::ViewController::CoverVerticalDuration);
        return AuthenticationDialog::dialogOnScreen();
    }
    void type(ui::TextField *field, const std::string &text) {
        ASSERT_TRUE(field);
        field->becomeFirstResponder();
        app.typeText(text);
    }
    // Closes the sheet and runs the step that shows the next one.
    void letItGo() {
        app.advance(ui::ViewController::CoverVerticalDuration);
        app.runPending();
    }
    static bool ended(std::initializer_list<const Sent *> all) {
        return runMainUntil([&] {
            for (auto *s : all)
                if (!s->delegate->ended())
                    return false;
            return true;
        });
    }

    // The network thread reads the clock in use at any moment: the virtual one must outlive every test.
    static base::VirtualClock &sharedClock() {
        static auto *clock = new base::VirtualClock;
        return *clock;
    }
    host::TestApp app{&sharedClock()};
};

TEST_F(AuthenticationDialogTest, OneSheetLogsInEveryRequestForTheSameHostAndRealm) {
    FaultPeer proxy({FaultPeer::proxyAuthentication("Basic realm=\"lan\"")});
    Sent first = viaProxy(proxy, "http://quotes.example/a");
    Sent second = viaProxy(proxy, "http://quotes.example/b");
    auto sheet = sheetWith(1);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->type(), AuthenticationDialog::ProxyLogin);
    EXPECT_EQ(sheet->presentation, ui::ViewController::Presentation::FormSheet);
    EXPECT_EQ(sheet->navigationBar()->topItem()->title(), "127.0.0.1");
    EXPECT_EQ(sheet->navigationBar()->topItem()->prompt(), "") << "no prompt in landscape";
    EXPECT_EQ(sheet->navigationBar()->topItem()->leftItem()->title(), ui::BarButtonItem::CancelTitle);
    EXPECT_EQ(sheet->navigationBar()->topItem()->rightItem()->title(), "Login");
    EXPECT_EQ(sheet->navigationBar()->topItem()->rightItem()->style(), ui::BarButtonItem::Style::Done);
    EXPECT_TRUE(sheet->usernameField()->isFirstResponder());
    EXPECT_TRUE(sheet->passwordField()->isSecureTextEntry());
    EXPECT_FALSE(sheet->domainField()) << "no Domain row without NTLM";
    ui::TableView &table = *sheet->tableView();
    EXPECT_EQ(*table.dataSource.lock()->titleForHeader(table, 0), "lan") << "the proxy's realm";
    EXPECT_EQ(*table.dataSource.lock()->titleForFooter(table, 0), AuthenticationDialog::ClearTextFooter)
        << "Basic to a proxy travels in the clear";

    type(sheet->usernameField(), "user");
    type(sheet->passwordField(), "pass");
    EXPECT_TRUE(qvtest::matchesGolden(app.render(), "http/authentication-sheet"));

    sheet->navigationBar()->topItem()->rightItem()->press();
    sheet->navigationBar()->topItem()->rightItem()->press();
    ASSERT_TRUE(ended({&first, &second}));
    for (const Sent *s : {&first, &second}) {
        EXPECT_FALSE(s->request->error());
        EXPECT_EQ(s->request->responseString(), "Basic dXNlcjpwYXNz") << "what the proxy received";
    }
    EXPECT_EQ(proxy.requests().size(), 4u) << "one retry each, however often Login is pressed";
    EXPECT_TRUE(AuthenticationDialog::requestsWaiting().empty());
    letItGo();
    EXPECT_FALSE(AuthenticationDialog::dialogOnScreen());
    EXPECT_EQ(sheet->passwordField()->text(), "") << "the sheet keeps no password once closed";
}

TEST_F(AuthenticationDialogTest, CancelFailsTheGroupAndAnotherHostGetsItsOwnSheet) {
    ui::Application::shared().setStatusBarOrientation(ui::Orientation::Portrait);
    FaultPeer proxy({FaultPeer::proxyAuthentication("Basic realm=\"lan\"")});
    Sent first = viaProxy(proxy, "http://quotes.example/a");
    ASSERT_TRUE(sheetWith(0));
    Sent other = viaProxy(proxy, "http://news.example/n");
    Sent second = viaProxy(proxy, "http://quotes.example/b");
    auto sheet = sheetWith(2);
    EXPECT_EQ(sheet->request().url().host(), "quotes.example");
    EXPECT_EQ(sheet->navigationBar()->topItem()->prompt(), AuthenticationDialog::ProxyPrompt);

    sheet->navigationBar()->topItem()->leftItem()->press();
    ASSERT_TRUE(ended({&first, &second}));
    for (const Sent *s : {&first, &second}) {
        ASSERT_TRUE(s->request->error());
        EXPECT_EQ(s->request->error()->code(), AuthenticationErrorType);
    }
    EXPECT_FALSE(other.delegate->ended());

    letItGo();
    auto next = sheetWith(0);
    ASSERT_TRUE(next);
    EXPECT_NE(next, sheet);
    EXPECT_EQ(next->request().url().host(), "news.example");
    // Untouched fields send an empty user name and password, not none.
    next->navigationBar()->topItem()->rightItem()->press();
    ASSERT_TRUE(ended({&other}));
    EXPECT_FALSE(other.request->error());
    EXPECT_EQ(other.request->responseString(), "Basic Og==");
}

TEST_F(AuthenticationDialogTest, AnNTLMProxyAsksForTheDomainAndStartsTheHandshake) {
    FaultPeer proxy({FaultPeer::proxyAuthentication("NTLM")});
    Sent sent = viaProxy(proxy, "http://quotes.example/a");
    auto sheet = sheetWith(0);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->type(), AuthenticationDialog::ProxyLogin);
    ASSERT_TRUE(sheet->domainField());
    type(sheet->usernameField(), "user");
    type(sheet->passwordField(), "pass");
    type(sheet->domainField(), "OFFICE");
    sheet->navigationBar()->topItem()->rightItem()->press();
    ASSERT_TRUE(ended({&sent}));
    EXPECT_FALSE(sent.request->error());
    EXPECT_TRUE(sent.request->responseString().value_or("").starts_with("NTLM "))
        << "the proxy received the negotiation: " << sent.request->responseString().value_or("");
}

TEST_F(AuthenticationDialogTest, TheTableFollowsTheSchemeAndTheConnection) {
    struct Case {
        const char *address, *scheme;
        int sections;
        const char *footer;
    };
    const Case cases[] = {
        {"http://quotes.example/", "Basic", 1, AuthenticationDialog::ClearTextFooter},
        {"https://quotes.example/", "Basic", 1, AuthenticationDialog::SecureFooter},
        {"http://quotes.example/", "Digest", 1, AuthenticationDialog::SecureFooter},
        {"http://quotes.example/", "NTLM", 2, AuthenticationDialog::SecureFooter},
    };
    ui::Application::shared().setStatusBarOrientation(ui::Orientation::Portrait);
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.address) + " " + c.scheme);
        auto request = HTTPRequest::requestWithURL(url(c.address));
        request->setAuthenticationScheme(c.scheme);
        AuthenticationDialog::presentAuthenticationDialogForRequest(request);
        auto sheet = sheetWith(0);
        ASSERT_TRUE(sheet);
        EXPECT_EQ(sheet->type(), AuthenticationDialog::ServerLogin);
        EXPECT_EQ(sheet->navigationBar()->topItem()->title(), "quotes.example");
        EXPECT_EQ(sheet->navigationBar()->topItem()->prompt(), AuthenticationDialog::ServerPrompt);
        ui::TableView &table = *sheet->tableView();
        ASSERT_EQ(table.numberOfSections(), c.sections);
        EXPECT_EQ(table.rectForHeader(0).height(), AuthenticationDialog::TabletHeaderHeight);
        EXPECT_EQ(bool(sheet->domainField()), c.sections == 2);
        if (auto *domain = sheet->domainField())
            EXPECT_EQ(domain->placeholder(), "Domain");
        ui::TableDataSource &source = *table.dataSource.lock();
        for (int section = 0; section < c.sections; ++section)
            EXPECT_EQ(*source.titleForFooter(table, section), section == c.sections - 1 ? c.footer : "");
        // The field sits 10 points inside its cell.
        auto *user = sheet->usernameField();
        auto cell = table.cellForRow({0, 0});
        ASSERT_TRUE(cell);
        EXPECT_EQ(user->convert(user->bounds(), cell.get()), cell->bounds().inset(10, 10));
        AuthenticationDialog::dismissDialogOnScreen();
        letItGo();
    }
}

} // namespace
