#include "HTTPRequest.h"

#include "HTTPRequestState.h"

#include "base/RunLoop.h"
#include "base/Str.h"
#include "base/Thread.h"
#include "net/Cookie.h"
#include "net/CredentialStore.h"
#include "net/HttpAuthentication.h"
#include "net/ProxyResolver.h"
#include "net/ProxyScript.h"

#include <fstream>
#include <sstream>

namespace {

// Credentials that worked, for later requests to the same server (or proxy) in this process.
struct SessionRecord {
    std::string user, password, url, scheme, realm;
    base::Ref<net::HttpAuthentication> authentication;
    std::string domain;
};

std::vector<SessionRecord> &sessionCredentials() {
    static auto *list = new std::vector<SessionRecord>;
    return *list;
}

std::vector<SessionRecord> &sessionProxyCredentials() {
    static auto *list = new std::vector<SessionRecord>;
    return *list;
}

std::vector<net::Cookie> &sessionCookieList() {
    static auto *list = new std::vector<net::Cookie>;
    return *list;
}

void storeRecord(std::vector<SessionRecord> &list, SessionRecord record) {
    std::erase_if(list,
                  [&](const SessionRecord &r) { return r.url == record.url && r.realm == record.realm; });
    list.push_back(std::move(record));
}

base::Dict credentialsDict(std::string user, std::string password, std::string domain) {
    return base::Dict{{"Username", std::move(user)},
                      {"Password", std::move(password)},
                      {"AccountDomain", std::move(domain)}};
}

} // namespace

// Cookies.

void HTTPRequest::applyCookieHeader() {
    if (useCookiePersistence_)
        for (auto &cookie : net::CookieStore::shared().cookiesFor(url_))
            requestCookies_.push_back(cookie);
    if (requestCookies_.empty())
        return;
    std::string header;
    for (auto &cookie : requestCookies_)
        header = header.empty() ? cookie.name + "=" + cookie.value
                                : header + "; " + cookie.name + "=" + cookie.value;
    addRequestHeader("Cookie", header);
}

void HTTPRequest::readResponseCookies(const net::HttpMessage &head) {
    responseCookies_ = net::parseSetCookies(head.headerValues("Set-Cookie"), url_);
    if (!useCookiePersistence_ || responseCookies_.empty())
        return;
    net::CookieStore::shared().set(responseCookies_);
    for (auto &cookie : responseCookies_)
        addSessionCookie(cookie);
}

std::vector<net::Cookie> HTTPRequest::sessionCookies() {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.sessionCookieLock);
    return sessionCookieList();
}

void HTTPRequest::addSessionCookie(const net::Cookie &cookie) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.sessionCookieLock);
    auto &list = sessionCookieList();
    if (auto it = std::find_if(list.begin(), list.end(), [&](auto &c) { return c.sameIdentity(cookie); });
        it != list.end())
        list.erase(it);
    list.push_back(cookie);
}

void HTTPRequest::setSessionCookies(std::vector<net::Cookie> cookies) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.sessionCookieLock);
    for (auto &cookie : sessionCookieList())
        net::CookieStore::shared().remove(cookie);
    sessionCookieList() = std::move(cookies);
}

void HTTPRequest::clearSession() {
    if (auto cache = defaultCache())
        cache->clearCachedResponsesForStoragePolicy(CacheForSessionDurationCacheStoragePolicy);
    auto &s = HTTPRequestClassState::shared();
    {
        std::lock_guard guard(s.sessionCredentialLock);
        sessionCredentials().clear();
        sessionProxyCredentials().clear();
    }
    setSessionCookies({});
}

// Credentials before a challenge.

void HTTPRequest::applyAuthorizationHeader() {
    if (!shouldPresentCredentialsBeforeChallenge_ || requestHeaders_.has("Authorization"))
        return;
    // An empty password still sends the user name and the colon.
    if (!username_.empty() && authenticationScheme_ == "Basic") {
        addRequestHeader("Authorization", net::HttpAuthentication::basicValue(username_, password_));
        return;
    }
    if (!useSessionPersistence_)
        return;
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.sessionCredentialLock);
    const SessionRecord *close = nullptr;
    for (auto &record : sessionCredentials()) {
        auto recorded = base::Url::parse(record.url);
        if (!recorded || (!authenticationRealm_.empty() && record.realm != authenticationRealm_))
            continue;
        if (!username_.empty() && !password_.empty() &&
            (record.user != username_ || record.password != password_))
            continue;
        if (record.url == url_.absoluteString()) {
            close = &record;
            break;
        }
        if (!close && recorded->host() == url_.host() && recorded->port() == url_.port() &&
            recorded->scheme() == url_.scheme())
            close = &record;
    }
    if (!close)
        return;
    if (close->authentication) {
        // A challenge answered before is answered again straight away (a Digest nonce may be stale;
        // the server then challenges anew).
        close->authentication->apply(*request_, close->user, close->password, close->domain);
        if (auto value = request_->header("Authorization"))
            addRequestHeader("Authorization", *value);
        authenticationScheme_ = close->scheme;
    } else {
        addRequestHeader("Authorization", net::HttpAuthentication::basicValue(close->user, close->password));
    }
}

