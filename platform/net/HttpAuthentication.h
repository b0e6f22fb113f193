#pragma once

#include "net/HttpMessage.h"

#include "base/Object.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace net {

// One challenge of a "WWW-Authenticate" or "Proxy-Authenticate" field: a scheme and its
// parameters (names in lower case, quoted values unquoted).
struct HttpChallenge {
    std::string scheme;
    std::map<std::string, std::string> params;
};

// Every challenge in one field value; a malformed tail ends the list.
std::vector<HttpChallenge> parseChallenges(std::string_view value);

// A server's or proxy's challenge, answered with a user name and password: Basic, Digest with MD5
// and qop "auth", or NTLM (NTLMv2, which also needs the account domain). Other schemes give no
// object. An NTLM object carries its handshake: the first application sends the negotiation, and
// once the server's challenge has been taken (takeChallenge) the next one sends the answer.
class HttpAuthentication : public base::Object {
public:
    // The strongest challenge this client can answer in the response's challenge fields
    // (the proxy's for a 407): NTLM, then Digest, then Basic; nullptr when there is none.
    static base::Ref<HttpAuthentication> fromResponse(const HttpMessage &response, bool proxy);

    HttpAuthentication(HttpChallenge challenge, bool proxy)
        : challenge_(std::move(challenge)), proxy_(proxy) {}

    // "Basic", "Digest" or "NTLM".
    const std::string &method() const { return challenge_.scheme; }
    std::string realm() const;
    bool needsUserAndPassword() const { return true; }
    bool needsAccountDomain() const { return challenge_.scheme == "NTLM"; }
    bool isProxy() const { return proxy_; }

    // Takes a later challenge of the same server (after credentials were sent): answers whether
    // this object can still answer it. NTLM takes any NTLM challenge (the server's challenge
    // message continues the handshake, a bare one starts it again); Digest takes a "stale" nonce;
    // otherwise the credentials were refused and the answer is false.
    bool takeChallenge(const HttpMessage &response);

    // Sets "Authorization" (or "Proxy-Authorization") on `request` for these credentials;
    // false when the request has no URL, or NTLM cannot make its message.
    bool apply(HttpMessage &request, const std::string &user, const std::string &password,
               const std::string &domain = {});

    // The "Basic" field value for a user name and password.
    static std::string basicValue(const std::string &user, const std::string &password);
    // The Digest response for the given inputs (lower-case hex MD5, qop "auth" when offered).
    static std::string digestResponse(const std::string &user, const std::string &realm,
                                      const std::string &password, const std::string &method,
                                      const std::string &uri, const std::string &nonce, const std::string &nc,
                                      const std::string &cnonce, const std::string &qop);

private:
    std::vector<HttpChallenge> challengesIn(const HttpMessage &response) const;
    bool applyNtlm(HttpMessage &request, const std::string &user, const std::string &password,
                   const std::string &domain);

    HttpChallenge challenge_;
    // The NTLM challenge message taken from the server's second answer; empty before.
    std::string ntlmChallenge_;
    bool proxy_;
    unsigned nonceCount_ = 0;
};

} // namespace net
