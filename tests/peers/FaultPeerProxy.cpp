#include "peers/FaultPeer.h"

#include "peers/PeerSocket.h"

namespace peers {

void FaultPeer::answerAsProxy(int fd, const std::string &challenge, std::string &pending, std::string head) {
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
        if (!sendAll(fd, reply))
            return;
    } while (!listener_.stopping() && readRequest(fd, pending, head));
}

} // namespace peers
