#pragma once

#include "base/Data.h"

#include <cstdint>
#include <string>
#include <vector>

namespace peers {

// A broker of the quote server's broker table (message 1003) with its trade gateways on 127.0.0.1.
struct GatewayBroker {
    std::string name;
    char searchKey = 'Z';
    std::vector<uint16_t> gatewayPorts;
};

// The table as the reply body carries it: checksum, broker count, then per broker its name, index
// letter, no attributes and its addresses (all trade gateways).
base::Data brokerTableBody(const std::vector<GatewayBroker> &brokers, int16_t checksum = 1);

} // namespace peers
