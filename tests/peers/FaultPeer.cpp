#include "peers/FaultPeer.h"

#include "peers/PeerSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace peers {

FaultPeer::FaultPeer(std::vector<Step> script) : script_(std::move(script)) {}

FaultPeer::ReleasePipe::ReleasePipe() {
    if (pipe(fds) != 0)
        fds[0] = fds[1] = -1;
}

FaultPeer::ReleasePipe::~ReleasePipe() {
    for (int fd : fds)
        if (fd >= 0)
            ::close(fd);
}

void FaultPeer::release() {
    char byte = 1;
    [[maybe_unused]] ssize_t written = write(release_.fds[1], &byte, 1);
}

void FaultPeer::holdUntilReleased() {
    ++holding_;
    pollfd waits[2] = {{release_.fds[0], POLLIN, 0}, {listener_.wakeFd(), POLLIN, 0}};
    poll(waits, 2, -1);
    --holding_;
}

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
        case Step::Hold:
            holdUntilReleased();
            break;
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
