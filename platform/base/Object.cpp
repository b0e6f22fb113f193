#include "Object.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <typeinfo>

namespace base {

std::string Object::description() const {
    char address[32];
    std::snprintf(address, sizeof address, "%p", static_cast<const void*>(this));
    return "<" + className() + ": " + address + ">";
}

std::string Object::className() const {
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                                     std::free);
    std::string name = status == 0 ? demangled.get() : mangled;
    auto colon = name.rfind("::");
    return colon == std::string::npos ? name : name.substr(colon + 2);
}

namespace {
struct Registry {
    std::mutex lock;
    std::map<std::string, ClassRegistry::Factory> factories;
};
Registry& registry() {
    static Registry r;
    return r;
}
} // namespace

void ClassRegistry::add(const std::string& name, Factory factory) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    r.factories[name] = std::move(factory);
}

Ref<Object> ClassRegistry::create(const std::string& name) {
    Factory factory;
    {
        auto& r = registry();
        std::lock_guard guard(r.lock);
        auto it = r.factories.find(name);
        if (it == r.factories.end())
            return nullptr;
        factory = it->second;
    }
    return factory();
}

bool ClassRegistry::has(const std::string& name) {
    auto& r = registry();
    std::lock_guard guard(r.lock);
    return r.factories.count(name) != 0;
}

} // namespace base
