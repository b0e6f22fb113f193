#include "PropertyList.h"

#include "FileManager.h"
#include "Str.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <plist/plist.h>

namespace base {

namespace {

// Nesting deeper than this is taken for hostile input rather than a real property list.
constexpr int maxDepth = 256;

struct PlistFree {
    void operator()(void *node) const { plist_free(node); }
};
using Node = std::unique_ptr<void, PlistFree>;

// Property-list text is UTF-8 without NULs; anything else is refused both ways.
bool isPlistText(const std::string &text) {
    return text.find('\0') == std::string::npos && str::isValidUtf8(text);
}

std::optional<Value> toValue(plist_t node, int depth);

std::optional<Value> toArray(plist_t node, int depth) {
    Array out;
    uint32_t n = plist_array_get_size(node);
    for (uint32_t i = 0; i < n; ++i) {
        auto item = toValue(plist_array_get_item(node, i), depth + 1);
        if (!item)
            return std::nullopt;
        out.add(std::move(*item));
    }
    return Value(out);
}

std::optional<Value> toDict(plist_t node, int depth) {
    Dict out;
    plist_dict_iter iter = nullptr;
    plist_dict_new_iter(node, &iter);
    bool ok = iter != nullptr;
    while (ok) {
        char *key = nullptr;
        plist_t item = nullptr;
        plist_dict_next_item(node, iter, &key, &item);
        if (!key || !item) {
            std::free(key);
            break;
        }
        auto value = isPlistText(key) ? toValue(item, depth + 1) : std::nullopt;
        if (value)
            out.set(key, std::move(*value));
        ok = value.has_value();
        std::free(key);
    }
    std::free(iter);
    return ok ? std::optional<Value>(Value(out)) : std::nullopt;
}

std::optional<Value> toScalar(plist_t node) {
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t b = 0;
        plist_get_bool_val(node, &b);
        return Value(b != 0);
    }
    case PLIST_UINT: {
        uint64_t u = 0;
        plist_get_uint_val(node, &u);
        return Value(static_cast<long long>(u));
    }
    case PLIST_REAL: {
        double d = 0;
        plist_get_real_val(node, &d);
        return Value(d);
    }
    case PLIST_STRING: {
        uint64_t length = 0;
        const char *s = plist_get_string_ptr(node, &length);
        std::string text(s ? s : "", s ? length : 0);
        if (!isPlistText(text))
            return std::nullopt;
        return Value(std::move(text));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char *bytes = plist_get_data_ptr(node, &length);
        return Value(Data(bytes, bytes ? length : 0));
    }
    case PLIST_DATE: {
        // The library answers whole seconds truncated towards zero and the magnitude of the
        // fraction; the fraction takes the sign of the seconds. (A date less than a second
        // before the reference date thus reads as lying after it.)
        int32_t sec = 0, usec = 0;
        plist_get_date_val(node, &sec, &usec);
        double fraction = double(usec) / 1e6;
        return Value(Date(sec < 0 ? double(sec) - fraction : double(sec) + fraction));
    }
    default:
        return std::nullopt;
    }
}

std::optional<Value> toValue(plist_t node, int depth) {
    if (!node || depth > maxDepth)
        return std::nullopt;
    switch (plist_get_node_type(node)) {
    case PLIST_ARRAY:
        return toArray(node, depth);
    case PLIST_DICT:
        return toDict(node, depth);
    default:
        return toScalar(node);
    }
}

plist_t toNode(const Value &value, int depth);

plist_t toArrayNode(const Array &array, int depth) {
    Node out(plist_new_array());
    for (const Value &item : array) {
        plist_t child = toNode(item, depth + 1);
        if (!child)
            return nullptr;
        plist_array_append_item(out.get(), child);
    }
    return out.release();
}

plist_t toDictNode(const Dict &dict, int depth) {
    Node out(plist_new_dict());
    for (const auto &[key, item] : dict) {
        plist_t child = isPlistText(key) ? toNode(item, depth + 1) : nullptr;
        if (!child)
            return nullptr;
        plist_dict_set_item(out.get(), key.c_str(), child);
    }
    return out.release();
}

