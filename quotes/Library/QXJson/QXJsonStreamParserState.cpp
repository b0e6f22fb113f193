#include "QXJsonStreamParserState.h"

#include "QXJsonStreamParser.h"

namespace {

bool isValueToken(QXJsonToken token) {
    switch (token) {
    case QXJsonTokenArrayStart:
    case QXJsonTokenObjectStart:
    case QXJsonTokenNumber:
    case QXJsonTokenString:
    case QXJsonTokenTrue:
    case QXJsonTokenFalse:
    case QXJsonTokenNull:
        return true;
    default:
        return false;
    }
}

} // namespace

#define QXJSON_SHARED_INSTANCE(Name)                                                                         \
    const Name *Name::sharedInstance() {                                                                     \
        static const Name instance;                                                                          \
        return &instance;                                                                                    \
    }

bool QXJsonStreamParserState::parserShouldAcceptToken(QXJsonStreamParser &, QXJsonToken) const {
    return false;
}
QXJsonParserStatus QXJsonStreamParserState::parserShouldReturn(QXJsonStreamParser &) const {
    return QXJsonParserWaitingForData;
}
void QXJsonStreamParserState::parserShouldTransitionTo(QXJsonStreamParser &, QXJsonToken) const {}
bool QXJsonStreamParserState::needKey(QXJsonStreamParser &) const {
    return false;
}
const char *QXJsonStreamParserState::name() const {
    return "<aaiie!>";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateStart)
bool QXJsonStreamParserStateStart::parserShouldAcceptToken(QXJsonStreamParser &, QXJsonToken token) const {
    return token == QXJsonTokenArrayStart || token == QXJsonTokenObjectStart;
}
void QXJsonStreamParserStateStart::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                            QXJsonToken token) const {
    switch (token) {
    case QXJsonTokenEof:
        return;
    case QXJsonTokenArrayStart:
        parser.setState(QXJsonStreamParserStateArrayStart::sharedInstance());
        return;
    case QXJsonTokenObjectStart:
        parser.setState(QXJsonStreamParserStateObjectStart::sharedInstance());
        return;
    case QXJsonTokenArrayEnd:
    case QXJsonTokenObjectEnd:
        if (!parser.supportMultipleDocuments())
            parser.setState(QXJsonStreamParserStateComplete::sharedInstance());
        return;
    default:
        parser.setState(QXJsonStreamParserStateError::sharedInstance());
    }
}
const char *QXJsonStreamParserStateStart::name() const {
    return "before outer-most array or object";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateComplete)
QXJsonParserStatus QXJsonStreamParserStateComplete::parserShouldReturn(QXJsonStreamParser &) const {
    return QXJsonParserComplete;
}
const char *QXJsonStreamParserStateComplete::name() const {
    return "after outer-most array or object";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateError)
QXJsonParserStatus QXJsonStreamParserStateError::parserShouldReturn(QXJsonStreamParser &) const {
    return QXJsonParserError;
}
const char *QXJsonStreamParserStateError::name() const {
    return "in error";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateObjectStart)
bool QXJsonStreamParserStateObjectStart::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                 QXJsonToken token) const {
    return token == QXJsonTokenObjectEnd || token == QXJsonTokenString;
}
void QXJsonStreamParserStateObjectStart::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                  QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateObjectGotKey::sharedInstance());
}
bool QXJsonStreamParserStateObjectStart::needKey(QXJsonStreamParser &) const {
    return true;
}
const char *QXJsonStreamParserStateObjectStart::name() const {
    return "at beginning of object";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateObjectGotKey)
bool QXJsonStreamParserStateObjectGotKey::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                  QXJsonToken token) const {
    return token == QXJsonTokenKeyValueSeparator;
}
void QXJsonStreamParserStateObjectGotKey::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                   QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateObjectSeparator::sharedInstance());
}
const char *QXJsonStreamParserStateObjectGotKey::name() const {
    return "after object key";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateObjectSeparator)
bool QXJsonStreamParserStateObjectSeparator::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                     QXJsonToken token) const {
    return isValueToken(token);
}
void QXJsonStreamParserStateObjectSeparator::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                      QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateObjectGotValue::sharedInstance());
}
const char *QXJsonStreamParserStateObjectSeparator::name() const {
    return "as object value";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateObjectGotValue)
bool QXJsonStreamParserStateObjectGotValue::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                    QXJsonToken token) const {
    return token == QXJsonTokenObjectEnd || token == QXJsonTokenValueSeparator;
}
void QXJsonStreamParserStateObjectGotValue::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                     QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateObjectNeedKey::sharedInstance());
}
const char *QXJsonStreamParserStateObjectGotValue::name() const {
    return "after object value";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateObjectNeedKey)
bool QXJsonStreamParserStateObjectNeedKey::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                   QXJsonToken token) const {
    return token == QXJsonTokenString;
}
void QXJsonStreamParserStateObjectNeedKey::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                    QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateObjectGotKey::sharedInstance());
}
bool QXJsonStreamParserStateObjectNeedKey::needKey(QXJsonStreamParser &) const {
    return true;
}
const char *QXJsonStreamParserStateObjectNeedKey::name() const {
    return "in place of object key";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateArrayStart)
bool QXJsonStreamParserStateArrayStart::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                QXJsonToken token) const {
    return token == QXJsonTokenArrayEnd || isValueToken(token);
}
void QXJsonStreamParserStateArrayStart::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                 QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateArrayGotValue::sharedInstance());
}
const char *QXJsonStreamParserStateArrayStart::name() const {
    return "at array start";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateArrayGotValue)
bool QXJsonStreamParserStateArrayGotValue::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                   QXJsonToken token) const {
    return token == QXJsonTokenArrayEnd || token == QXJsonTokenValueSeparator;
}
void QXJsonStreamParserStateArrayGotValue::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                    QXJsonToken token) const {
    if (token == QXJsonTokenValueSeparator)
        parser.setState(QXJsonStreamParserStateArrayNeedValue::sharedInstance());
}
const char *QXJsonStreamParserStateArrayGotValue::name() const {
    return "after array value";
}

QXJSON_SHARED_INSTANCE(QXJsonStreamParserStateArrayNeedValue)
bool QXJsonStreamParserStateArrayNeedValue::parserShouldAcceptToken(QXJsonStreamParser &,
                                                                    QXJsonToken token) const {
    return isValueToken(token);
}
void QXJsonStreamParserStateArrayNeedValue::parserShouldTransitionTo(QXJsonStreamParser &parser,
                                                                     QXJsonToken) const {
    parser.setState(QXJsonStreamParserStateArrayGotValue::sharedInstance());
}
const char *QXJsonStreamParserStateArrayNeedValue::name() const {
    return "as array value";
}
