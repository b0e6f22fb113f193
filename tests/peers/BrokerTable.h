#pragma once

#include "base/Data.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace peers {

// A broker of the quote server's broker table (message 1003) with its trade gateways on 127.0.0.1,
// the phone-verification variant it names (attribute "4"; none: no attribute) and the quote
// servers it names for that verification.
struct GatewayBroker {
    std::string name;
    char searchKey = 'Z';
    std::vector<uint16_t> gatewayPorts;
    std::optional<int> phoneCheck;
    std::vector<uint16_t> quotePorts;
};

// The table as the reply body carries it: checksum, broker count, then per broker its name, index
// letter, its attributes and its addresses (trade gateways, then quote servers).
base::Data brokerTableBody(const std::vector<GatewayBroker> &brokers, int16_t checksum = 1);

} // namespace peers
