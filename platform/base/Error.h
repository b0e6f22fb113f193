#pragma once

#include "Object.h"
#include "Value.h"

#include <string>

namespace base {

// A failure: a domain, a code within it and user information. The key "NSLocalizedDescription"
// holds the text shown to the user, "NSUnderlyingError" an underlying Error object's description.
class Error : public Object {
public:
    static constexpr const char* LocalizedDescriptionKey = "NSLocalizedDescription";

    Error(std::string domain, long code, Dict userInfo = {})
        : domain_(std::move(domain)), code_(code), userInfo_(std::move(userInfo)) {}
    static Ref<Error> make(std::string domain, long code, std::string description = {});

    const std::string& domain() const { return domain_; }
    long code() const { return code_; }
    const Dict& userInfo() const { return userInfo_; }
    // The user-information text, or "The operation couldn't be completed. (domain error code.)".
    std::string localizedDescription() const;
    std::string description() const override;

private:
    std::string domain_;
    long code_;
    Dict userInfo_;
};

} // namespace base
