#include "DataDecompressor.h"

#include "HTTPRequest.h"

#include "base/InputStream.h"
#include "base/Str.h"
#include "net/StreamError.h"

#include <zlib.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <vector>

namespace {

// Output buffers start at least this large, so that tiny inputs still make progress.
constexpr size_t minimumGrowth = 1024;

base::Ref<base::Error> posixError(int code) {
    return net::toError({net::StreamError::Posix, code});
}

// What the file operations share: one direction's texts and its chunk step.
struct FileJob {
    const char *verb; // "Compression" or "Decompression"
    std::string source, destination;

    base::Ref<base::Error> fail(const char *format, base::Ref<base::Error> underlying = nullptr) const {
        std::string text = base::str::format(format, std::string(verb), source, destination);
        return compressionError(std::move(text), std::move(underlying));
    }
};

// Runs `step` over the source in 256 KB pieces and once more with no input at its end, writing
// what it gives to the destination.
template <class Step> bool copyThrough(const FileJob &job, Step step, base::Ref<base::Error> *error) {
    auto setError = [&](base::Ref<base::Error> e) {
        if (error)
            *error = std::move(e);
        return false;
    };
    auto out = base::OutputStream::toFile(job.destination, false);
    if (!out->open())
        return setError(job.fail("%@ of %@ failed because we were to create a file at %@"));
    if (!std::filesystem::exists(job.source))
        return setError(job.fail("%@ of %@ failed the file does not exist"));
    auto in = base::InputStream::withFile(job.source);
    in->open();
    std::vector<uint8_t> chunk(256 * 1024);
    for (;;) {
        long n = in->read(chunk.data(), chunk.size());
        if (n < 0 || in->failed())
            return setError(
                job.fail("%@ of %@ failed because we were unable to read from the source data file",
                         posixError(in->errorCode())));
        base::Ref<base::Error> stepError;
        auto produced = step(chunk.data(), size_t(n), n == 0, &stepError);
        if (stepError)
            return setError(stepError);
        if (produced && out->write(produced->bytes(), produced->length()) < 0)
            return setError(
                job.fail("%@ of %@ failed because we were unable to write to the destination data file at %@",
                         posixError(out->errorCode())));
        if (n == 0)
            return true;
    }
}

} // namespace

base::Ref<base::Error> compressionError(std::string text, base::Ref<base::Error> underlying) {
    base::Dict info;
    info.set(base::Error::LocalizedDescriptionKey, std::move(text));
    if (underlying)
        info.set("NSUnderlyingError", base::Value(underlying));
    return base::make<base::Error>(NetworkRequestErrorDomain, CompressionError, info);
}

struct DataDecompressor::Stream {
    z_stream z{};
};

base::Ref<DataDecompressor> DataDecompressor::decompressor() {
    auto d = base::make<DataDecompressor>();
    d->setupStream();
    return d;
}

DataDecompressor::DataDecompressor() : stream_(std::make_unique<Stream>()) {}

DataDecompressor::~DataDecompressor() {
    closeStream();
}

base::Ref<base::Error> DataDecompressor::setupStream() {
    if (streamReady_)
        return nullptr;
    stream_->z = z_stream{};
    int status = inflateInit2(&stream_->z, 47);
    if (status != Z_OK)
        return inflateErrorWithCode(status);
    streamReady_ = true;
    return nullptr;
}

base::Ref<base::Error> DataDecompressor::closeStream() {
    if (!streamReady_)
        return nullptr;
    streamReady_ = false;
    int status = inflateEnd(&stream_->z);
    return status == Z_OK ? nullptr : inflateErrorWithCode(status);
}

std::optional<base::Data> DataDecompressor::uncompressBytes(const uint8_t *bytes, size_t length,
                                                            base::Ref<base::Error> *error) {
    if (length == 0)
        return std::nullopt;
    z_stream &z = stream_->z;
    z.next_in = const_cast<Bytef *>(bytes);
    z.avail_in = uInt(length);
    // Inflated into a buffer kept from call to call, then copied out at its exact size: a body fed
    // in pieces costs one copy of its output, with no clearing and no regrowth once the buffer has
    // found its size. Bodies such as JSON inflate several times over, hence the start of four times
    // the input; a stream fed a byte at a time does not clear a large buffer for each byte.
    if (scratch_.empty())
        scratch_.resize(std::max(minimumGrowth, 4 * length));
    size_t produced = 0;
    for (;;) {
        if (scratch_.size() == produced)
            scratch_.resize(scratch_.size() * 2);
        z.next_out = scratch_.data() + produced;
        z.avail_out = uInt(std::min<size_t>(scratch_.size() - produced, UINT_MAX));
        const uInt room = z.avail_out;
        int status = inflate(&z, Z_NO_FLUSH);
        produced += room - z.avail_out;
        if (status == Z_STREAM_END) {
            ended_ = true;
            // Another gzip member may follow.
            if (z.avail_in == 0)
                break;
            inflateReset(&z);
            ended_ = false;
            continue;
        }
        if (status == Z_BUF_ERROR || (status == Z_OK && z.avail_in == 0 && z.avail_out != 0))
            break;
        if (status != Z_OK) {
            if (error)
                *error = inflateErrorWithCode(status);
            return std::nullopt;
        }
    }
    return base::Data(scratch_.data(), produced);
}

