#include "base/InputStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace base {

namespace {

class FileInputStream : public InputStream {
public:
    explicit FileInputStream(std::string path) : path_(std::move(path)) {}
    ~FileInputStream() override { close(); }

    bool open() override {
        if (fd_ >= 0)
            return true;
        fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0)
            error_ = errno;
        return fd_ >= 0;
    }
    void close() override {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    long read(uint8_t *bytes, size_t length) override {
        if (fd_ < 0)
            return -1;
        for (;;) {
            ssize_t n = ::read(fd_, bytes, length);
            if (n >= 0)
                return long(n);
            if (errno == EINTR)
                continue;
            error_ = errno;
            return -1;
        }
    }

private:
    std::string path_;
    int fd_ = -1;
};

class DataInputStream : public InputStream {
public:
    explicit DataInputStream(Data data) : data_(std::move(data)) {}

    bool open() override {
        open_ = true;
        return true;
    }
    void close() override { open_ = false; }
    long read(uint8_t *bytes, size_t length) override {
        if (!open_)
            return -1;
        size_t n = std::min(length, data_.length() - offset_);
        if (n)
            std::memcpy(bytes, data_.bytes() + offset_, n);
        offset_ += n;
        return long(n);
    }

private:
    Data data_;
    size_t offset_ = 0;
    bool open_ = false;
};

} // namespace

Ref<InputStream> InputStream::withFile(std::string path) {
    return make<FileInputStream>(std::move(path));
}

Ref<InputStream> InputStream::withData(Data data) {
    return make<DataInputStream>(std::move(data));
}

Ref<OutputStream> OutputStream::toFile(std::string path, bool append) {
    return make<OutputStream>(std::move(path), append);
}

OutputStream::~OutputStream() {
    close();
}

bool OutputStream::open() {
    if (fd_ >= 0)
        return true;
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (append_ ? O_APPEND : O_TRUNC), 0644);
    if (fd_ < 0)
        error_ = errno;
    return fd_ >= 0;
}

void OutputStream::close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

long OutputStream::write(const uint8_t *bytes, size_t length) {
    if (fd_ < 0) {
        error_ = error_ ? error_ : EBADF;
        return -1;
    }
    size_t done = 0;
    while (done < length) {
        ssize_t n = ::write(fd_, bytes + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            error_ = errno;
            return -1;
        }
        done += size_t(n);
    }
    return long(done);
}

} // namespace base
