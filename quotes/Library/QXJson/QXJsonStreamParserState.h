#pragma once

#include "QXJsonTokeniser.h"

class QXJsonStreamParser;

// Result of a parse call.
enum QXJsonParserStatus : int {
    QXJsonParserComplete = 0,       // one top-level value was read and only whitespace follows
    QXJsonParserWaitingForData = 1, // the bytes ended before or inside the top-level value
    QXJsonParserError = 2,          // the stream parser's error holds the text
};

// A place in the JSON grammar. States hold no data: each is one shared instance for every parser.
// A start token never reaches parserShouldTransitionTo (the parser pushes the state instead); an
// end token reaches the state that was current when its container began.
class QXJsonStreamParserState {
public:
    virtual ~QXJsonStreamParserState() = default;
    virtual bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const;
    // The status to give when the bytes run out in this state.
    virtual QXJsonParserStatus parserShouldReturn(QXJsonStreamParser &parser) const;
    // Moves the parser on after a value, separator or container end read in this state.
    virtual void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const;
    // Whether a string read in this state is an object key.
    virtual bool needKey(QXJsonStreamParser &parser) const;
    // The phrase that places this state in error texts.
    virtual const char *name() const;
};

class QXJsonStreamParserStateStart : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateStart *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateComplete : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateComplete *sharedInstance();
    QXJsonParserStatus parserShouldReturn(QXJsonStreamParser &parser) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateError : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateError *sharedInstance();
    QXJsonParserStatus parserShouldReturn(QXJsonStreamParser &parser) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateObjectStart : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateObjectStart *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    bool needKey(QXJsonStreamParser &parser) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateObjectGotKey : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateObjectGotKey *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateObjectSeparator : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateObjectSeparator *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateObjectGotValue : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateObjectGotValue *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateObjectNeedKey : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateObjectNeedKey *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    bool needKey(QXJsonStreamParser &parser) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateArrayStart : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateArrayStart *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateArrayGotValue : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateArrayGotValue *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};

class QXJsonStreamParserStateArrayNeedValue : public QXJsonStreamParserState {
public:
    static const QXJsonStreamParserStateArrayNeedValue *sharedInstance();
    bool parserShouldAcceptToken(QXJsonStreamParser &parser, QXJsonToken token) const override;
    void parserShouldTransitionTo(QXJsonStreamParser &parser, QXJsonToken token) const override;
    const char *name() const override;
};
