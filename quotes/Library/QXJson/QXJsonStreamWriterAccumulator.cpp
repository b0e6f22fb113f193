#include "QXJsonStreamWriterAccumulator.h"

#include <algorithm>

void QXJsonStreamWriterAccumulator::writerAppendBytes(QXJsonStreamWriter &, const char *bytes,
                                                      size_t length) {
    // Growing four-fold keeps the number of copies of a large text small.
    if (data_.size() + length > data_.capacity())
        data_.reserve(std::max(data_.capacity() * 4, data_.size() + length));
    data_.append(bytes, length);
}
