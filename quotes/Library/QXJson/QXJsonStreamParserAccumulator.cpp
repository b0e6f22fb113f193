#include "QXJsonStreamParserAccumulator.h"

void QXJsonStreamParserAccumulator::parserFoundArray(QXJsonStreamParserAdapter &, base::Value array) {
    value_ = std::move(array);
}

void QXJsonStreamParserAccumulator::parserFoundObject(QXJsonStreamParserAdapter &, base::Value object) {
    value_ = std::move(object);
}
