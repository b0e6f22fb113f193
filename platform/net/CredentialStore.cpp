#include "net/CredentialStore.h"

namespace net {

CredentialStore &CredentialStore::shared() {
    // Never destroyed: requests on the network thread may look up credentials while the process exits.
    static auto *store = new CredentialStore;
    return *store;
}

void CredentialStore::set(const Credential &credential, const ProtectionSpace &space) {
    std::lock_guard guard(lock_);
    defaults_[space] = credential;
}

std::optional<Credential> CredentialStore::get(const ProtectionSpace &space) const {
    std::lock_guard guard(lock_);
    auto it = defaults_.find(space);
    if (it == defaults_.end())
        return std::nullopt;
    return it->second;
}

void CredentialStore::remove(const ProtectionSpace &space) {
    std::lock_guard guard(lock_);
    defaults_.erase(space);
}

void CredentialStore::clear() {
    std::lock_guard guard(lock_);
    defaults_.clear();
}

} // namespace net
