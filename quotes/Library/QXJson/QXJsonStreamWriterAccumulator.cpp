#include "QXJsonStreamWriterAccumulator.h"

void QXJsonStreamWriterAccumulator::writerAppendBytes(QXJsonStreamWriter &, const char *bytes,
                                                      size_t length) {
    data_.append(bytes, length);
}
