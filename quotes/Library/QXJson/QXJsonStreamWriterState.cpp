#include "QXJsonStreamWriterState.h"

#include "QXJsonStreamWriter.h"

#include <algorithm>
#include <string_view>

#define QXJSON_SHARED_INSTANCE(Name)                                                                         \
    const Name *Name::sharedInstance() {                                                                     \
        static const Name instance;                                                                          \
        return &instance;                                                                                    \
    }

bool QXJsonStreamWriterState::isInvalidState(QXJsonStreamWriter &) const {
    return false;
}
void QXJsonStreamWriterState::appendSeparator(QXJsonStreamWriter &) const {}
bool QXJsonStreamWriterState::expectingKey(QXJsonStreamWriter &) const {
    return false;
}
void QXJsonStreamWriterState::transitionState(QXJsonStreamWriter &) const {}
void QXJsonStreamWriterState::appendWhitespace(QXJsonStreamWriter &writer) const {
    static constexpr std::string_view spaces =
        "                                                                ";
    writer.appendBytes("\n", 1);
    for (size_t left = 2 * writer.stateStack().size(); left > 0;) {
        size_t run = std::min(left, spaces.size());
        writer.appendBytes(spaces.data(), run);
        left -= run;
    }
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateStart)
void QXJsonStreamWriterStateStart::transitionState(QXJsonStreamWriter &writer) const {
    writer.setState(QXJsonStreamWriterStateComplete::sharedInstance());
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateComplete)
bool QXJsonStreamWriterStateComplete::isInvalidState(QXJsonStreamWriter &writer) const {
    writer.setError("Stream is closed");
    return true;
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateError)

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateObjectStart)
bool QXJsonStreamWriterStateObjectStart::expectingKey(QXJsonStreamWriter &writer) const {
    writer.setError("JSON object key must be string");
    return true;
}
void QXJsonStreamWriterStateObjectStart::transitionState(QXJsonStreamWriter &writer) const {
    writer.setState(QXJsonStreamWriterStateObjectValue::sharedInstance());
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateObjectKey)
void QXJsonStreamWriterStateObjectKey::appendSeparator(QXJsonStreamWriter &writer) const {
    writer.appendBytes(",", 1);
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateObjectValue)
void QXJsonStreamWriterStateObjectValue::appendSeparator(QXJsonStreamWriter &writer) const {
    writer.appendBytes(":", 1);
}
void QXJsonStreamWriterStateObjectValue::transitionState(QXJsonStreamWriter &writer) const {
    writer.setState(QXJsonStreamWriterStateObjectKey::sharedInstance());
}
void QXJsonStreamWriterStateObjectValue::appendWhitespace(QXJsonStreamWriter &writer) const {
    writer.appendBytes(" ", 1);
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateArrayStart)
void QXJsonStreamWriterStateArrayStart::transitionState(QXJsonStreamWriter &writer) const {
    writer.setState(QXJsonStreamWriterStateArrayValue::sharedInstance());
}

QXJSON_SHARED_INSTANCE(QXJsonStreamWriterStateArrayValue)
void QXJsonStreamWriterStateArrayValue::appendSeparator(QXJsonStreamWriter &writer) const {
    writer.appendBytes(",", 1);
}
void QXJsonStreamWriterStateArrayValue::transitionState(QXJsonStreamWriter &writer) const {
    writer.setState(QXJsonStreamWriterStateArrayValue::sharedInstance());
}
