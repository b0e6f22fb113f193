#include "QXJsonStreamParser.h"

#include "base/Str.h"

QXJsonStreamParser::QXJsonStreamParser() : state_(QXJsonStreamParserStateStart::sharedInstance()) {
    stateStack_.reserve(maxDepth_);
}

const char *QXJsonStreamParser::tokenName(QXJsonToken token) {
    switch (token) {
    case QXJsonTokenArrayStart:
        return "start of array";
    case QXJsonTokenArrayEnd:
        return "end of array";
    case QXJsonTokenObjectStart:
        return "start of object";
    case QXJsonTokenObjectEnd:
        return "end of object";
    case QXJsonTokenValueSeparator:
        return "value separator";
    case QXJsonTokenKeyValueSeparator:
        return "key-value separator";
    case QXJsonTokenNumber:
        return "number";
    case QXJsonTokenString:
        return "string";
    case QXJsonTokenTrue:
    case QXJsonTokenFalse:
        return "boolean";
    case QXJsonTokenNull:
        return "null";
    default:
        return "<aaiiie!>";
    }
}

QXJsonParserStatus QXJsonStreamParser::parse(std::string_view bytes) {
    base::Ref<QXJsonStreamParserDelegate> held = delegate_.lock();
    receiver_ = held.get();
    tokeniser_.appendData(bytes);
    QXJsonParserStatus status = parseTokens();
    tokeniser_.retainUnread();
    receiver_ = nullptr;
    return status;
}

QXJsonParserStatus QXJsonStreamParser::parseTokens() {
    const QXJsonStreamParserState *error = QXJsonStreamParserStateError::sharedInstance();
    for (;;) {
        if (state_ == error)
            return QXJsonParserError;
        QXJsonToken token = tokeniser_.getToken(value_);
        if (token == QXJsonTokenError) {
            state_ = error;
            error_ = tokeniser_.error();
            return QXJsonParserError;
        }
        if (token == QXJsonTokenEof)
            return state_->parserShouldReturn(*this);
        if (!state_->parserShouldAcceptToken(*this, token)) {
            error_ = base::str::format("Token '%@' not expected %@", tokenName(token), state_->name());
            state_ = error;
            return QXJsonParserError;
        }
        switch (token) {
        case QXJsonTokenArrayStart:
            handleArrayStart();
            break;
        case QXJsonTokenObjectStart:
            handleObjectStart();
            break;
        case QXJsonTokenArrayEnd:
        case QXJsonTokenObjectEnd:
            handleEnd(token);
            break;
        case QXJsonTokenValueSeparator:
        case QXJsonTokenKeyValueSeparator:
            state_->parserShouldTransitionTo(*this, token);
            break;
        default:
            handleValue(token);
        }
    }
}

void QXJsonStreamParser::maxDepthError() {
    error_ = base::str::format("Input depth exceeds max depth of %u", maxDepth_);
    state_ = QXJsonStreamParserStateError::sharedInstance();
}

void QXJsonStreamParser::handleObjectStart() {
    if (stateStack_.size() >= maxDepth_)
        return maxDepthError();
    if (receiver_)
        receiver_->parserFoundObjectStart(*this);
    stateStack_.push_back(state_);
    state_ = QXJsonStreamParserStateObjectStart::sharedInstance();
}

void QXJsonStreamParser::handleArrayStart() {
    if (stateStack_.size() >= maxDepth_)
        return maxDepthError();
    if (receiver_)
        receiver_->parserFoundArrayStart(*this);
    stateStack_.push_back(state_);
    state_ = QXJsonStreamParserStateArrayStart::sharedInstance();
}

void QXJsonStreamParser::handleEnd(QXJsonToken token) {
    state_ = stateStack_.back();
    stateStack_.pop_back();
    state_->parserShouldTransitionTo(*this, token);
    if (!receiver_)
        return;
    if (token == QXJsonTokenArrayEnd)
        receiver_->parserFoundArrayEnd(*this);
    else
        receiver_->parserFoundObjectEnd(*this);
}

void QXJsonStreamParser::handleValue(QXJsonToken token) {
    if (receiver_) {
        switch (token) {
        case QXJsonTokenNumber:
            receiver_->parserFoundNumber(*this, std::move(value_.number));
            break;
        case QXJsonTokenString:
            if (state_->needKey(*this))
                receiver_->parserFoundObjectKey(*this, std::move(value_.string));
            else
                receiver_->parserFoundString(*this, std::move(value_.string));
            break;
        case QXJsonTokenTrue:
        case QXJsonTokenFalse:
            receiver_->parserFoundBoolean(*this, token == QXJsonTokenTrue);
            break;
        default:
            receiver_->parserFoundNull(*this);
        }
    }
    state_->parserShouldTransitionTo(*this, token);
}
