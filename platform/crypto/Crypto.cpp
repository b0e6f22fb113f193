#include "Crypto.h"

#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/provider.h>
#include <zlib.h>

#include <algorithm>
#include <climits>
#include <memory>

namespace crypto {

namespace {

using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)>;

std::optional<base::Data> run(const EVP_CIPHER *cipher, bool encrypt, const uint8_t *key, const uint8_t *iv,
                              bool padding, const base::Data &input) {
    if (input.length() > size_t(INT_MAX) - 32)
        return std::nullopt;
    CipherContext ctx(EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
    if (!ctx || EVP_CipherInit_ex(ctx.get(), cipher, nullptr, key, iv, encrypt ? 1 : 0) != 1)
        return std::nullopt;
    EVP_CIPHER_CTX_set_padding(ctx.get(), padding ? 1 : 0);
    base::Data out;
    out.resize(input.length() + 32);
    int written = 0, last = 0;
    if (EVP_CipherUpdate(ctx.get(), out.mutableBytes(), &written, input.bytes(), int(input.length())) != 1 ||
        EVP_CipherFinal_ex(ctx.get(), out.mutableBytes() + written, &last) != 1)
        return std::nullopt;
    out.resize(size_t(written + last));
    return out;
}

} // namespace

std::optional<base::Data> aesCbcPkcs7(bool encrypt, const base::Data &key32, const base::Data *iv16,
                                      const base::Data &input) {
    if (key32.length() != 32 || (iv16 && iv16->length() != 16))
        return std::nullopt;
    static const uint8_t zeros[16] = {};
    return run(EVP_aes_256_cbc(), encrypt, key32.bytes(), iv16 ? iv16->bytes() : zeros, true, input);
}

std::optional<base::Data> aesEcb128(bool encrypt, const uint8_t key[16], const base::Data &input) {
    if (input.length() % 16 != 0)
        return std::nullopt;
    return run(EVP_aes_128_ecb(), encrypt, key, nullptr, false, input);
}

base::Data md5(const void *bytes, size_t length) {
    base::Data out;
    out.resize(16);
    unsigned int size = 0;
    EVP_Digest(bytes, length, out.mutableBytes(), &size, EVP_md5(), nullptr);
    return out;
}

std::string md5Hex(const void *bytes, size_t length) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (uint8_t b : md5(bytes, length).vector()) {
        out += hex[b >> 4];
        out += hex[b & 15];
    }
    return out;
}

std::optional<base::Data> md4(const void *bytes, size_t length) {
    // MD4 lives only in the legacy provider; a context of our own keeps it away from the process's
    // default algorithm choices.
    static EVP_MD *digest = [] {
        OSSL_LIB_CTX *context = OSSL_LIB_CTX_new();
        if (!context || !OSSL_PROVIDER_load(context, "legacy"))
            return static_cast<EVP_MD *>(nullptr);
        return EVP_MD_fetch(context, "MD4", nullptr);
    }();
    if (!digest)
        return std::nullopt;
    base::Data out;
    out.resize(16);
    unsigned int size = 0;
    if (EVP_Digest(bytes, length, out.mutableBytes(), &size, digest, nullptr) != 1)
        return std::nullopt;
    return out;
}

base::Data hmacMd5(const base::Data &key, const base::Data &data) {
    base::Data out;
    out.resize(16);
    unsigned int size = 0;
    HMAC(EVP_md5(), key.bytes(), int(key.length()), data.bytes(), data.length(), out.mutableBytes(), &size);
    return out;
}

std::optional<base::Data> uncompress(const void *bytes, size_t length, size_t limit) {
    if (length > ULONG_MAX || limit >= ULONG_MAX)
        return std::nullopt;
    base::Data out;
    // One spare byte tells a stream that makes more than the limit from one that fits exactly.
    out.resize(limit + 1);
    uLongf produced = uLongf(out.length());
    int rc = ::uncompress(out.mutableBytes(), &produced, static_cast<const Bytef *>(bytes), uLong(length));
    if (rc != Z_OK || produced > limit)
        return std::nullopt;
    out.resize(produced);
    return out;
}

std::optional<base::Data> gunzip(const void *bytes, size_t length, size_t limit) {
    z_stream z{};
    // 15-bit window, and 32 added: zlib recognises the gzip or zlib header by itself.
    if (inflateInit2(&z, 15 + 32) != Z_OK)
        return std::nullopt;
    base::Data out;
    auto in = static_cast<const uint8_t *>(bytes);
    size_t left = length;
    uint8_t chunk[16384];
    int rc = Z_OK;
    while (rc != Z_STREAM_END) {
        if (z.avail_in == 0 && left > 0) {
            z.next_in = const_cast<Bytef *>(in);
            z.avail_in = uInt(std::min<size_t>(left, UINT_MAX));
            in += z.avail_in;
            left -= z.avail_in;
        }
        z.next_out = chunk;
        z.avail_out = sizeof chunk;
        rc = inflate(&z, Z_NO_FLUSH);
        size_t made = sizeof chunk - z.avail_out;
        // A stream cut short ends in Z_BUF_ERROR: no input left and no progress.
        if ((rc != Z_OK && rc != Z_STREAM_END) || out.length() + made > limit) {
            inflateEnd(&z);
            return std::nullopt;
        }
        out.append(chunk, made);
    }
    inflateEnd(&z);
    return out;
}

uint32_t crc32(const void *bytes, size_t length, uint32_t initial) {
    uLong crc = initial;
    auto p = static_cast<const Bytef *>(bytes);
    while (length > 0) {
        uInt chunk = length > UINT_MAX ? UINT_MAX : uInt(length);
        crc = ::crc32(crc, p, chunk);
        p += chunk;
        length -= chunk;
    }
    return uint32_t(crc);
}

} // namespace crypto
