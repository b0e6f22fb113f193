#pragma once

#include "base/Data.h"
#include "base/Object.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace base {

// Bytes read in order from a file or a block in memory: what an HTTP request body is sent from.
// open() must come first; a stream that failed keeps the system's error number.
class InputStream : public Object {
public:
    static Ref<InputStream> withFile(std::string path);
    static Ref<InputStream> withData(Data data);

    // False when the source cannot be opened (the stream has then failed).
    virtual bool open() = 0;
    virtual void close() = 0;
    // Up to `length` bytes; 0 at the end, -1 on an error or before open().
    virtual long read(uint8_t *bytes, size_t length) = 0;
    virtual bool failed() const { return error_ != 0; }
    // The system's error number of the failure; 0 when none.
    int errorCode() const { return error_; }

protected:
    int error_ = 0;
};

// Bytes written to a file, replacing or appending to it.
class OutputStream : public Object {
public:
    static Ref<OutputStream> toFile(std::string path, bool append);
    ~OutputStream() override;

    bool open();
    void close();
    // Writes all of `length` bytes; -1 on an error.
    long write(const uint8_t *bytes, size_t length);
    bool failed() const { return error_ != 0; }
    int errorCode() const { return error_; }

    OutputStream(std::string path, bool append) : path_(std::move(path)), append_(append) {}

private:
    std::string path_;
    bool append_;
    int fd_ = -1;
    int error_ = 0;
};

} // namespace base
