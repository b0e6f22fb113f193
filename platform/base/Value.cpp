#include "Value.h"

#include "Str.h"

#include <cmath>
#include <limits>

namespace base {

double Decimal::toDouble() const {
    if (!text.empty())
        return str::toDouble(text);
    double v = double(mantissa) * std::pow(10.0, exponent);
    return negative ? -v : v;
}

std::string Decimal::description() const {
    if (!text.empty())
        return text;
    std::string digits = std::to_string(mantissa);
    if (exponent >= 0) {
        if (mantissa != 0)
            digits.append(size_t(exponent), '0');
    } else {
        size_t shift = size_t(-int(exponent));
        if (digits.size() <= shift)
            digits.insert(0, shift - digits.size() + 1, '0');
        digits.insert(digits.size() - shift, ".");
        while (digits.back() == '0')
            digits.pop_back();
        if (digits.back() == '.')
            digits.pop_back();
    }
    return negative && mantissa != 0 ? "-" + digits : digits;
}

// Array

Array::Array() : items_(std::make_shared<std::vector<Value>>()) {}
Array::Array(std::initializer_list<Value> values) : items_(std::make_shared<std::vector<Value>>(values)) {}
Array::Array(std::vector<Value> values) : items_(std::make_shared<std::vector<Value>>(std::move(values))) {}

size_t Array::size() const {
    return items_->size();
}
Value &Array::operator[](size_t i) {
    return (*items_)[i];
}
const Value &Array::operator[](size_t i) const {
    return (*items_)[i];
}
Value Array::at(size_t i) const {
    return i < items_->size() ? (*items_)[i] : Value();
}
void Array::add(Value value) {
    items_->push_back(std::move(value));
}
void Array::insert(size_t i, Value value) {
    items_->insert(items_->begin() + std::ptrdiff_t(std::min(i, items_->size())), std::move(value));
}
void Array::remove(size_t i) {
    if (i < items_->size())
        items_->erase(items_->begin() + std::ptrdiff_t(i));
}
void Array::clear() {
    items_->clear();
}
std::vector<Value> &Array::items() {
    return *items_;
}
const std::vector<Value> &Array::items() const {
    return *items_;
}
std::vector<Value>::iterator Array::begin() {
    return items_->begin();
}
std::vector<Value>::iterator Array::end() {
    return items_->end();
}
std::vector<Value>::const_iterator Array::begin() const {
    return items_->begin();
}
std::vector<Value>::const_iterator Array::end() const {
    return items_->end();
}
Array Array::copy() const {
    return Array(*items_);
}
Array Array::deepCopy() const {
    std::vector<Value> out;
    out.reserve(items_->size());
    for (const auto &v : *items_)
        out.push_back(v.deepCopy());
    return Array(std::move(out));
}
bool Array::operator==(const Array &other) const {
    return same(other) || *items_ == *other.items_;
}

// Dict

namespace {
// Up to this many entries a scan of the keys costs less than hashing and an index entry per key.
constexpr size_t scannedSize = 16;
} // namespace

size_t Dict::Store::position(const std::string &key) const {
    if (index.empty()) {
        size_t i = 0;
        while (i < entries.size() && entries[i].first != key)
            ++i;
        return i;
    }
    auto it = index.find(key);
    return it == index.end() ? entries.size() : it->second;
}
Value &Dict::Store::append(std::string &&key, Value &&value) {
    entries.emplace_back(std::move(key), std::move(value));
    if (entries.size() > scannedSize) {
        if (index.empty())
            for (size_t i = 0; i + 1 < entries.size(); ++i)
                index.emplace(entries[i].first, i);
        index.emplace(entries.back().first, entries.size() - 1);
    }
    return entries.back().second;
}

Dict::Dict() : store_(std::make_shared<Store>()) {}
Dict::Dict(std::initializer_list<Entry> entries) : Dict() {
    for (const auto &e : entries)
        set(e.first, e.second);
}

size_t Dict::size() const {
    return store_->entries.size();
}
bool Dict::has(const std::string &key) const {
    return store_->position(key) < size();
}
const Value *Dict::find(const std::string &key) const {
    size_t at = store_->position(key);
    return at < size() ? &store_->entries[at].second : nullptr;
}
Value *Dict::find(const std::string &key) {
    size_t at = store_->position(key);
    return at < size() ? &store_->entries[at].second : nullptr;
}
Value Dict::get(const std::string &key) const {
    const Value *v = find(key);
    return v ? *v : Value();
}
void Dict::set(const std::string &key, Value value) {
    (*this)[key] = std::move(value);
}
void Dict::set(std::string &&key, Value value) {
    if (Value *v = find(key))
        *v = std::move(value);
    else
        store_->append(std::move(key), std::move(value));
}
void Dict::reserve(size_t n) {
    store_->entries.reserve(n);
    if (n > scannedSize)
        store_->index.reserve(n);
}
Value &Dict::operator[](const std::string &key) {
    Value *v = find(key);
    return v ? *v : store_->append(std::string(key), Value());
}
void Dict::remove(const std::string &key) {
    size_t at = store_->position(key);
    if (at == size())
        return;
    store_->index.erase(key);
    store_->entries.erase(store_->entries.begin() + std::ptrdiff_t(at));
    if (size() <= scannedSize) {
        store_->index.clear();
        return;
    }
    for (auto &[k, i] : store_->index)
        if (i > at)
            --i;
}
void Dict::clear() {
    store_->entries.clear();
    store_->index.clear();
}
std::vector<std::string> Dict::keys() const {
    std::vector<std::string> out;
    out.reserve(size());
    for (const auto &e : store_->entries)
        out.push_back(e.first);
    return out;
}
const std::vector<Dict::Entry> &Dict::entries() const {
    return store_->entries;
}
std::vector<Dict::Entry>::const_iterator Dict::begin() const {
    return store_->entries.begin();
}
std::vector<Dict::Entry>::const_iterator Dict::end() const {
    return store_->entries.end();
}
Dict Dict::copy() const {
    Dict out;
    *out.store_ = *store_;
    return out;
}
Dict Dict::deepCopy() const {
    Dict out;
    for (const auto &[k, v] : store_->entries)
        out.set(k, v.deepCopy());
    return out;
}
bool Dict::operator==(const Dict &other) const {
    if (same(other))
        return true;
    if (size() != other.size())
        return false;
    for (const auto &[k, v] : store_->entries) {
        const Value *o = other.find(k);
        if (!o || !(*o == v))
            return false;
    }
    return true;
}

// Value

bool Value::isNumber() const {
    switch (type()) {
    case Type::Bool:
    case Type::Integer:
    case Type::Unsigned:
    case Type::Real:
    case Type::Decimal:
        return true;
    default:
        return false;
    }
}

namespace {
int64_t saturate(double d) {
    if (std::isnan(d))
        return 0;
    if (d >= 9.2233720368547758e18)
        return std::numeric_limits<int64_t>::max();
    if (d <= -9.2233720368547758e18)
        return std::numeric_limits<int64_t>::min();
    return int64_t(d);
}
} // namespace

int64_t Value::intValue() const {
    switch (type()) {
    case Type::Bool:
        return *boolean() ? 1 : 0;
    case Type::Integer:
        return *integer();
    case Type::Unsigned:
        return int64_t(*unsignedInteger());
    case Type::Real:
        return saturate(*real());
    case Type::Decimal:
        return saturate(decimal()->toDouble());
    case Type::String:
        return str::toLongLong(*string());
    default:
        return 0;
    }
}

double Value::doubleValue() const {
    switch (type()) {
    case Type::Bool:
        return *boolean() ? 1 : 0;
    case Type::Integer:
        return double(*integer());
    case Type::Unsigned:
        return double(*unsignedInteger());
    case Type::Real:
        return *real();
    case Type::Decimal:
        return decimal()->toDouble();
    case Type::String:
        return str::toDouble(*string());
    default:
        return 0;
    }
}

bool Value::boolValue() const {
    switch (type()) {
    case Type::String:
        return str::toBool(*string());
    case Type::Real:
        return *real() != 0;
    case Type::Decimal:
        return decimal()->toDouble() != 0;
    default:
        return intValue() != 0;
    }
}

std::string Value::stringValue() const {
    switch (type()) {
    case Type::String:
        return *string();
    case Type::Bool:
    case Type::Integer:
    case Type::Unsigned:
    case Type::Real:
    case Type::Decimal:
        return description();
    default:
        return {};
    }
}

std::string Value::description() const {
    switch (type()) {
    case Type::Null:
        return "<null>";
    case Type::Bool:
        return *boolean() ? "1" : "0";
    case Type::Integer:
        return std::to_string(*integer());
    case Type::Unsigned:
        return std::to_string(*unsignedInteger());
    case Type::Real:
        return str::format("%.17g", *real());
    case Type::Decimal:
        return decimal()->description();
    case Type::String:
        return *string();
    case Type::Data:
        return data()->description();
    case Type::Date:
        return str::format("%.3f", date()->sinceReference());
    case Type::Array: {
        std::string out = "(";
        for (size_t i = 0; i < array()->size(); ++i)
            out += (i ? ", " : "") + (*array())[i].description();
        return out + ")";
    }
    case Type::Dict: {
        std::string out = "{";
        for (const auto &[k, v] : *dict())
            out += k + " = " + v.description() + "; ";
        return out + "}";
    }
    case Type::Object:
        return object() ? object()->description() : "<null>";
    }
    return {};
}

Ref<Object> Value::object() const {
    const Ref<Object> *o = std::get_if<Ref<Object>>(&v_);
    return o ? *o : nullptr;
}

Value Value::operator[](const std::string &key) const {
    const Dict *d = dict();
    return d ? d->get(key) : Value();
}

Value Value::operator[](size_t i) const {
    const Array *a = array();
    return a ? a->at(i) : Value();
}

Value Value::deepCopy() const {
    if (const Array *a = array())
        return a->deepCopy();
    if (const Dict *d = dict())
        return d->deepCopy();
    return *this;
}

bool Value::operator==(const Value &other) const {
    bool numeric = isNumber() && other.isNumber() && !isBool() && !other.isBool();
    // Decimals compare by value: 1.50 equals 1.5.
    if (type() == Type::Decimal && other.type() == Type::Decimal)
        return *decimal() == *other.decimal() || doubleValue() == other.doubleValue();
    if (numeric && type() != other.type()) {
        if (type() == Type::Integer && other.type() == Type::Unsigned)
            return *integer() >= 0 && uint64_t(*integer()) == *other.unsignedInteger();
        if (type() == Type::Unsigned && other.type() == Type::Integer)
            return other == *this;
        return doubleValue() == other.doubleValue();
    }
    return v_ == other.v_;
}

} // namespace base
