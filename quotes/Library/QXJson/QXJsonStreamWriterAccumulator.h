#pragma once

#include "QXJsonStreamWriter.h"

#include <string>

// Collects the bytes of a stream writer.
class QXJsonStreamWriterAccumulator : public QXJsonStreamWriterDelegate {
public:
    QXJsonStreamWriterAccumulator() { data_.reserve(8096); }
    void writerAppendBytes(QXJsonStreamWriter &writer, const char *bytes, size_t length) override;
    std::string &data() { return data_; }

private:
    std::string data_;
};