std::string HTTPRequest::proxyKey() const {
    return proxyHost_ + ":" + std::to_string(proxyPort_);
}

// The proxy's credentials that worked for an earlier request (or an earlier hop of this one) go
// out with the request, so that the proxy does not challenge every request again. NTLM
// authenticates a connection, not a request: it always goes through its handshake.
void HTTPRequest::applyProxySessionCredentials() {
    if (!shouldPresentCredentialsBeforeChallenge_ || !useSessionPersistence_ || proxyHost_.empty() ||
        proxyPort_ == 0 || !request_ || request_->header("Proxy-Authorization"))
        return;
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.sessionCredentialLock);
    auto &list = sessionProxyCredentials();
    auto record = std::find_if(list.begin(), list.end(), [&](auto &r) { return r.url == proxyKey(); });
    if (record == list.end() || !record->authentication || record->authentication->method() == "NTLM")
        return;
    if (!record->authentication->apply(*request_, record->user, record->password, record->domain)) {
        list.erase(record);
        return;
    }
    proxyCredentials_ = credentialsDict(record->user, record->password, record->domain);
    proxyAuthenticationScheme_ = record->scheme;
}

void HTTPRequest::noteCredentialsSucceeded() {
    if (authenticationNeeded_ != 0 || !useSessionPersistence_)
        return;
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard guard(s.sessionCredentialLock);
    if (requestAuthentication_) {
        storeRecord(sessionCredentials(),
                    {username_, password_, url_.absoluteString(), authenticationScheme_, authenticationRealm_,
                     requestAuthentication_, requestCredentials_.get("AccountDomain").stringValue()});
    } else if (authenticationScheme_ == "Basic" && !username_.empty() && !password_.empty()) {
        storeRecord(sessionCredentials(),
                    {username_, password_, url_.absoluteString(), "Basic", {}, nullptr});
    }
}

// Challenges. A 401 or 407 answered with credentials the request can find starts a new attempt;
// without any, the delegate is asked (asynchronous requests only) and the request waits; else it
// fails with code 3. NTLM answers twice on one connection: the negotiation, then the answer to the
// server's challenge; a third challenge means the credentials were refused.

void HTTPRequest::attemptToApplyCredentialsAndResume() {
    std::unique_lock guard(cancelledLock_);
    if (error() || isCancelled())
        return;
    const bool proxy = authenticationNeeded_ == 2;
    auto &authentication = proxy ? proxyAuthentication_ : requestAuthentication_;
    bool valid = true;
    if (!authentication) {
        if (responseHead_)
            authentication = net::HttpAuthentication::fromResponse(*responseHead_, proxy);
        if (authentication)
            (proxy ? proxyAuthenticationScheme_ : authenticationScheme_) = authentication->method();
    } else if (responseHead_) {
        valid = authentication->takeChallenge(*responseHead_);
    }
    if (!authentication) {
        cancelLoad();
        failWithError(makeError(InternalErrorWhileApplyingCredentialsType,
                                "Failed to get authentication object from response headers"));
        return;
    }
    (proxy ? proxyAuthenticationRealm_ : authenticationRealm_) =
        authentication->needsAccountDomain() ? std::string() : authentication->realm();
    cancelLoad();
    auto &applied = proxy ? proxyCredentials_ : requestCredentials_;
    if (!applied.empty() && valid) {
        const bool ntlm = authentication->method() == "NTLM";
        const int retries = proxy ? proxyAuthenticationRetryCount_ : authenticationRetryCount_;
        if (ntlm && retries > 1) {
            failWithError(retries == 2 ? HTTPRequestClassState::shared().authenticationNeeded
                                       : makeError(InternalErrorWhileApplyingCredentialsType,
                                                   "Failed to apply credentials to request"));
            return;
        }
        applyCredentialsAndStart(proxy, base::Dict(applied), guard);
        return;
    }
    if (!applied.empty()) {
        // The credentials given were refused.
        forgetSessionCredentials(proxy, applied);
        applied = base::Dict();
        authentication.reset();
        askForCredentialsOrFail(proxy);
        return;
    }
    if (!authentication->needsUserAndPassword()) {
        failWithError(HTTPRequestClassState::shared().authenticationNeeded);
        return;
    }
    auto &s = HTTPRequestClassState::shared();
    std::unique_lock lock(s.delegateAuthenticationLock);
    if (error() || isCancelled())
        return;
    const bool supplied = credentialsSupplied_.exchange(false);
    if (auto found = proxy ? findProxyCredentials(supplied) : findCredentials(supplied)) {
        lock.unlock();
        applyCredentialsAndStart(proxy, *found, guard);
        return;
    }
    lock.unlock();
    askForCredentialsOrFail(proxy);
}

