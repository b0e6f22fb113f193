// Property lists come from files the user's device holds: any bytes must read as a value or as
// nothing, and whatever reads must write and read back the same.
#include "base/PropertyList.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>

namespace {

// Equality, except that dates need only agree to the microsecond the library keeps and
// not-a-number equals itself.
bool same(const base::Value &a, const base::Value &b) {
    if (a.type() != b.type())
        return false;
    if (auto *dict = a.dict()) {
        if (dict->keys() != b.dict()->keys())
            return false;
        for (const auto &[key, value] : *dict)
            if (!same(value, b[key]))
                return false;
        return true;
    }
    if (auto *array = a.array()) {
        if (array->size() != b.array()->size())
            return false;
        for (size_t i = 0; i < array->size(); ++i)
            if (!same((*array)[i], b[i]))
                return false;
        return true;
    }
    if (auto *real = a.real(); real && std::isnan(*real))
        return std::isnan(*b.real());
    if (auto *date = a.date())
        return std::fabs(date->secondsSince(*b.date())) < 1e-5;
    return a == b;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    auto value = base::PropertyList::read(base::Data(data, size));
    if (!value)
        return 0;
    // The binary form keeps everything; the XML form keeps dates to the second only.
    auto binary = base::PropertyList::binary(*value);
    auto fromBinary = binary ? base::PropertyList::read(*binary) : std::nullopt;
    auto xml = base::PropertyList::xml(*value);
    if ((binary && !(fromBinary && same(*fromBinary, *value))) || (xml && !base::PropertyList::read(*xml)))
        std::abort();
    return 0;
}
