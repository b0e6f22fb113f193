#pragma once

#include "QXJsonStreamParserState.h"
#include "QXJsonTokeniser.h"
#include "base/Object.h"
#include "base/Value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Receives the parse events of a stream parser, in document order.
class QXJsonStreamParserDelegate {
public:
    virtual ~QXJsonStreamParserDelegate() = default;
    virtual void parserFoundObjectStart(QXJsonStreamParser &parser) = 0;
    virtual void parserFoundObjectKey(QXJsonStreamParser &parser, std::string key) = 0;
    virtual void parserFoundObjectEnd(QXJsonStreamParser &parser) = 0;
    virtual void parserFoundArrayStart(QXJsonStreamParser &parser) = 0;
    virtual void parserFoundArrayEnd(QXJsonStreamParser &parser) = 0;
    virtual void parserFoundBoolean(QXJsonStreamParser &parser, bool value) = 0;
    virtual void parserFoundNull(QXJsonStreamParser &parser) = 0;
    virtual void parserFoundNumber(QXJsonStreamParser &parser, base::Value number) = 0;
    virtual void parserFoundString(QXJsonStreamParser &parser, std::string string) = 0;
};

// Checks the grammar of the tokens, limits the nesting and tells its delegate what it finds.
// Bytes may arrive over several parse calls; after an error every call fails at once.
class QXJsonStreamParser {
public:
    QXJsonStreamParser();

    QXJsonParserStatus parse(std::string_view bytes);

    void setDelegate(base::Weak<QXJsonStreamParserDelegate> delegate) { delegate_ = std::move(delegate); }
    uint32_t maxDepth() const { return maxDepth_; }
    void setMaxDepth(uint32_t maxDepth) { maxDepth_ = maxDepth; }
    // Whether concatenated top-level containers are read one after another.
    bool supportMultipleDocuments() const { return supportMultipleDocuments_; }
    void setSupportMultipleDocuments(bool value) { supportMultipleDocuments_ = value; }
    const std::string &error() const { return error_; }
    void setError(std::string error) { error_ = std::move(error); }
    const QXJsonStreamParserState *state() const { return state_; }
    void setState(const QXJsonStreamParserState *state) { state_ = state; }
    const std::vector<const QXJsonStreamParserState *> &stateStack() const { return stateStack_; }
    QXJsonTokeniser &tokeniser() { return tokeniser_; }

    // The name of a token in error texts.
    static const char *tokenName(QXJsonToken token);

private:
    QXJsonParserStatus parseTokens();
    void handleObjectStart();
    void handleArrayStart();
    void maxDepthError();
    void handleEnd(QXJsonToken token);
    void handleValue(QXJsonToken token);

    bool supportMultipleDocuments_ = false;
    base::Weak<QXJsonStreamParserDelegate> delegate_;
    QXJsonStreamParserDelegate *receiver_ = nullptr; // the delegate, held for the length of a parse call
    QXJsonTokeniser tokeniser_;
    std::vector<const QXJsonStreamParserState *> stateStack_;
    const QXJsonStreamParserState *state_;
    uint32_t maxDepth_ = 32;
    std::string error_;
    QXJsonTokenValue value_;
};
