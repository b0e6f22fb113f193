#include "Resolver.h"

#include "base/RunLoop.h"

#include <netdb.h>
#include <string>
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

} // namespace

void resolve(std::string host, uint16_t port, base::RunLoop &loop, std::function<void(Resolution)> done) {
    // A numeric address needs no name server, so no helper thread: its answer waits only for the
    // loop's next pass, like any other.
    if (Resolution numeric = lookUp(host, port, AI_NUMERICHOST); numeric.error != EAI_NONAME) {
        loop.post(
            [done = std::move(done), numeric = std::move(numeric)]() mutable { done(std::move(numeric)); });
        return;
    }
    std::thread([host = std::move(host), port, &loop, done = std::move(done)]() mutable {
        Resolution result = lookUp(host, port);
        loop.post(
            [done = std::move(done), result = std::move(result)]() mutable { done(std::move(result)); });
    }).detach();
}

} // namespace net
