#include "Error.h"

#include "Str.h"

namespace base {

Ref<Error> Error::make(std::string domain, long code, std::string description) {
    Dict info;
    if (!description.empty())
        info.set(LocalizedDescriptionKey, description);
    return std::make_shared<Error>(std::move(domain), code, info);
}

std::string Error::localizedDescription() const {
    if (const Value* text = userInfo_.find(LocalizedDescriptionKey); text && text->isString())
        return *text->string();
    return str::format("The operation couldn't be completed. (%@ error %ld.)", domain_, code_);
}

std::string Error::description() const {
    return str::format("Error Domain=%@ Code=%ld \"%@\"", domain_, code_, localizedDescription());
}

} // namespace base
