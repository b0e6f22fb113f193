#include "ServerConfig.h"

#include "base/Bundle.h"
#include "base/PropertyList.h"

std::string ServerConfig::hostAddress(std::string_view key) {
    auto path = base::Bundle::main().pathFor("ServerConfig", "plist");
    std::optional<base::Value> config = path ? base::PropertyList::read(*path) : std::nullopt;
    if (!config || !config->dict())
        return {};
    base::Value entry = (*config)[std::string(key)];
    return entry.isString() ? entry.stringValue() : std::string();
}

std::string ServerConfig::urlFor(std::string_view key, std::string_view path) {
    std::string host = hostAddress(key);
    return host.empty() ? host : host + std::string(path);
}
