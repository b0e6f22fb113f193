#include "Resolver.h"

#include "base/RunLoop.h"

#include <algorithm>
#include <netdb.h>
#include <string>
#include <string_view>
#include <thread>

namespace net {

namespace {

Resolution lookUp(const std::string &host, uint16_t port, int flags = 0) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV | flags;
    addrinfo *list = nullptr;
    Resolution result;
    result.error = getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &list);
    for (addrinfo *ai = list; !result.error && ai; ai = ai->ai_next)
        result.addresses.emplace_back(ai->ai_addr, ai->ai_addrlen);
    if (list)
        freeaddrinfo(list);
    if (!result.error && result.addresses.empty())
        result.error = EAI_NONAME;
    return result;
}

// Whether a name server could answer for `host`: dot-separated labels of 1 to 63 printable
// characters, at most 253 in all (a final dot aside), and not under the "invalid" domain.
bool mayResolve(std::string_view host) {
    if (host.ends_with('.'))
        host.remove_suffix(1);
    if (host.empty() || host.size() > 253)
        return false;
    if (std::any_of(host.begin(), host.end(), [](char c) { return uint8_t(c) <= ' ' || c == 0x7F; }))
        return false;
    std::string_view last;
    for (size_t start = 0; start <= host.size();) {
        size_t end = std::min(host.find('.', start), host.size());
        last = host.substr(start, end - start);
        if (last.empty() || last.size() > 63)
            return false;
        start = end + 1;
    }
    auto lower = [](char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); };
    return !std::ranges::equal(last, std::string_view("invalid"), {}, lower);
}

} // namespace

std::optional<Resolution> resolveAtOnce(const std::string &host, uint16_t port) {
    if (Resolution numeric = lookUp(host, port, AI_NUMERICHOST); numeric.error != EAI_NONAME)
        return numeric;
    if (!mayResolve(host))
        return Resolution{{}, EAI_NONAME};
    return std::nullopt;
}

void resolve(std::string host, uint16_t port, base::RunLoop &loop, std::function<void(Resolution)> done) {
    std::thread([host = std::move(host), port, &loop, done = std::move(done)]() mutable {
        Resolution result = lookUp(host, port);
        loop.post(
            [done = std::move(done), result = std::move(result)]() mutable { done(std::move(result)); });
    }).detach();
}

} // namespace net
