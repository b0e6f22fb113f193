#include "net/HttpAuthentication.h"

#include "base/Data.h"
#include "base/Str.h"
#include "base/Uuid.h"
#include "crypto/Crypto.h"
#include "net/Ntlm.h"

#include <algorithm>
#include <cctype>

namespace net {

namespace {

std::string lower(std::string_view text) {
    std::string out(text);
    for (char &c : out)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

bool isTokenChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("!#$%&'*+-.^_`|~").find(c) != std::string_view::npos;
}

class Scanner {
public:
    explicit Scanner(std::string_view text) : s_(text) {}
    void skipSpace() {
        while (i_ < s_.size() && (s_[i_] == ' ' || s_[i_] == '\t'))
            ++i_;
    }
    bool atEnd() {
        skipSpace();
        return i_ >= s_.size();
    }
    bool take(char c) {
        skipSpace();
        if (i_ < s_.size() && s_[i_] == c) {
            ++i_;
            return true;
        }
        return false;
    }
    std::string token() {
        skipSpace();
        size_t start = i_;
        while (i_ < s_.size() && isTokenChar(s_[i_]))
            ++i_;
        return std::string(s_.substr(start, i_ - start));
    }
    // A token, a quoted string or token68 padding ("=" tails); false when malformed.
    bool value(std::string &out) {
        skipSpace();
        if (i_ < s_.size() && s_[i_] == '"') {
            ++i_;
            out.clear();
            while (i_ < s_.size() && s_[i_] != '"') {
                if (s_[i_] == '\\' && i_ + 1 < s_.size())
                    ++i_;
                out += s_[i_++];
            }
            if (i_ >= s_.size())
                return false;
            ++i_;
            return true;
        }
        out = token();
        return !out.empty();
    }
    size_t position() const { return i_; }
    void reset(size_t at) { i_ = at; }

private:
    std::string_view s_;
    size_t i_ = 0;
};

std::string hex(const std::string &text) {
    return lower(crypto::md5Hex(text.data(), text.size()));
}

} // namespace

std::vector<HttpChallenge> parseChallenges(std::string_view value) {
    std::vector<HttpChallenge> out;
    Scanner in(value);
    while (!in.atEnd()) {
        if (in.take(','))
            continue;
        HttpChallenge challenge;
        challenge.scheme = in.token();
        if (challenge.scheme.empty())
            break;
        // Parameters follow until the next "scheme" that is not followed by "=".
        for (;;) {
            size_t mark = in.position();
            std::string name = in.token();
            if (name.empty()) {
                if (!in.take(','))
                    break;
                continue;
            }
            if (!in.take('=')) {
                in.reset(mark);
                break;
            }
            std::string v;
            if (in.take('=')) {
                // token68 such as "abc==": keep the padding as part of one value.
                while (in.take('='))
                    ;
                continue;
            }
            if (!in.value(v)) {
                out.push_back(std::move(challenge));
                return out;
            }
            challenge.params[lower(name)] = v;
            if (!in.take(','))
                break;
        }
        out.push_back(std::move(challenge));
    }
    return out;
}

base::Ref<HttpAuthentication> HttpAuthentication::fromResponse(const HttpMessage &response, bool proxy) {
    std::optional<HttpChallenge> basic, digest, ntlm;
    for (auto &field : response.headerValues(proxy ? "Proxy-Authenticate" : "WWW-Authenticate"))
        for (auto &c : parseChallenges(field)) {
            std::string scheme = lower(c.scheme);
            if (scheme == "ntlm" && !ntlm) {
                c.scheme = "NTLM";
                ntlm = c;
            } else if (scheme == "basic" && !basic) {
                c.scheme = "Basic";
                basic = c;
            } else if (scheme == "digest" && !digest && c.params.count("nonce") &&
                       lower(c.params.count("algorithm") ? c.params["algorithm"] : "md5") == "md5") {
                c.scheme = "Digest";
                digest = c;
            }
        }
    if (ntlm)
        return base::make<HttpAuthentication>(HttpChallenge{"NTLM", {}}, proxy);
    if (digest)
        return base::make<HttpAuthentication>(*digest, proxy);
    if (basic)
        return base::make<HttpAuthentication>(*basic, proxy);
    return nullptr;
}

std::string HttpAuthentication::realm() const {
    auto it = challenge_.params.find("realm");
    return it == challenge_.params.end() ? std::string() : it->second;
}

std::string HttpAuthentication::basicValue(const std::string &user, const std::string &password) {
    return "Basic " + base::Data::fromString(user + ":" + password).base64();
}

std::string HttpAuthentication::digestResponse(const std::string &user, const std::string &realm,
                                               const std::string &password, const std::string &method,
                                               const std::string &uri, const std::string &nonce,
                                               const std::string &nc, const std::string &cnonce,
                                               const std::string &qop) {
    std::string ha1 = hex(user + ":" + realm + ":" + password);
    std::string ha2 = hex(method + ":" + uri);
    if (qop.empty())
        return hex(ha1 + ":" + nonce + ":" + ha2);
    return hex(ha1 + ":" + nonce + ":" + nc + ":" + cnonce + ":" + qop + ":" + ha2);
}

std::vector<HttpChallenge> HttpAuthentication::challengesIn(const HttpMessage &response) const {
    std::vector<HttpChallenge> out;
    for (auto &field : response.headerValues(proxy_ ? "Proxy-Authenticate" : "WWW-Authenticate"))
        for (auto &c : parseChallenges(field))
            if (lower(c.scheme) == lower(challenge_.scheme))
                out.push_back(std::move(c));
    return out;
}

bool HttpAuthentication::takeChallenge(const HttpMessage &response) {
    if (challenge_.scheme == "NTLM") {
        // "NTLM <base64>" reads as a scheme followed by a token68, which the parser drops: the
        // field is read here as it stands.
        for (auto &field : response.headerValues(proxy_ ? "Proxy-Authenticate" : "WWW-Authenticate"))
            for (auto &part : base::str::split(field, ",")) {
                std::string value = base::str::trim(part);
                if (lower(value) == "ntlm") {
                    ntlmChallenge_.clear();
                    return true;
                }
                if (lower(value.substr(0, 5)) == "ntlm ") {
                    ntlmChallenge_ = base::str::trim(value.substr(5));
                    return true;
                }
            }
        return false;
    }
    if (challenge_.scheme == "Digest")
        for (auto &c : challengesIn(response))
            if (lower(c.params["stale"]) == "true" && c.params.count("nonce")) {
                challenge_.params = c.params;
                return true;
            }
    return false;
}

bool HttpAuthentication::applyNtlm(HttpMessage &request, const std::string &user, const std::string &password,
                                   const std::string &domain) {
    const char *field = proxy_ ? "Proxy-Authorization" : "Authorization";
    if (ntlmChallenge_.empty()) {
        request.setHeader(field, "NTLM " + Ntlm::negotiateMessage().base64());
        return true;
    }
    auto message = base::Data::fromBase64(ntlmChallenge_);
    auto challenge = message ? Ntlm::parseChallenge(*message) : std::nullopt;
    auto answer = challenge ? Ntlm::authenticateMessage(*challenge, user, password, domain) : std::nullopt;
    if (!answer)
        return false;
    request.setHeader(field, "NTLM " + answer->base64());
    return true;
}

bool HttpAuthentication::apply(HttpMessage &request, const std::string &user, const std::string &password,
                               const std::string &domain) {
    if (!request.url())
        return false;
    if (challenge_.scheme == "NTLM")
        return applyNtlm(request, user, password, domain);
    const char *field = proxy_ ? "Proxy-Authorization" : "Authorization";
    if (challenge_.scheme == "Basic") {
        request.setHeader(field, basicValue(user, password));
        return true;
    }
    const base::Url &url = *request.url();
    std::string uri = url.path() + (url.query().empty() ? "" : "?" + url.query());
    const std::string realm = this->realm(), nonce = challenge_.params["nonce"];
    std::string qop;
    if (auto it = challenge_.params.find("qop"); it != challenge_.params.end()) {
        for (auto &option : base::str::split(it->second, ","))
            if (lower(base::str::trim(option)) == "auth")
                qop = "auth";
    }
    std::string nc = base::str::format("%08x", ++nonceCount_);
    std::string cnonce = lower(crypto::md5Hex(base::newUuid().data(), 36)).substr(0, 16);
    std::string response =
        digestResponse(user, realm, password, request.method(), uri, nonce, nc, cnonce, qop);
    std::string value =
        base::str::format("Digest username=\"%@\", realm=\"%@\", nonce=\"%@\", uri=\"%@\", response=\"%@\"",
                          user, realm, nonce, uri, response);
    if (auto it = challenge_.params.find("opaque"); it != challenge_.params.end())
        value += base::str::format(", opaque=\"%@\"", it->second);
    value += ", algorithm=MD5";
    if (!qop.empty())
        value += base::str::format(", qop=%@, nc=%@, cnonce=\"%@\"", qop, nc, cnonce);
    request.setHeader(field, value);
    return true;
}

} // namespace net
