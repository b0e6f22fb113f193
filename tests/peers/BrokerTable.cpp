#include "BrokerTable.h"

#include "DataBase/ComAPI.h"

#include <utility>

namespace peers {

namespace {

constexpr int kTradeGateway = 1;
constexpr int kQuoteAddress = 2;
constexpr int kPhoneCheckAttribute = 4;
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
        ComAPI::WriteShort(body, broker.phoneCheck ? 1 : 0);
        if (broker.phoneCheck) {
            ComAPI::WriteByte(body, kPhoneCheckAttribute);
            ComAPI::WriteByte(body, *broker.phoneCheck);
        }
        ComAPI::WriteShort(body, int32_t(broker.gatewayPorts.size() + broker.quotePorts.size()));
        for (auto [ports, kind] :
             {std::pair{&broker.gatewayPorts, kTradeGateway}, std::pair{&broker.quotePorts, kQuoteAddress}}) {
            for (uint16_t port : *ports) {
                ComAPI::WriteString(body, kLoopback);
                ComAPI::WriteShort(body, port);
                ComAPI::WriteByte(body, kTradeType);
                ComAPI::WriteByte(body, kind);
            }
        }
    }
    return body;
}

} // namespace peers