void HTTPRequest::applyCredentialsAndStart(bool proxy, base::Dict credentials,
                                           std::unique_lock<std::recursive_mutex> &guard) {
    if (!applyCredentials(proxy, credentials)) {
        failWithError(makeError(InternalErrorWhileApplyingCredentialsType,
                                proxy ? "Failed to apply proxy credentials to request"
                                      : "Failed to apply credentials to request"));
        return;
    }
    guard.unlock();
    startRequest();
}

bool HTTPRequest::applyCredentials(bool proxy, const base::Dict &credentials) {
    ++(proxy ? proxyAuthenticationRetryCount_ : authenticationRetryCount_);
    auto &authentication = proxy ? proxyAuthentication_ : requestAuthentication_;
    if (credentials.empty() || !authentication || !request_)
        return false;
    const std::string user = credentials.get("Username").stringValue();
    const std::string password = credentials.get("Password").stringValue();
    if (!authentication->apply(*request_, user, password, credentials.get("AccountDomain").stringValue())) {
        forgetSessionCredentials(proxy, credentials);
        return false;
    }
    if (useKeychainPersistence_) {
        if (proxy)
            saveCredentialsForProxy({user, password}, proxyHost_, proxyPort_, proxyAuthenticationRealm_);
        else
            saveCredentials({user, password}, url_.host(), portNumber(url_), url_.scheme(),
                            authenticationRealm_);
    }
    if (proxy && useSessionPersistence_) {
        auto &s = HTTPRequestClassState::shared();
        std::lock_guard guard(s.sessionCredentialLock);
        storeRecord(sessionProxyCredentials(),
                    {user, password, proxyKey(), proxyAuthenticationScheme_, proxyAuthenticationRealm_,
                     authentication, credentials.get("AccountDomain").stringValue()});
    }
    (proxy ? proxyCredentials_ : requestCredentials_) = credentials;
    if (!proxy) {
        username_ = user;
        password_ = password;
    }
    return true;
}

void HTTPRequest::forgetSessionCredentials(bool proxy, const base::Dict &credentials) {
    auto &s = HTTPRequestClassState::shared();
    std::lock_guard lock(s.sessionCredentialLock);
    auto &list = proxy ? sessionProxyCredentials() : sessionCredentials();
    std::erase_if(list, [&](const SessionRecord &r) {
        return r.user == credentials.get("Username").stringValue() &&
               r.password == credentials.get("Password").stringValue();
    });
}

namespace {

// "DOMAIN\user" names both when it splits into exactly two parts.
std::optional<std::pair<std::string, std::string>> splitAccount(const std::string &user) {
    auto parts = base::str::split(user, "\\");
    if (parts.size() != 2)
        return std::nullopt;
    return std::pair(parts[0], parts[1]);
}

} // namespace

int HTTPRequest::portNumber(const base::Url &url) {
    return url.port().value_or(url.scheme() == "https" ? 443 : 80);
}

std::optional<base::Dict> HTTPRequest::findCredentials(bool supplied) const {
    std::string user, password;
    if (!url_.user().empty() && !url_.password().empty()) {
        user = url_.user();
        password = url_.password();
    } else if (!username_.empty() && !password_.empty()) {
        user = username_;
        password = password_;
    } else if (useKeychainPersistence_) {
        if (auto saved =
                savedCredentialsForHost(url_.host(), portNumber(url_), url_.scheme(), authenticationRealm_)) {
            user = saved->user;
            password = saved->password;
        }
    }
    if (!supplied && (user.empty() || password.empty()))
        return std::nullopt;
    std::string domain;
    if (requestAuthentication_ && requestAuthentication_->needsAccountDomain()) {
        if (!domain_.empty()) {
            domain = domain_;
        } else if (auto split = splitAccount(user)) {
            domain = split->first;
            user = split->second;
        }
    }
    return credentialsDict(user, password, domain);
}

