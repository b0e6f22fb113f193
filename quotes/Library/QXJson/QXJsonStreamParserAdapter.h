#pragma once

#include "QXJsonStreamParser.h"
#include "base/Object.h"
#include "base/Value.h"

#include <string>
#include <vector>

class QXJsonStreamParserAdapter;

// Receives each finished top-level container of an adapter.
class QXJsonStreamParserAdapterDelegate {
public:
    virtual ~QXJsonStreamParserAdapterDelegate() = default;
    virtual void parserFoundArray(QXJsonStreamParserAdapter &adapter, base::Value array) = 0;
    virtual void parserFoundObject(QXJsonStreamParserAdapter &adapter, base::Value object) = 0;
};

// Builds arrays and dictionaries from the events of a stream parser.
class QXJsonStreamParserAdapter : public QXJsonStreamParserDelegate {
public:
    QXJsonStreamParserAdapter();

    void setDelegate(base::Weak<QXJsonStreamParserAdapterDelegate> delegate) {
        delegate_ = std::move(delegate);
    }
    // With N above 0 the N outermost containers are not built; what they hold goes straight to the
    // delegate.
    void setLevelsToSkip(unsigned levels) { levelsToSkip_ = levels; }

    void parserFoundObjectStart(QXJsonStreamParser &parser) override;
    void parserFoundObjectKey(QXJsonStreamParser &parser, std::string key) override;
    void parserFoundObjectEnd(QXJsonStreamParser &parser) override;
    void parserFoundArrayStart(QXJsonStreamParser &parser) override;
    void parserFoundArrayEnd(QXJsonStreamParser &parser) override;
    void parserFoundBoolean(QXJsonStreamParser &parser, bool value) override;
    void parserFoundNull(QXJsonStreamParser &parser) override;
    void parserFoundNumber(QXJsonStreamParser &parser, base::Value number) override;
    void parserFoundString(QXJsonStreamParser &parser, std::string string) override;

private:
    // An open container: where its members begin in `values_` and, for an object, in `keys_`.
    struct Frame {
        bool object;
        size_t values;
        size_t keys;
    };

    void end();
    base::Value finish(const Frame &frame);
    // Puts a finished value into the innermost open container, built in place there, or hands it to
    // the delegate when none is open.
    template <class T> void found(T &&value) {
        if (frames_.empty())
            deliver(base::Value(std::forward<T>(value)));
        else
            values_.emplace_back(std::forward<T>(value));
    }
    void deliver(base::Value &&value);

    base::Weak<QXJsonStreamParserAdapterDelegate> delegate_;
    unsigned levelsToSkip_ = 0;
    unsigned depth_ = 0;
    // The members of all open containers, innermost last. A container is built only when it ends,
    // so that it is allocated once at its final size.
    std::vector<Frame> frames_;
    std::vector<std::string> keys_;
    std::vector<base::Value> values_;
};
