#pragma once

#include "FrameServer.h"

#include <mutex>
#include <string>
#include <vector>

namespace peers {

// What the navigation reply (message 1000) announces.
struct NavigationInfo {
    std::vector<std::string> quoteServers; // "host:port"
    std::vector<std::string> tradeGateways;
    std::string loginNews;
    std::string version;
    std::string downloadAddress;
    bool update = false;
    bool forcedUpdate = false;

    // Lists the one quote server at 127.0.0.1:`quotePort`.
    static NavigationInfo pointingAt(uint16_t quotePort);
    Frame reply(uint8_t seqID) const;
};

// A navigation server: answers message 1000 with the quote-server list and nothing else.
class NavigationServer : public FrameServer {
public:
    static constexpr uint16_t ServerAddressType = 1000;

    explicit NavigationServer(NavigationInfo info, uint16_t port = 0);
    ~NavigationServer() override;

    NavigationInfo info() const;
    void setInfo(NavigationInfo info);

private:
    mutable std::mutex infoMutex_;
    NavigationInfo info_;
};

} // namespace peers
