#pragma once

#include <string>
#include <string_view>

// The web hosts of ours that the bundle's "ServerConfig" list names beside the navigation servers
// (which DataBase reads itself): the news host that serves the headline file, the speech
// recogniser and the account host with the registration page. Each entry is a base address such
// as "http://127.0.0.1:21380", with no trailing slash. The bundle ships loopback addresses for the
// news and account hosts and no speech recogniser (voice search then says it has no service);
// there is no built-in public default, so a missing entry means the feature has no host. Class
// operations only, read from the bundle on every call.
class ServerConfig {
public:
    ServerConfig() = delete;

    static constexpr std::string_view NewsServerKey = "NewsServer";
    static constexpr std::string_view SpeechServerKey = "SpeechServer";
    static constexpr std::string_view AccountServerKey = "AccountServer";

    // The entry's base address; empty when the list or the entry is missing or not a text.
    static std::string hostAddress(std::string_view key);
    // The base address followed by `path` (which starts with "/"); empty without a host.
    static std::string urlFor(std::string_view key, std::string_view path);
};
