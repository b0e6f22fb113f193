#include "peers/FaultPeer.h"

#include "peers/PeerSocket.h"

#include <poll.h>
#include <sys/socket.h>

namespace peers {

FaultPeer::FaultPeer(std::vector<Step> script) : script_(std::move(script)) {}

std::string FaultPeer::url(const std::string &path) const {
    return "http://127.0.0.1:" + std::to_string(port()) + path;
}

std::vector<std::string> FaultPeer::requests() {
    std::lock_guard guard(lock_);
    return requests_;
}

std::vector<std::string> FaultPeer::bodies() {
    std::lock_guard guard(lock_);
    return bodies_;
}

bool FaultPeer::readRequest(int fd, std::string &pending, std::string &head) {
    std::string body;
    if (!peers::readRequest(fd, listener_.wakeFd(), pending, head, body))
        return false;
    std::lock_guard guard(lock_);
    requests_.push_back(head);
    bodies_.push_back(std::move(body));
    return true;
}

void FaultPeer::serve(int fd) {
    std::string pending, head;
    if (!readRequest(fd, pending, head))
        return;
    for (auto &step : script_) {
        if (listener_.stopping())
            return;
        switch (step.kind) {
        case Step::Send:
            if (!sendAll(fd, step.bytes))
                return;
            break;
        case Step::Close:
            shutdown(fd, SHUT_RDWR);
            return;
        case Step::Reset: {
            linger l{1, 0};
            setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
            shutdown(fd, SHUT_RD);
            listener_.closeNow(fd);
            return;
        }
        case Step::Silence: {
            pollfd p{listener_.wakeFd(), POLLIN, 0};
            poll(&p, 1, -1);
            return;
        }
        case Step::ReadRequest:
            if (!readRequest(fd, pending, head))
                return;
            break;
        case Step::ProxyAuthentication:
            answerAsProxy(fd, step.bytes, pending, head);
            return;
        }
    }
}

} // namespace peers