plist_t toDateNode(Date date) {
    // The library adds the two parts as they are, so a negative fraction goes with
    // seconds truncated towards zero.
    double whole = std::trunc(date.sinceReference());
    if (!std::isfinite(whole) || whole < std::numeric_limits<int32_t>::min() ||
        whole > std::numeric_limits<int32_t>::max())
        return nullptr;
    auto usec = int32_t(std::lround((date.sinceReference() - whole) * 1e6));
    return plist_new_date(int32_t(whole), usec);
}

plist_t toNode(const Value &value, int depth) {
    if (depth > maxDepth)
        return nullptr;
    switch (value.type()) {
    case Value::Type::Bool:
        return plist_new_bool(*value.boolean());
    case Value::Type::Integer:
        return plist_new_uint(static_cast<uint64_t>(*value.integer()));
    case Value::Type::Unsigned:
        // The library keeps integers as signed 64-bit numbers when it writes; a larger
        // unsigned value would come back negative, so it is refused.
        if (*value.unsignedInteger() > uint64_t(std::numeric_limits<int64_t>::max()))
            return nullptr;
        return plist_new_uint(*value.unsignedInteger());
    case Value::Type::Real:
        return plist_new_real(*value.real());
    case Value::Type::Decimal:
        return plist_new_real(value.decimal()->toDouble());
    case Value::Type::String:
        // Refused rather than written as something that reads back different.
        if (!isPlistText(*value.string()))
            return nullptr;
        return plist_new_string(value.string()->c_str());
    case Value::Type::Data:
        return plist_new_data(reinterpret_cast<const char *>(value.data()->bytes()), value.data()->length());
    case Value::Type::Date:
        return toDateNode(*value.date());
    case Value::Type::Array:
        return toArrayNode(*value.array(), depth);
    case Value::Type::Dict:
        return toDictNode(*value.dict(), depth);
    case Value::Type::Null:
    case Value::Type::Object:
        break;
    }
    return nullptr;
}

template <class Serialise, class Release>
std::optional<Data> serialise(const Value &value, Serialise serialiseFn, Release releaseFn) {
    Node root(toNode(value, 0));
    if (!root)
        return std::nullopt;
    char *bytes = nullptr;
    uint32_t length = 0;
    serialiseFn(root.get(), &bytes, &length);
    if (!bytes)
        return std::nullopt;
    Data out(bytes, length);
    releaseFn(bytes);
    return out;
}

// A binary property list can hold a key or string with a NUL inside, which the library's
// key accessor aborts on. Its XML writer copies such text whole, so a NUL in the XML form
// gives them away; the XML form of a sound list never holds one.
bool hasEmbeddedNul(plist_t root) {
    char *xml = nullptr;
    uint32_t length = 0;
    plist_to_xml(root, &xml, &length);
    if (!xml)
        return true;
    bool found = std::memchr(xml, 0, length) != nullptr;
    plist_to_xml_free(xml);
    return found;
}

} // namespace

std::optional<Value> PropertyList::read(const std::string &path) {
    auto data = FileManager::read(path);
    return data ? read(*data) : std::nullopt;
}

std::optional<Value> PropertyList::read(const Data &data) {
    if (data.empty() || data.length() > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    plist_t raw = nullptr;
    plist_from_memory(reinterpret_cast<const char *>(data.bytes()), uint32_t(data.length()), &raw);
    Node root(raw);
    if (!root || (plist_is_binary(reinterpret_cast<const char *>(data.bytes()), uint32_t(data.length())) &&
                  hasEmbeddedNul(root.get())))
        return std::nullopt;
    return toValue(root.get(), 0);
}

std::optional<Data> PropertyList::xml(const Value &value) {
    return serialise(value, plist_to_xml, plist_to_xml_free);
}

std::optional<Data> PropertyList::binary(const Value &value) {
    return serialise(value, plist_to_bin, plist_to_bin_free);
}

bool PropertyList::write(const Value &value, const std::string &path, unsigned mode) {
    auto bytes = xml(value);
    return bytes && FileManager::writeAtomically(path, *bytes, mode);
}

} // namespace base
