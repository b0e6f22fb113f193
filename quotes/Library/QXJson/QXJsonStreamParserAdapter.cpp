#include "QXJsonStreamParserAdapter.h"

QXJsonStreamParserAdapter::QXJsonStreamParserAdapter() {
    keyStack_.reserve(32);
    stack_.reserve(32);
}

void QXJsonStreamParserAdapter::push(base::Value container, Type type) {
    stack_.push_back(std::move(container));
    array_ = stack_.back().array();
    dict_ = stack_.back().dict();
    currentType_ = type;
}

void QXJsonStreamParserAdapter::pop() {
    stack_.pop_back();
    array_ = nullptr;
    dict_ = nullptr;
    currentType_ = Type::None;
    if (stack_.empty())
        return;
    array_ = stack_.back().array();
    dict_ = stack_.back().dict();
    currentType_ = array_ ? Type::Array : Type::Object;
}

void QXJsonStreamParserAdapter::end() {
    if (depth_-- <= levelsToSkip_)
        return;
    base::Value finished = std::move(stack_.back());
    pop();
    found(std::move(finished));
}

void QXJsonStreamParserAdapter::found(base::Value &&value) {
    switch (currentType_) {
    case Type::Array:
        array_->add(std::move(value));
        return;
    case Type::Object:
        dict_->set(keyStack_.back(), std::move(value));
        keyStack_.pop_back();
        return;
    case Type::None:
        break;
    }
    // No container is being built: keys read so far belonged to skipped objects.
    keyStack_.clear();
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
        push(base::Dict(), Type::Object);
}

void QXJsonStreamParserAdapter::parserFoundObjectKey(QXJsonStreamParser &, std::string key) {
    keyStack_.push_back(std::move(key));
}

void QXJsonStreamParserAdapter::parserFoundObjectEnd(QXJsonStreamParser &) {
    end();
}

void QXJsonStreamParserAdapter::parserFoundArrayStart(QXJsonStreamParser &) {
    if (++depth_ > levelsToSkip_)
        push(base::Array(), Type::Array);
}

void QXJsonStreamParserAdapter::parserFoundArrayEnd(QXJsonStreamParser &) {
    end();
}

void QXJsonStreamParserAdapter::parserFoundBoolean(QXJsonStreamParser &, bool value) {
    found(base::Value(value));
}

void QXJsonStreamParserAdapter::parserFoundNull(QXJsonStreamParser &) {
    found(base::Value());
}

void QXJsonStreamParserAdapter::parserFoundNumber(QXJsonStreamParser &, base::Value number) {
    found(std::move(number));
}

void QXJsonStreamParserAdapter::parserFoundString(QXJsonStreamParser &, std::string string) {
    found(base::Value(std::move(string)));
}
