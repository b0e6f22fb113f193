#include "QXJsonStreamParserAdapter.h"

#include <iterator>

QXJsonStreamParserAdapter::QXJsonStreamParserAdapter() {
    // Enough for small replies without a large first allocation; big documents grow the stacks.
    frames_.reserve(32);
    keys_.reserve(16);
    values_.reserve(16);
}

void QXJsonStreamParserAdapter::end() {
    if (depth_-- <= levelsToSkip_)
        return;
    Frame frame = frames_.back();
    frames_.pop_back();
    found(finish(frame));
}

base::Value QXJsonStreamParserAdapter::finish(const Frame &frame) {
    auto first = values_.begin() + std::ptrdiff_t(frame.values);
    if (!frame.object) {
        base::Array array(
            std::vector<base::Value>(std::make_move_iterator(first), std::make_move_iterator(values_.end())));
        values_.erase(first, values_.end());
        return array;
    }
    base::Dict dict;
    dict.reserve(values_.size() - frame.values);
    auto key = keys_.begin() + std::ptrdiff_t(frame.keys);
    for (auto value = first; value != values_.end(); ++value, ++key)
        dict.set(std::move(*key), std::move(*value));
    values_.erase(first, values_.end());
    keys_.erase(keys_.begin() + std::ptrdiff_t(frame.keys), keys_.end());
    return dict;
}

// No container is being built: the value belongs to a skipped level.
void QXJsonStreamParserAdapter::deliver(base::Value &&value) {
    base::Ref<QXJsonStreamParserAdapterDelegate> delegate = delegate_.lock();
    if (!delegate)
        return;
    if (value.array())
        delegate->parserFoundArray(*this, std::move(value));
    else
        delegate->parserFoundObject(*this, std::move(value));
}

void QXJsonStreamParserAdapter::parserFoundObjectStart(QXJsonStreamParser &) {
    if (++depth_ > levelsToSkip_)
        frames_.push_back({true, values_.size(), keys_.size()});
}

void QXJsonStreamParserAdapter::parserFoundObjectKey(QXJsonStreamParser &, std::string key) {
    // Keys of skipped objects have no container to go into.
    if (!frames_.empty())
        keys_.push_back(std::move(key));
}

void QXJsonStreamParserAdapter::parserFoundObjectEnd(QXJsonStreamParser &) {
    end();
}

void QXJsonStreamParserAdapter::parserFoundArrayStart(QXJsonStreamParser &) {
    if (++depth_ > levelsToSkip_)
        frames_.push_back({false, values_.size(), keys_.size()});
}

void QXJsonStreamParserAdapter::parserFoundArrayEnd(QXJsonStreamParser &) {
    end();
}

void QXJsonStreamParserAdapter::parserFoundBoolean(QXJsonStreamParser &, bool value) {
    found(value);
}

void QXJsonStreamParserAdapter::parserFoundNull(QXJsonStreamParser &) {
    found(nullptr);
}

void QXJsonStreamParserAdapter::parserFoundNumber(QXJsonStreamParser &, base::Value number) {
    found(std::move(number));
}

void QXJsonStreamParserAdapter::parserFoundString(QXJsonStreamParser &, std::string string) {
    found(std::move(string));
}
