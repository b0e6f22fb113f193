#pragma once

class QXJsonStreamWriter;

// A place in the output of a stream writer: what separates the next value from the last and
// where the writer goes after it. States hold no data: each is one shared instance.
class QXJsonStreamWriterState {
public:
    virtual ~QXJsonStreamWriterState() = default;
    // Whether nothing may be written here; sets the writer's error when so.
    virtual bool isInvalidState(QXJsonStreamWriter &writer) const;
    virtual void appendSeparator(QXJsonStreamWriter &writer) const;
    // Whether an object key, and not a value, must come next; sets the writer's error when so.
    virtual bool expectingKey(QXJsonStreamWriter &writer) const;
    virtual void transitionState(QXJsonStreamWriter &writer) const;
    // A line feed and two spaces for every open container.
    virtual void appendWhitespace(QXJsonStreamWriter &writer) const;
};

class QXJsonStreamWriterStateStart : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateStart *sharedInstance();
    void transitionState(QXJsonStreamWriter &writer) const override;
};

class QXJsonStreamWriterStateComplete : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateComplete *sharedInstance();
    bool isInvalidState(QXJsonStreamWriter &writer) const override;
};

class QXJsonStreamWriterStateError : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateError *sharedInstance();
};

class QXJsonStreamWriterStateObjectStart : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateObjectStart *sharedInstance();
    bool expectingKey(QXJsonStreamWriter &writer) const override;
    void transitionState(QXJsonStreamWriter &writer) const override;
};

class QXJsonStreamWriterStateObjectKey : public QXJsonStreamWriterStateObjectStart {
public:
    static const QXJsonStreamWriterStateObjectKey *sharedInstance();
    void appendSeparator(QXJsonStreamWriter &writer) const override;
};

class QXJsonStreamWriterStateObjectValue : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateObjectValue *sharedInstance();
    void appendSeparator(QXJsonStreamWriter &writer) const override;
    void transitionState(QXJsonStreamWriter &writer) const override;
    void appendWhitespace(QXJsonStreamWriter &writer) const override;
};

class QXJsonStreamWriterStateArrayStart : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateArrayStart *sharedInstance();
    void transitionState(QXJsonStreamWriter &writer) const override;
};

class QXJsonStreamWriterStateArrayValue : public QXJsonStreamWriterState {
public:
    static const QXJsonStreamWriterStateArrayValue *sharedInstance();
    void appendSeparator(QXJsonStreamWriter &writer) const override;
    void transitionState(QXJsonStreamWriter &writer) const override;
};