std::optional<base::Dict> HTTPRequest::findProxyCredentials(bool supplied) const {
    std::string user, password;
    if (!proxyUsername_.empty() && !proxyPassword_.empty()) {
        user = proxyUsername_;
        password = proxyPassword_;
    } else if (proxyAuthenticationScheme_ == "NTLM" && !username_.empty() && !password_.empty()) {
        user = username_;
        password = password_;
    } else if (auto saved =
                   savedCredentialsForProxy(proxyHost_, proxyPort_, "http", proxyAuthenticationRealm_)) {
        user = saved->user;
        password = saved->password;
    }
    if (!supplied && (user.empty() || password.empty()))
        return std::nullopt;
    std::string domain;
    if (proxyAuthentication_ && proxyAuthentication_->needsAccountDomain()) {
        if (!proxyDomain_.empty()) {
            domain = proxyDomain_;
        } else if (auto split = splitAccount(user)) {
            domain = split->first;
            user = split->second;
        } else {
            domain = domain_;
        }
    }
    return credentialsDict(user, password, domain);
}

// The saved-credential store, by protection space.

void HTTPRequest::saveCredentials(const net::Credential &credential, const std::string &host, int port,
                                  const std::string &protocol, const std::string &realm) {
    net::CredentialStore::shared().set(credential, {host, port, protocol, realm, false});
}

void HTTPRequest::saveCredentialsForProxy(const net::Credential &credential, const std::string &host,
                                          int port, const std::string &realm) {
    net::CredentialStore::shared().set(credential, {host, port, "http", realm, true});
}

std::optional<net::Credential> HTTPRequest::savedCredentialsForHost(const std::string &host, int port,
                                                                    const std::string &protocol,
                                                                    const std::string &realm) {
    return net::CredentialStore::shared().get({host, port, protocol, realm, false});
}

std::optional<net::Credential> HTTPRequest::savedCredentialsForProxy(const std::string &host, int port,
                                                                     const std::string &,
                                                                     const std::string &realm) {
    return net::CredentialStore::shared().get({host, port, "http", realm, true});
}

void HTTPRequest::removeCredentialsForHost(const std::string &host, int port, const std::string &protocol,
                                           const std::string &realm) {
    net::CredentialStore::shared().remove({host, port, protocol, realm, false});
}

void HTTPRequest::removeCredentialsForProxy(const std::string &host, int port, const std::string &realm) {
    net::CredentialStore::shared().remove({host, port, "http", realm, true});
}

void HTTPRequest::askForCredentialsOrFail(bool proxy) {
    if (!isSynchronous_) {
        std::string_view operation = proxy ? HTTPRequestDelegate::proxyAuthenticationNeeded
                                           : HTTPRequestDelegate::authenticationNeeded;
        Block block = proxy ? proxyAuthenticationNeededBlock_ : authenticationNeededBlock_;
        auto d = delegate().lock();
        base::Ref<HTTPRequestDelegate> receiver = d ? d : queue();
        if ((receiver && receiver->implements(operation)) || block) {
            onMain([proxy, receiver, block](HTTPRequest &r) {
                if (receiver && receiver->implements(proxy ? HTTPRequestDelegate::proxyAuthenticationNeeded
                                                           : HTTPRequestDelegate::authenticationNeeded)) {
                    if (proxy)
                        receiver->proxyAuthenticationNeededForRequest(r);
                    else
                        receiver->authenticationNeededForRequest(r);
                } else if (block) {
                    block();
                }
            });
            return;
        }
        if (showAuthenticationDialog(proxy))
            return;
    }
    failWithError(HTTPRequestClassState::shared().authenticationNeeded);
    markAsFinished();
}

void HTTPRequest::retryUsingSuppliedCredentials() {
    credentialsSupplied_ = true;
    performOnRequestThread([this] {
        if (request_)
            attemptToApplyCredentialsAndResume();
        else
            main();
    });
}

void HTTPRequest::cancelAuthentication() {
    performOnRequestThread([this] { failAuthentication(); });
}

// Proxies. Without one named on the request, a script named by PACurl decides, else the system's
// list for the URL; the request waits for either at most timeOutSeconds and then goes direct.

