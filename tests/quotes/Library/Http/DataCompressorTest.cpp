#include "DataDecompressor.h"

#include "base/FileManager.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace {

std::string sample(size_t n) {
    std::mt19937 random(42);
    std::string out(n, '\0');
    // Half text, half noise: compressible, yet not trivially.
    for (size_t i = 0; i < n; ++i)
        out[i] = i % 2 ? char('a' + i % 13) : char(random());
    return out;
}

base::Data bytes(const std::string &s) {
    return base::Data::fromString(s);
}

// zlib's own one-shot compress with the window bits given (31 gzip, 15 zlib, -15 raw).
std::string deflated(const std::string &text, int windowBits) {
    z_stream z{};
    deflateInit2(&z, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY);
    std::string out(deflateBound(&z, text.size()) + 64, '\0');
    z.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(text.data()));
    z.avail_in = uInt(text.size());
    z.next_out = reinterpret_cast<Bytef *>(out.data());
    z.avail_out = uInt(out.size());
    deflate(&z, Z_FINISH);
    out.resize(z.total_out);
    deflateEnd(&z);
    return out;
}

std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(DataCompressorTest, RoundTripsInMemory) {
    for (size_t n : {1, 2, 100, 70000, 1000000}) {
        std::string text = sample(n);
        base::Ref<base::Error> error;
        auto packed = DataCompressor::compressData(bytes(text), &error);
        ASSERT_TRUE(packed) << n;
        EXPECT_EQ(uint8_t(packed->bytes()[0]), 0x1f) << "gzip header";
        auto back = DataDecompressor::uncompressData(*packed, &error);
        ASSERT_TRUE(back) << n;
        EXPECT_EQ(back->toString(), text);
        EXPECT_FALSE(error);
    }
    base::Ref<base::Error> error;
    EXPECT_FALSE(DataCompressor::compressData(base::Data(), &error));
    EXPECT_FALSE(DataDecompressor::uncompressData(base::Data(), &error));
    EXPECT_FALSE(error) << "empty input is no error";
}

TEST(DataCompressorTest, ChunkByChunkMatchesOneCall) {
    std::string text = sample(30000);
    auto packed = DataCompressor::compressData(bytes(text), nullptr)->toString();
    for (size_t chunk : {1, 7, 16384}) {
        auto d = DataDecompressor::decompressor();
        std::string out;
        for (size_t at = 0; at < packed.size(); at += chunk) {
            base::Ref<base::Error> error;
            auto piece = d->uncompressBytes(reinterpret_cast<const uint8_t *>(packed.data()) + at,
                                            std::min(chunk, packed.size() - at), &error);
            ASSERT_FALSE(error) << chunk;
            if (piece)
                out += piece->toString();
        }
        EXPECT_TRUE(d->streamEnded());
        EXPECT_EQ(out, text) << chunk;
    }
    auto c = DataCompressor::compressor();
    std::string streamed;
    for (char ch : std::string("one byte at a time")) {
        auto piece = c->compressBytes(reinterpret_cast<const uint8_t *>(&ch), 1, nullptr, false);
        if (piece)
            streamed += piece->toString();
    }
    streamed += c->compressBytes(nullptr, 0, nullptr, true)->toString();
    EXPECT_EQ(DataDecompressor::uncompressData(bytes(streamed), nullptr)->toString(), "one byte at a time");
}

TEST(DataCompressorTest, GzipZlibAndTwoMembersInflateRawDeflateFails) {
    const std::string text = "the same words, the same words, the same words";
    EXPECT_EQ(DataDecompressor::uncompressData(bytes(deflated(text, 31)), nullptr)->toString(), text);
    EXPECT_EQ(DataDecompressor::uncompressData(bytes(deflated(text, 15)), nullptr)->toString(), text);
    EXPECT_EQ(
        DataDecompressor::uncompressData(bytes(deflated("ab", 31) + deflated("cd", 31)), nullptr)->toString(),
        "abcd");

    struct Case {
        const char *name;
        std::string body;
        const char *text;
    };
    std::string gzip = deflated(text, 31);
    std::string corrupt = gzip;
    corrupt[12] ^= 0x55;
    const Case cases[] = {
        {"raw deflate", deflated(text, -15), "Decompression of data failed with code -3"},
        {"corrupt", corrupt, "Decompression of data failed with code -3"},
        {"truncated", gzip.substr(0, gzip.size() - 6), "Decompression of data failed with code -5"},
    };
    for (const Case &c : cases) {
        base::Ref<base::Error> error;
        EXPECT_FALSE(DataDecompressor::uncompressData(bytes(c.body), &error)) << c.name;
        ASSERT_TRUE(error) << c.name;
        EXPECT_EQ(error->domain(), "HTTPRequestErrorDomain");
        EXPECT_EQ(error->code(), 11);
        EXPECT_EQ(error->localizedDescription(), c.text) << c.name;
    }
}

class GzipFilesTest : public ::testing::Test {
protected:
    void TearDown() override {
        for (auto &p : paths)
            std::filesystem::remove(p);
    }
    std::string path() { return paths.emplace_back(base::FileManager::uniqueTemporaryPath()); }
    std::vector<std::string> paths;
};

TEST_F(GzipFilesTest, RoundTripsFileToFileReadByAnIndependentGzipReader) {
    for (size_t n : {size_t(0), size_t(1), size_t(256 * 1024), size_t(512 * 1024), size_t(300000)}) {
        SCOPED_TRACE(n);
        std::string source = path(), packed = path(), back = path();
        std::string text = sample(n);
        std::ofstream(source, std::ios::binary) << text;
        base::Ref<base::Error> error;
        ASSERT_TRUE(DataCompressor::compressDataFromFile(source, packed, &error));
        // zlib's gz reader checks the trailer: a stream left unfinished reads as an error.
        gzFile gz = gzopen(packed.c_str(), "rb");
        std::string read(n + 16, '\0');
        int got = gzread(gz, read.data(), unsigned(read.size()));
        int closing = gzclose(gz);
        EXPECT_EQ(got, int(n));
        EXPECT_EQ(closing, Z_OK);
        read.resize(size_t(std::max(got, 0)));
        EXPECT_EQ(read, text);
        ASSERT_TRUE(DataDecompressor::uncompressDataFromFile(packed, back, &error));
        EXPECT_EQ(readFile(back), text);
    }
}

TEST_F(GzipFilesTest, FileFailuresCarryTheirTexts) {
    std::string missing = path(), out = path();
    base::Ref<base::Error> error;
    EXPECT_FALSE(DataCompressor::compressDataFromFile(missing, out, &error));
    EXPECT_EQ(error->localizedDescription(), "Compression of " + missing + " failed the file does not exist");
    EXPECT_TRUE(std::filesystem::exists(out)) << "the destination is left as an empty file";

    std::string source = path();
    std::ofstream(source) << "x";
    EXPECT_FALSE(DataDecompressor::uncompressDataFromFile(source, "/nonexistent-dir/out", &error));
    EXPECT_EQ(error->localizedDescription(),
              "Decompression of " + source +
                  " failed because we were to create a file at /nonexistent-dir/out");

    std::string gz = path();
    std::ofstream(gz, std::ios::binary) << deflated(sample(1000), 31).substr(0, 100);
    EXPECT_FALSE(DataDecompressor::uncompressDataFromFile(gz, out, &error));
    EXPECT_EQ(error->localizedDescription(), "Decompression of data failed with code -5");
}

} // namespace
