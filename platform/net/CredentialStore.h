#pragma once

#include <compare>
#include <map>
#include <mutex>
#include <optional>
#include <string>

namespace net {

// Where credentials apply: a server (host, port, the URL's scheme as protocol, realm) or a proxy
// (its host and port, protocol "http"). Methods are always the default one, so none is kept.
struct ProtectionSpace {
    std::string host;
    int port = 0;
    std::string protocol;
    std::string realm;
    bool proxy = false;

    auto operator<=>(const ProtectionSpace &) const = default;
};

struct Credential {
    std::string user, password;
};

// The process's saved credentials, one default per protection space, held in memory for the life
// of the process (the platform's permanent store stands in for nothing more). HTTPRequest saves
// credentials that worked here and looks them up before asking anyone. Safe from any thread.
class CredentialStore {
public:
    static CredentialStore &shared();

    // Makes `credential` the default of `space`, replacing any.
    void set(const Credential &credential, const ProtectionSpace &space);
    // The default credential of `space`; nothing when none was set.
    std::optional<Credential> get(const ProtectionSpace &space) const;
    // Removes the default credential of `space`, if any.
    void remove(const ProtectionSpace &space);
    void clear();

private:
    mutable std::mutex lock_;
    std::map<ProtectionSpace, Credential> defaults_;
};

} // namespace net
