#include "HttpTestSupport.h"
#include "peers/AuthPeer.h"

#include "net/CredentialStore.h"

#include <gtest/gtest.h>

namespace {

using peers::AuthPeer;

class AuthenticationTest : public ::testing::Test {
protected:
    void SetUp() override {
        HTTPRequest::clearSession();
        net::CredentialStore::shared().clear();
    }
    void TearDown() override { SetUp(); }

    static base::Ref<HTTPRequest> get(const AuthPeer &peer, const std::string &user,
                                      const std::string &password, const std::string &domain = {}) {
        auto request = HTTPRequest::requestWithURL(url(peer.url("/private?x=1")));
        request->setUsername(user);
        request->setPassword(password);
        request->setDomain(domain);
        request->startSynchronous();
        return request;
    }
};

// Each case runs the whole handshake against a peer that recomputes the proof from its own
// challenge, so only a correct answer passes.
TEST_F(AuthenticationTest, DigestAndNtlmHandshakesAreCheckedByThePeer) {
    const AuthPeer::Account account{"User", "Password", "Domain"};
    const struct {
        const char *name;
        AuthPeer::Scheme scheme;
        std::string user, password, domain;
        bool passes;
    } cases[] = {
        {"digest", AuthPeer::Digest, "User", "Password", "", true},
        {"digest, wrong password", AuthPeer::Digest, "User", "Passw0rd", "", false},
        {"ntlm with the domain field", AuthPeer::Ntlm, "User", "Password", "Domain", true},
        {"ntlm, domain split from the name", AuthPeer::Ntlm, "Domain\\User", "Password", "", true},
        {"ntlm, two backslashes keep the whole name", AuthPeer::Ntlm, "Domain\\User\\x", "Password", "",
         false},
        {"ntlm, wrong password", AuthPeer::Ntlm, "User", "Passw0rd", "Domain", false},
    };
    for (auto &c : cases) {
        SCOPED_TRACE(c.name);
        SetUp();
        AuthPeer peer(c.scheme, account);
        auto request = get(peer, c.user, c.password, c.domain);
        EXPECT_EQ(peer.verified(), c.passes ? 1u : 0u);
        if (c.passes) {
            EXPECT_FALSE(request->error());
            EXPECT_EQ(request->responseString(), "welcome");
        } else {
            ASSERT_TRUE(request->error());
            EXPECT_EQ(request->error()->code(), AuthenticationErrorType);
            EXPECT_EQ(request->error()->localizedDescription(), "Authentication needed");
        }
    }
}

TEST_F(AuthenticationTest, NtlmAnswersTwiceOnOneConnectionThenGivesUp) {
    AuthPeer peer(AuthPeer::Ntlm, {"User", "Password", "Domain"});
    auto good = get(peer, "Domain\\User", "Password");
    EXPECT_EQ(good->authenticationRetryCount(), 2) << "negotiation, then the answer";
    EXPECT_EQ(good->authenticationScheme(), "NTLM");
    auto refused = get(peer, "Domain\\User", "wrong");
    EXPECT_EQ(refused->authenticationRetryCount(), 2);
    EXPECT_EQ(peer.rejected(), 1u);
}

TEST_F(AuthenticationTest, TheCredentialStoreAnswersAndKeepsWhatWorked) {
    AuthPeer peer(AuthPeer::Digest, {"User", "Password", ""});
    const auto port = int(peer.port());
    HTTPRequest::saveCredentials({"User", "Password"}, "127.0.0.1", port, "http", AuthPeer::realm);
    auto fromStore = HTTPRequest::requestWithURL(url(peer.url("/a")));
    fromStore->setUseKeychainPersistence(true);
    fromStore->startSynchronous();
    EXPECT_FALSE(fromStore->error());
    EXPECT_EQ(peer.verified(), 1u);

    auto notAsked = HTTPRequest::requestWithURL(url(peer.url("/b")));
    notAsked->setUseSessionPersistence(false);
    notAsked->startSynchronous();
    ASSERT_TRUE(notAsked->error()) << "the store is used only when asked";
    EXPECT_EQ(notAsked->error()->code(), AuthenticationErrorType);

    HTTPRequest::removeCredentialsForHost("127.0.0.1", port, "http", AuthPeer::realm);
    EXPECT_FALSE(HTTPRequest::savedCredentialsForHost("127.0.0.1", port, "http", AuthPeer::realm));
    SetUp();
    auto saving = get(peer, "User", "Password");
    EXPECT_FALSE(HTTPRequest::savedCredentialsForHost("127.0.0.1", port, "http", AuthPeer::realm));
    auto keeping = HTTPRequest::requestWithURL(url(peer.url("/c")));
    keeping->setUsername("User");
    keeping->setPassword("Password");
    keeping->setUseKeychainPersistence(true);
    keeping->setUseSessionPersistence(false);
    keeping->startSynchronous();
    auto saved = HTTPRequest::savedCredentialsForHost("127.0.0.1", port, "http", AuthPeer::realm);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->user, "User");
    EXPECT_EQ(saved->password, "Password");

    HTTPRequest::saveCredentialsForProxy({"p", "q"}, "proxy.local", 3128, "r");
    EXPECT_EQ(HTTPRequest::savedCredentialsForProxy("proxy.local", 3128, "https", "r")->user, "p");
    EXPECT_FALSE(HTTPRequest::savedCredentialsForHost("proxy.local", 3128, "http", "r"));
    HTTPRequest::removeCredentialsForProxy("proxy.local", 3128, "r");
    EXPECT_FALSE(HTTPRequest::savedCredentialsForProxy("proxy.local", 3128, "http", "r"));
}

} // namespace
