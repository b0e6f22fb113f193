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

// A server's or proxy's challenge, answered with a user name and password: Basic, or Digest with
// MD5 and qop "auth". Other schemes give no object.
class HttpAuthentication : public base::Object {
public:
    // The strongest challenge this client can answer in the response's challenge fields
    // (the proxy's for a 407); nullptr when there is none.
    static base::Ref<HttpAuthentication> fromResponse(const HttpMessage &response, bool proxy);

    HttpAuthentication(HttpChallenge challenge, bool proxy)
        : challenge_(std::move(challenge)), proxy_(proxy) {}

    // "Basic" or "Digest".
    const std::string &method() const { return challenge_.scheme; }
    std::string realm() const;
    bool needsUserAndPassword() const { return true; }
    bool needsAccountDomain() const { return false; }
    bool isProxy() const { return proxy_; }

    // Sets "Authorization" (or "Proxy-Authorization") on `request` for these credentials;
    // false when the request has no URL.
    bool apply(HttpMessage &request, const std::string &user, const std::string &password);

    // The "Basic" field value for a user name and password.
    static std::string basicValue(const std::string &user, const std::string &password);
    // The Digest response for the given inputs (lower-case hex MD5, qop "auth" when offered).
    static std::string digestResponse(const std::string &user, const std::string &realm,
                                      const std::string &password, const std::string &method,
                                      const std::string &uri, const std::string &nonce, const std::string &nc,
                                      const std::string &cnonce, const std::string &qop);

private:
    HttpChallenge challenge_;
    bool proxy_;
    unsigned nonceCount_ = 0;
};

} // namespace net
