#include "peers/PeerSocket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace peers {

namespace {

// Waits for more bytes and appends them; false on the end of the connection or a wake-up.
bool fill(int fd, int wakeFd, std::string &pending) {
    pollfd p[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
    if (poll(p, 2, -1) <= 0 || (p[1].revents & POLLIN))
        return false;
    char buffer[16384];
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    pending.append(buffer, size_t(n));
    return true;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

} // namespace

int listenOnLoopback(uint16_t *port) {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int one = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof addr;
    if (bind(fd, reinterpret_cast<sockaddr *>(&addr), sizeof addr) != 0 || listen(fd, 16) != 0 ||
        getsockname(fd, reinterpret_cast<sockaddr *>(&addr), &length) != 0) {
        close(fd);
        return -1;
    }
    *port = ntohs(addr.sin_port);
    return fd;
}

bool readExactly(int fd, int wakeFd, std::string &pending, size_t count, std::string &out) {
    while (pending.size() < count)
        if (!fill(fd, wakeFd, pending))
            return false;
    out = pending.substr(0, count);
    pending.erase(0, count);
    return true;
}

bool readRequest(int fd, int wakeFd, std::string &pending, std::string &head, std::string &body) {
    size_t end;
    while ((end = pending.find("\r\n\r\n")) == std::string::npos)
        if (!fill(fd, wakeFd, pending))
            return false;
    head = pending.substr(0, end + 4);
    pending.erase(0, end + 4);
    std::string length = headerValue(head, "Content-Length");
    return readExactly(fd, wakeFd, pending, length.empty() ? 0 : std::strtoul(length.c_str(), nullptr, 10),
                       body);
}

bool sendAll(int fd, const std::string &bytes) {
    for (size_t done = 0; done < bytes.size();) {
        ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0)
            return false;
        done += size_t(n);
    }
    return true;
}

std::string headerValue(const std::string &head, const std::string &name) {
    std::istringstream lines(head);
    std::string line;
    const std::string wanted = lower(name) + ":";
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lower(line.substr(0, wanted.size())) != wanted)
            continue;
        size_t start = line.find_first_not_of(' ', wanted.size());
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return {};
}

} // namespace peers
