#pragma once

#include "base/Data.h"
#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

// What a request carries to its reply parser and back to its requester: plain values under the
// keys the builder and the parser agree on ("tag", "startid", "fillType", "reqid", "marketID" …;
// parsers add results such as "totalCount"), and the objects the parser fills in place ("rspArray",
// "pack"). The requester gets this same object back with the reply.
class ReqParams : public base::Object {
public:
    ReqParams() = default;
    ReqParams(std::initializer_list<base::Dict::Entry> values) : values(values) {}

    base::Dict values;

    bool has(const std::string &key) const { return values.has(key); }
    // The value under the key; null when there is none.
    base::Value get(const std::string &key) const { return values.get(key); }
    void set(const std::string &key, base::Value value) { values.set(key, std::move(value)); }

    void setObject(const std::string &key, base::Ref<base::Object> object) { set(key, std::move(object)); }
    // The object under the key; null when there is none.
    base::Ref<base::Object> object(const std::string &key) const { return get(key).object(); }
    // The object under the key as a T; null when there is none or it is something else.
    template <class T> base::Ref<T> object(const std::string &key) const { return get(key).objectAs<T>(); }
};

// A list of records shared by reference: the requester keeps it, a request carries it under
// "rspArray", and the reply parser fills it in place.
template <class T> class RecordList : public base::Object {
public:
    std::vector<base::Ref<T>> items;
};

// The reply interface of every object that asks for quote data: called with the message type of
// the reply and the parameters of its request (null when the request had none).
class DataPoolDelegate {
public:
    virtual ~DataPoolDelegate() = default;
    virtual void DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) = 0;
};

// Who hears the reply: nobody, an object (retained while the request is queued) or the name of the
// notification under which the reply is posted.
using QuoteRequester = std::variant<std::monostate, base::Ref<DataPoolDelegate>, std::string>;

// One framed request as the message layer hands it to the coordinator's queue.
struct QuoteRequestRecord {
    // Header and body.
    base::Data data;
    // The byte at offset 0 of the frame; replies are matched to the request by it.
    uint8_t seqID = 0;
    int32_t reqType = 0;
    QuoteRequester delegate;
    // Null when the builder keeps no parameters.
    base::Ref<ReqParams> reqParams;
};