std::optional<base::Data> DataDecompressor::uncompressData(const base::Data &data,
                                                           base::Ref<base::Error> *error) {
    auto d = decompressor();
    base::Ref<base::Error> failure;
    auto out = d->uncompressBytes(data.bytes(), data.length(), &failure);
    if (!failure && !data.empty() && !d->streamEnded())
        failure = inflateErrorWithCode(Z_BUF_ERROR);
    if (failure) {
        if (error)
            *error = failure;
        return std::nullopt;
    }
    return out;
}

bool DataDecompressor::uncompressDataFromFile(const std::string &source, const std::string &destination,
                                              base::Ref<base::Error> *error) {
    auto d = decompressor();
    bool sawInput = false;
    auto step = [&](const uint8_t *bytes, size_t length, bool atEnd, base::Ref<base::Error> *e) {
        sawInput |= length > 0;
        if (atEnd) {
            if (sawInput && !d->streamEnded())
                *e = inflateErrorWithCode(Z_BUF_ERROR);
            return std::optional<base::Data>();
        }
        return d->uncompressBytes(bytes, length, e);
    };
    bool ok = copyThrough(FileJob{"Decompression", source, destination}, step, error);
    auto closing = d->closeStream();
    if (ok && closing && error)
        *error = closing;
    return ok && !closing;
}

base::Ref<base::Error> DataDecompressor::inflateErrorWithCode(int code) {
    return compressionError(
        base::str::format("Decompression of data failed with code %hi", int(short(code))));
}

struct DataCompressor::Stream {
    z_stream z{};
};

base::Ref<DataCompressor> DataCompressor::compressor() {
    auto c = base::make<DataCompressor>();
    c->setupStream();
    return c;
}

DataCompressor::DataCompressor() : stream_(std::make_unique<Stream>()) {}

DataCompressor::~DataCompressor() {
    closeStream();
}

base::Ref<base::Error> DataCompressor::setupStream() {
    if (streamReady_)
        return nullptr;
    stream_->z = z_stream{};
    int status = deflateInit2(&stream_->z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
    if (status != Z_OK)
        return deflateErrorWithCode(status);
    streamReady_ = true;
    return nullptr;
}

base::Ref<base::Error> DataCompressor::closeStream() {
    if (!streamReady_)
        return nullptr;
    streamReady_ = false;
    int status = deflateEnd(&stream_->z);
    // A stream ended before it was finished answers Z_DATA_ERROR; nothing is lost by that.
    return status == Z_OK || status == Z_DATA_ERROR ? nullptr : deflateErrorWithCode(status);
}

std::optional<base::Data> DataCompressor::compressBytes(const uint8_t *bytes, size_t length,
                                                        base::Ref<base::Error> *error, bool shouldFinish) {
    if (length == 0 && !shouldFinish)
        return std::nullopt;
    z_stream &z = stream_->z;
    z.next_in = const_cast<Bytef *>(bytes);
    z.avail_in = uInt(length);
    std::vector<uint8_t> out(std::max(minimumGrowth, length / 2));
    size_t produced = 0;
    for (;;) {
        if (out.size() == produced)
            out.resize(out.size() * 2);
        z.next_out = out.data() + produced;
        z.avail_out = uInt(out.size() - produced);
        int status = deflate(&z, shouldFinish ? Z_FINISH : Z_NO_FLUSH);
        produced = out.size() - z.avail_out;
        if (status == Z_STREAM_END)
            break;
        if (status == Z_BUF_ERROR && z.avail_out != 0)
            break;
        if (status != Z_OK && status != Z_BUF_ERROR) {
            if (error)
                *error = deflateErrorWithCode(status);
            return std::nullopt;
        }
        if (!shouldFinish && z.avail_in == 0 && z.avail_out != 0)
            break;
    }
    out.resize(produced);
    return base::Data(std::move(out));
}

std::optional<base::Data> DataCompressor::compressData(const base::Data &data,
                                                       base::Ref<base::Error> *error) {
    if (data.empty())
        return std::nullopt;
    return compressor()->compressBytes(data.bytes(), data.length(), error, true);
}

bool DataCompressor::compressDataFromFile(const std::string &source, const std::string &destination,
                                          base::Ref<base::Error> *error) {
    auto c = compressor();
    auto step = [&](const uint8_t *bytes, size_t length, bool atEnd, base::Ref<base::Error> *e) {
        return c->compressBytes(bytes, length, e, atEnd);
    };
    bool ok = copyThrough(FileJob{"Compression", source, destination}, step, error);
    auto closing = c->closeStream();
    if (ok && closing && error)
        *error = closing;
    return ok && !closing;
}

base::Ref<base::Error> DataCompressor::deflateErrorWithCode(int code) {
    return compressionError(base::str::format("Compression of data failed with code %hi", int(short(code))));
}
