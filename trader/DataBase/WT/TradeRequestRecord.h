#pragma once

#include "base/Data.h"
#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

// Who receives a trade reply: nobody, an object (retained until its reply is delivered) or a
// notification name under which the reply is posted.
using TradeRequester = std::variant<std::monostate, base::Ref<base::Object>, std::string>;

// One queued trade request: the whole frame, its request number, its function number (the reply
// type of the phone check for a D request), its requester and the params that come back with its
// reply.
struct TradeRequestRecord {
    base::Data data;
    int32_t synID = 0;
    int32_t funcID = 0;
    TradeRequester delegate;
    std::optional<base::Dict> reqParams;
};
