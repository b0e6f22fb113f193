#pragma once

#include "QXJsonStreamParserAdapter.h"
#include "base/Value.h"

// Keeps the finished top-level container of a parse.
class QXJsonStreamParserAccumulator : public QXJsonStreamParserAdapterDelegate {
public:
    void parserFoundArray(QXJsonStreamParserAdapter &adapter, base::Value array) override;
    void parserFoundObject(QXJsonStreamParserAdapter &adapter, base::Value object) override;
    const base::Value &value() const { return value_; }

private:
    base::Value value_;
};
