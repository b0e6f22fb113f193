#include "peers/FaultPeer.h"

#include <sys/socket.h>

namespace peers {

void FaultPeer::answerAsProxy(int fd, const std::string &challenge, std::string head) {
    static constexpr std::string_view field = "\r\nProxy-Authorization: ";
    do {
        std::string reply;
        if (auto at = head.find(field); at != std::string::npos) {
            const size_t from = at + field.size();
            std::string credentials = head.substr(from, head.find("\r\n", from) - from);
            reply = "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(credentials.size()) + "\r\n\r\n" +
                    credentials;
        } else {
            reply = "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: " + challenge +
                    "\r\nContent-Length: 0\r\n\r\n";
        }
        for (size_t done = 0; done < reply.size();) {
            ssize_t n = ::send(fd, reply.data() + done, reply.size() - done, MSG_NOSIGNAL);
            if (n <= 0)
                return;
            done += size_t(n);
        }
    } while (!stop_ && readRequest(fd, &head));
}

} // namespace peers
