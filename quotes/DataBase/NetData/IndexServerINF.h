#pragma once

#include "base/Object.h"

#include <string>
#include <vector>

// The server lists and upgrade notice of the navigation reply; the lists are refilled in place.
class IndexServerINF : public base::Object {
public:
    std::vector<std::string> serverAddrlist;   // "host:port" of the quote servers
    std::vector<std::string> wtserverAddrlist; // trade gateways
    std::string loginnews;
    std::string newverno;
    std::string downloadaddrs;
    bool isupdate = false;
    bool isforceupdate = false;
};
