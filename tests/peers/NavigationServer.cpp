#include "NavigationServer.h"

#include "base/Str.h"

namespace peers {

NavigationInfo NavigationInfo::pointingAt(uint16_t quotePort) {
    NavigationInfo info;
    info.quoteServers = {base::str::format("127.0.0.1:%d", int(quotePort))};
    info.version = "1.0";
    return info;
}

Frame NavigationInfo::reply(uint8_t seqID) const {
    Frame frame{seqID, NavigationServer::ServerAddressType};
    ComAPI::WriteShort(frame.body, int32_t(quoteServers.size()));
    for (const std::string &address : quoteServers)
        ComAPI::WriteString(frame.body, address);
    ComAPI::WriteShort(frame.body, int32_t(tradeGateways.size()));
    for (const std::string &address : tradeGateways)
        ComAPI::WriteString(frame.body, address);
    ComAPI::WriteString(frame.body, loginNews);
    ComAPI::WriteString(frame.body, version);
    ComAPI::WriteString(frame.body, downloadAddress);
    ComAPI::WriteByte(frame.body, update ? 1 : 0);
    ComAPI::WriteByte(frame.body, forcedUpdate ? 1 : 0);
    return frame;
}

NavigationServer::NavigationServer(NavigationInfo info, uint16_t port)
    : FrameServer(port), info_(std::move(info)) {
    start([this](const ReceivedFrame &request) -> std::optional<Frame> {
        if (request.type != ServerAddressType)
            return std::nullopt;
        return this->info().reply(request.seqID);
    });
}

NavigationServer::~NavigationServer() {
    stop();
}

NavigationInfo NavigationServer::info() const {
    std::lock_guard lock(infoMutex_);
    return info_;
}

void NavigationServer::setInfo(NavigationInfo info) {
    std::lock_guard lock(infoMutex_);
    info_ = std::move(info);
}

} // namespace peers
