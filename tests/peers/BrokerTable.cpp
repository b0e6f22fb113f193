#include "BrokerTable.h"

#include "DataBase/ComAPI.h"

namespace peers {

namespace {

constexpr int kTradeGateway = 1;
constexpr int kTradeType = 0;
constexpr const char *kLoopback = "127.0.0.1";

} // namespace

base::Data brokerTableBody(const std::vector<GatewayBroker> &brokers, int16_t checksum) {
    base::Data body;
    ComAPI::WriteShort(body, checksum);
    ComAPI::WriteShort(body, int32_t(brokers.size()));
    for (const GatewayBroker &broker : brokers) {
        ComAPI::WriteString(body, broker.name);
        ComAPI::WriteByte(body, broker.searchKey);
        ComAPI::WriteShort(body, 0);
        ComAPI::WriteShort(body, int32_t(broker.gatewayPorts.size()));
        for (uint16_t port : broker.gatewayPorts) {
            ComAPI::WriteString(body, kLoopback);
            ComAPI::WriteShort(body, port);
            ComAPI::WriteByte(body, kTradeType);
            ComAPI::WriteByte(body, kTradeGateway);
        }
    }
    return body;
}

} // namespace peers
