#pragma once

#include "base/Data.h"
#include "base/Error.h"
#include "base/Object.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Inflates gzip or zlib bodies (the header is recognised by itself): chunk by chunk while a body
// arrives, a whole buffer at once, or file to file. One instance follows one body across calls;
// a second gzip member that follows the first is inflated too. Failures are errors of
// "HTTPRequestErrorDomain" with code 11: "Decompression of data failed with code %hi" with zlib's
// code (-3 for damaged data, -5 for a body that ends before its stream does).
class DataDecompressor : public base::Object {
public:
    static constexpr size_t fileChunk = 256 * 1024;

    // A new instance with its stream set up.
    static base::Ref<DataDecompressor> decompressor();
    DataDecompressor();
    ~DataDecompressor() override;

    // Initialises the stream once; an error when zlib refuses.
    base::Ref<base::Error> setupStream();
    base::Ref<base::Error> closeStream();
    bool streamReady() const { return streamReady_; }
    // Whether the compressed stream has reached its end (its last member's trailer).
    bool streamEnded() const { return ended_; }

    // The bytes these input bytes inflate to (possibly none yet); nothing and `error` set on a
    // failure. Empty input gives nothing and no error.
    std::optional<base::Data> uncompressBytes(const uint8_t *bytes, size_t length,
                                              base::Ref<base::Error> *error);

    // A whole body; nothing and `error` set when it fails or stops before its end.
    static std::optional<base::Data> uncompressData(const base::Data &data, base::Ref<base::Error> *error);
    // Inflates `source` into `destination` (replaced) in 256 KB pieces.
    static bool uncompressDataFromFile(const std::string &source, const std::string &destination,
                                       base::Ref<base::Error> *error);
    static base::Ref<base::Error> inflateErrorWithCode(int code);

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    bool streamReady_ = false;
    bool ended_ = false;
    // Room inflate writes into, reused by every call.
    std::vector<uint8_t> scratch_;
};

// Deflates request bodies into gzip form (default level, 15-bit window, gzip header and trailer),
// in memory or file to file. Errors are code 11 of "HTTPRequestErrorDomain".
class DataCompressor : public base::Object {
public:
    static constexpr size_t fileChunk = 256 * 1024;

    static base::Ref<DataCompressor> compressor();
    DataCompressor();
    ~DataCompressor() override;

    base::Ref<base::Error> setupStream();
    base::Ref<base::Error> closeStream();
    bool streamReady() const { return streamReady_; }

    // Compressed bytes for this input (possibly none yet). With `shouldFinish` the stream is
    // finished, also with no input at all; without it, empty input gives nothing and no error.
    std::optional<base::Data> compressBytes(const uint8_t *bytes, size_t length,
                                            base::Ref<base::Error> *error, bool shouldFinish);

    static std::optional<base::Data> compressData(const base::Data &data, base::Ref<base::Error> *error);
    static bool compressDataFromFile(const std::string &source, const std::string &destination,
                                     base::Ref<base::Error> *error);
    static base::Ref<base::Error> deflateErrorWithCode(int code);

private:
    struct Stream;
    std::unique_ptr<Stream> stream_;
    bool streamReady_ = false;
};

// The error of code 11 with `text`, and `underlying` when given.
base::Ref<base::Error> compressionError(std::string text, base::Ref<base::Error> underlying = nullptr);
