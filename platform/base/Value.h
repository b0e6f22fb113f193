#pragma once

#include "Data.h"
#include "Date.h"
#include "Object.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

namespace base {

class Value;

// A decimal number: a mantissa with a power-of-ten exponent, or, when the digits do not fit,
// the number's own text.
struct Decimal {
    uint64_t mantissa = 0;
    int16_t exponent = 0;
    bool negative = false;
    std::string text; // set when the number is kept as text

    double toDouble() const;
    std::string description() const;
    bool operator==(const Decimal &) const = default;
};

// An ordered list of values, shared by reference: copies of an Array see the same elements.
// copy() and deepCopy() make independent lists.
class Array {
public:
    Array();
    Array(std::initializer_list<Value> values);
    explicit Array(std::vector<Value> values);

    size_t size() const;
    bool empty() const { return size() == 0; }
    Value &operator[](size_t i);
    const Value &operator[](size_t i) const;
    // The value at i, or null when i is out of range.
    Value at(size_t i) const;
    void add(Value value);
    void insert(size_t i, Value value);
    void remove(size_t i);
    void clear();
    std::vector<Value> &items();
    const std::vector<Value> &items() const;
    std::vector<Value>::iterator begin();
    std::vector<Value>::iterator end();
    std::vector<Value>::const_iterator begin() const;
    std::vector<Value>::const_iterator end() const;

    // A new list holding the same elements (nested containers stay shared).
    Array copy() const;
    // A new list whose nested arrays and dictionaries are copied too.
    Array deepCopy() const;
    // Whether both handles refer to the same list.
    bool same(const Array &other) const { return items_ == other.items_; }
    bool operator==(const Array &other) const;

private:
    std::shared_ptr<std::vector<Value>> items_;
};

// A string-keyed dictionary in insertion order, shared by reference like Array.
// Setting an existing key replaces its value in place.
class Dict {
public:
    using Entry = std::pair<std::string, Value>;

    Dict();
    Dict(std::initializer_list<Entry> entries);

    size_t size() const;
    bool empty() const { return size() == 0; }
    bool has(const std::string &key) const;
    // The value for key, or null when absent.
    Value get(const std::string &key) const;
    const Value *find(const std::string &key) const;
    Value *find(const std::string &key);
    void set(const std::string &key, Value value);
    void set(std::string &&key, Value value);
    // Room for n entries without growing, for callers that know the size ahead.
    void reserve(size_t n);
    // The value for key, inserting null when absent.
    Value &operator[](const std::string &key);
    void remove(const std::string &key);
    void clear();
    std::vector<std::string> keys() const;
    const std::vector<Entry> &entries() const;
    std::vector<Entry>::const_iterator begin() const;
    std::vector<Entry>::const_iterator end() const;

    Dict copy() const;
    Dict deepCopy() const;
    bool same(const Dict &other) const { return store_ == other.store_; }
    bool operator==(const Dict &other) const;

private:
    struct Store {
        std::vector<Entry> entries;
        // Entry positions by key, kept only while the dictionary is too large for a quick scan.
        std::unordered_map<std::string, size_t> index;

        // The position of key, or entries.size() when absent.
        size_t position(const std::string &key) const;
        Value &append(std::string &&key, Value &&value);
    };
    std::shared_ptr<Store> store_;
};

// A dynamic value: what property lists, JSON, notifications and request records carry.
class Value {
public:
    enum class Type { Null, Bool, Integer, Unsigned, Real, Decimal, String, Data, Date, Array, Dict, Object };

    Value() = default;
    Value(std::nullptr_t) {}
    Value(bool v) : v_(v) {}
    Value(int v) : v_(int64_t(v)) {}
    Value(long v) : v_(int64_t(v)) {}
    Value(long long v) : v_(int64_t(v)) {}
    Value(unsigned v) : v_(int64_t(v)) {}
    Value(unsigned long v) : v_(uint64_t(v)) {}
    Value(unsigned long long v) : v_(uint64_t(v)) {}
    Value(float v) : v_(double(v)) {}
    Value(double v) : v_(v) {}
    Value(base::Decimal v) : v_(std::move(v)) {}
    Value(const char *v) : v_(std::string(v)) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(std::string_view v) : v_(std::string(v)) {}
    Value(base::Data v) : v_(std::move(v)) {}
    Value(base::Date v) : v_(v) {}
    Value(base::Array v) : v_(std::move(v)) {}
    Value(base::Dict v) : v_(std::move(v)) {}
    // An object carried by reference (a request's pack, its requester, a reply's records).
    template <class T>
    requires std::is_base_of_v<base::Object, T> Value(Ref<T> v) : v_(Ref<base::Object>(std::move(v))) {}

    Type type() const { return Type(v_.index()); }
    bool isNull() const { return type() == Type::Null; }
    bool isBool() const { return type() == Type::Bool; }
    // Integer, unsigned, real, decimal or boolean.
    bool isNumber() const;
    bool isString() const { return type() == Type::String; }

    // Typed access: nullptr when the value holds another type.
    const std::string *string() const { return std::get_if<std::string>(&v_); }
    const base::Data *data() const { return std::get_if<base::Data>(&v_); }
    const base::Date *date() const { return std::get_if<base::Date>(&v_); }
    const base::Decimal *decimal() const { return std::get_if<base::Decimal>(&v_); }
    base::Array *array() { return std::get_if<base::Array>(&v_); }
    const base::Array *array() const { return std::get_if<base::Array>(&v_); }
    base::Dict *dict() { return std::get_if<base::Dict>(&v_); }
    const base::Dict *dict() const { return std::get_if<base::Dict>(&v_); }
    const int64_t *integer() const { return std::get_if<int64_t>(&v_); }
    const uint64_t *unsignedInteger() const { return std::get_if<uint64_t>(&v_); }
    const double *real() const { return std::get_if<double>(&v_); }
    const bool *boolean() const { return std::get_if<bool>(&v_); }
    // The object held, or nullptr; objectAs<T>() also checks its class.
    Ref<base::Object> object() const;
    template <class T> Ref<T> objectAs() const { return std::dynamic_pointer_cast<T>(object()); }

    // Lenient conversions, as a number or string object answers them: numbers convert,
    // strings are parsed from their leading number, anything else is 0 / false / "".
    int64_t intValue() const;
    double doubleValue() const;
    float floatValue() const { return float(doubleValue()); }
    bool boolValue() const;
    // The string itself, or the text of a number; "" for other types.
    std::string stringValue() const;
    // What "%@" prints.
    std::string description() const;

    // Member access that answers null for anything that is not a dictionary or array.
    Value operator[](const std::string &key) const;
    Value operator[](const char *key) const { return (*this)[std::string(key)]; }
    Value operator[](size_t i) const;
    Value operator[](int i) const { return i < 0 ? Value() : (*this)[size_t(i)]; }

    // A copy whose nested arrays and dictionaries are copied too.
    Value deepCopy() const;
    // Equality of contents; numbers of different kinds compare by value, objects by identity.
    bool operator==(const Value &other) const;

private:
    std::variant<std::monostate, bool, int64_t, uint64_t, double, base::Decimal, std::string, base::Data,
                 base::Date, base::Array, base::Dict, Ref<base::Object>>
        v_;
};

} // namespace base