bool HTTPRequest::configureProxies() {
    if (isPACFileRequest_ || !proxyHost_.empty() || proxyPort_ != 0)
        return true;
    if (PACurl_) {
        fetchPACFile();
        return false;
    }
    if (auto recent = net::recentSystemProxiesFor(url_)) {
        if (!recent->empty())
            useProxyEntry(recent->front());
        return true;
    }
    const uint64_t wait = ++proxyWait_;
    base::Weak<HTTPRequest> weak = self<HTTPRequest>();
    net::systemProxiesFor(url_, [weak, wait](std::optional<std::vector<net::ProxyEntry>> list) {
        if (auto request = weak.lock())
            request->performOnRequestThread([request, wait, list] { request->proxiesFound(wait, list); });
    });
    if (timeOutSeconds_ > 0) {
        proxyWaitTimer_ = base::Timer::make(
            timeOutSeconds_, false, base::Action("proxyWaitTimedOut", [weak, wait](base::Object *) {
                if (auto request = weak.lock())
                    request->proxiesFound(wait, std::vector<net::ProxyEntry>());
            }));
        requestLoop_->addTimer(proxyWaitTimer_, runLoopMode_);
    }
    return false;
}

void HTTPRequest::proxiesFound(uint64_t wait, const std::optional<std::vector<net::ProxyEntry>> &list) {
    {
        std::lock_guard guard(cancelledLock_);
        if (wait != proxyWait_ || complete_ || isCancelled() || error())
            return;
        ++proxyWait_;
        if (proxyWaitTimer_)
            proxyWaitTimer_->invalidate();
        proxyWaitTimer_.reset();
        if (!list) {
            readStream_.reset();
            failWithError(makeError(InternalErrorWhileBuildingRequestType,
                                    "Unable to obtain information on proxy servers needed for request"));
            markAsFinished();
            return;
        }
        if (!list->empty())
            useProxyEntry(list->front());
    }
    startRequest();
}

void HTTPRequest::useProxyEntry(const net::ProxyEntry &entry) {
    if (entry.type == net::ProxyEntry::Direct)
        return;
    proxyHost_ = entry.host;
    proxyPort_ = entry.port;
    proxyType_ = entry.type == net::ProxyEntry::Socks4   ? "SOCKS4"
                 : entry.type == net::ProxyEntry::Socks5 ? "SOCKS"
                 : entry.type == net::ProxyEntry::Https  ? "HTTPS"
                                                         : "HTTP";
}

// A script that cannot be had, fails or runs too long leaves the request going direct.
void HTTPRequest::fetchPACFile() {
    const std::string &scheme = PACurl_->scheme();
    if (scheme == "file") {
        std::ifstream file(PACurl_->path(), std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        runPACScript(text.str());
        startRequest();
        return;
    }
    if (scheme != "http" && scheme != "https") {
        startRequest();
        return;
    }
    auto script = requestWithURL(*PACurl_);
    script->isPACFileRequest_ = true;
    script->setTimeOutSeconds(timeOutSeconds_);
    if (isSynchronous_) {
        script->startSynchronous();
        if (!script->error())
            runPACScript(script->responseString().value_or(""));
        startRequest();
        return;
    }
    PACFileRequest_ = script;
    base::Weak<HTTPRequest> weak = self<HTTPRequest>();
    auto finished = [weak] {
        if (auto request = weak.lock())
            request->performOnRequestThread([request] { request->finishedDownloadingPACFile(); });
    };
    script->setCompletionBlock(finished);
    script->setFailedBlock(finished);
    {
        // The script must not wait behind requests that are themselves waiting for scripts.
        std::lock_guard guard(HTTPRequestClassState::shared().connectionsLock);
        sharedQueue().setMaxConcurrent(sharedQueue().maxConcurrent() + 1);
    }
    script->startAsynchronous();
}

void HTTPRequest::runPACScript(const std::string &script) {
    if (script.empty())
        return;
    auto list = net::proxiesFromScript(script, url_);
    if (list && !list->empty())
        useProxyEntry(list->front());
}

void HTTPRequest::finishedDownloadingPACFile() {
    if (!PACFileRequest_)
        return;
    auto script = std::move(PACFileRequest_);
    {
        std::lock_guard guard(HTTPRequestClassState::shared().connectionsLock);
        sharedQueue().setMaxConcurrent(sharedQueue().maxConcurrent() - 1);
    }
    if (complete_ || isCancelled())
        return;
    if (!script->error())
        runPACScript(script->responseString().value_or(""));
    startRequest();
}

void HTTPRequest::failAuthentication() {
    failWithError(HTTPRequestClassState::shared().authenticationNeeded);
    markAsFinished();
}
