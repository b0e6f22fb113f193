#pragma once

#include "QXJsonStreamWriterState.h"
#include "base/Object.h"
#include "base/Value.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Receives every run of bytes a stream writer produces.
class QXJsonStreamWriterDelegate {
public:
    virtual ~QXJsonStreamWriterDelegate() = default;
    virtual void writerAppendBytes(QXJsonStreamWriter &writer, const char *bytes, size_t length) = 0;
};

// Writes exactly one top-level JSON value as UTF-8, compact or indented, from values or from
// open / close / scalar calls. Each write answers whether it succeeded; on failure `error` says why.
class QXJsonStreamWriter {
public:
    QXJsonStreamWriter();

    bool writeObject(const base::Dict &dict);
    bool writeArray(const base::Array &array);
    bool writeObjectOpen();
    bool writeObjectClose();
    bool writeArrayOpen();
    bool writeArrayClose();
    bool writeNull();
    bool writeBool(bool value);
    bool writeValue(const base::Value &value);
    // Used for values and keys alike. The text must be well-formed UTF-8.
    bool writeString(std::string_view string);
    bool writeNumber(const base::Value &number);
    void appendBytes(const char *bytes, size_t length);

    void setDelegate(base::Weak<QXJsonStreamWriterDelegate> delegate) { delegate_ = std::move(delegate); }
    // 0 means no limit.
    uint32_t maxDepth() const { return maxDepth_; }
    void setMaxDepth(uint32_t maxDepth) { maxDepth_ = maxDepth; }
    bool sortKeys() const { return sortKeys_; }
    void setSortKeys(bool sortKeys) { sortKeys_ = sortKeys; }
    bool humanReadable() const { return humanReadable_; }
    void setHumanReadable(bool humanReadable) { humanReadable_ = humanReadable; }
    const std::string &error() const { return error_; }
    void setError(std::string error) { error_ = std::move(error); }
    const QXJsonStreamWriterState *state() const { return state_; }
    void setState(const QXJsonStreamWriterState *state) { state_ = state; }
    const std::vector<const QXJsonStreamWriterState *> &stateStack() const { return stateStack_; }

private:
    // Collects the byte runs of one write call, nested calls included, and hands them to the
    // delegate in large pieces, the last when the outermost call ends.
    class Batch {
    public:
        explicit Batch(QXJsonStreamWriter &writer);
        ~Batch();

    private:
        QXJsonStreamWriter &writer_;
        bool outermost_ = false;
    };

    void flush();
    bool beginValue();
    bool beginContainer(const QXJsonStreamWriterState *start, char bracket);
    bool endContainer(char bracket);
    bool fail(std::string error);

    std::string error_;
    std::vector<const QXJsonStreamWriterState *> stateStack_;
    const QXJsonStreamWriterState *state_;
    base::Weak<QXJsonStreamWriterDelegate> delegate_;
    bool batching_ = false;
    std::string batch_;
    uint32_t maxDepth_ = 32;
    bool sortKeys_ = false;
    bool humanReadable_ = false;
};
