#include "net/ProxyResolver.h"

#include <proxy.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <thread>

namespace net {

namespace {

// One resolver thread, made on first use: libproxy's factory is used from that thread only, and
// questions wait their turn.
class Resolver {
public:
    static Resolver &shared() {
        static Resolver *resolver = new Resolver;
        return *resolver;
    }

    void ask(std::function<void()> job) {
        {
            std::lock_guard guard(lock_);
            jobs_.push_back(std::move(job));
        }
        wake_.notify_one();
    }

    std::optional<std::vector<ProxyEntry>> answer(const std::string &url) {
        if (!factory_)
            factory_ = px_proxy_factory_new();
        char **list = factory_ ? px_proxy_factory_get_proxies(factory_, url.c_str()) : nullptr;
        if (!list)
            return std::nullopt;
        std::vector<ProxyEntry> out;
        for (char **p = list; *p; ++p)
            if (auto entry = parseProxyEntry(*p))
                out.push_back(*entry);
        px_proxy_factory_free_proxies(list);
        return out;
    }

private:
    Resolver() {
        std::thread([this] {
            for (;;) {
                std::function<void()> job;
                {
                    std::unique_lock guard(lock_);
                    wake_.wait(guard, [&] { return !jobs_.empty(); });
                    job = std::move(jobs_.front());
                    jobs_.pop_front();
                }
                job();
            }
        }).detach();
    }

    pxProxyFactory *factory_ = nullptr;
    std::mutex lock_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
};

// Answers by scheme, host and port, with the moment each was given.
class RecentAnswers {
public:
    static RecentAnswers &shared() {
        static auto *answers = new RecentAnswers;
        return *answers;
    }
    static std::string key(const base::Url &url) {
        return url.scheme() + "://" + url.host() + ":" + std::to_string(url.port().value_or(0));
    }
    void note(const std::string &key, const std::vector<ProxyEntry> &list) {
        std::lock_guard guard(lock_);
        answers_[key] = {list, Clock::now()};
    }
    std::optional<std::vector<ProxyEntry>> find(const std::string &key) {
        std::lock_guard guard(lock_);
        auto it = answers_.find(key);
        if (it == answers_.end())
            return std::nullopt;
        if (Clock::now() - it->second.second > std::chrono::duration<double>(recentAnswerSeconds)) {
            answers_.erase(it);
            return std::nullopt;
        }
        return it->second.first;
    }
    void clear() {
        std::lock_guard guard(lock_);
        answers_.clear();
    }

private:
    using Clock = std::chrono::steady_clock;
    std::mutex lock_;
    std::map<std::string, std::pair<std::vector<ProxyEntry>, Clock::time_point>> answers_;
};

} // namespace

std::optional<ProxyEntry> parseProxyEntry(std::string_view text) {
    if (text.starts_with("direct://"))
        return ProxyEntry{};
    auto url = base::Url::parse(text);
    if (!url || url->host().empty())
        return std::nullopt;
    ProxyEntry entry;
    entry.host = url->host();
    const std::string &scheme = url->scheme();
    if (scheme == "http")
        entry.type = ProxyEntry::Http;
    else if (scheme == "https")
        entry.type = ProxyEntry::Https;
    else if (scheme == "socks4" || scheme == "socks4a")
        entry.type = ProxyEntry::Socks4;
    else if (scheme == "socks" || scheme == "socks5")
        entry.type = ProxyEntry::Socks5;
    else
        return std::nullopt;
    const uint16_t defaultPort = entry.type == ProxyEntry::Https  ? 443
                                 : entry.type == ProxyEntry::Http ? 80
                                                                  : 1080;
    entry.port = url->port().value_or(defaultPort);
    return entry;
}

void systemProxiesFor(const base::Url &url,
                      std::function<void(std::optional<std::vector<ProxyEntry>>)> done) {
    std::string text = url.withoutCredentials();
    Resolver::shared().ask([text, key = RecentAnswers::key(url), done = std::move(done)] {
        auto answer = Resolver::shared().answer(text);
        if (answer)
            RecentAnswers::shared().note(key, *answer);
        done(std::move(answer));
    });
}

std::optional<std::vector<ProxyEntry>> recentSystemProxiesFor(const base::Url &url) {
    return RecentAnswers::shared().find(RecentAnswers::key(url));
}

void forgetSystemProxies() {
    RecentAnswers::shared().clear();
}

} // namespace net
