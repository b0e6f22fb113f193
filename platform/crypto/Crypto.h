#pragma once

#include "base/Data.h"

#include <cstdint>
#include <optional>
#include <string>

namespace crypto {

// AES-256-CBC with PKCS#7 padding. The key must be 32 bytes; a missing IV is all zeros.
// Nothing on any failure (wrong key size, bad padding), never a partial result.
std::optional<base::Data> aesCbcPkcs7(bool encrypt, const base::Data &key32, const base::Data *iv16,
                                      const base::Data &input);

// AES-128-ECB without padding over whole 16-byte blocks; nothing when the input is not whole blocks.
std::optional<base::Data> aesEcb128(bool encrypt, const uint8_t key[16], const base::Data &input);

// The 16-byte MD5 digest, and the same as 32 upper-case hex digits.
base::Data md5(const void *bytes, size_t length);
std::string md5Hex(const void *bytes, size_t length);

// The 16-byte MD4 digest (from OpenSSL's legacy provider, loaded into a context of its own);
// nothing when that provider is not installed.
std::optional<base::Data> md4(const void *bytes, size_t length);

// HMAC-MD5 of `data` under `key` (16 bytes).
base::Data hmacMd5(const base::Data &key, const base::Data &data);

// Inflates a zlib stream that makes at most `limit` bytes; nothing when the stream is damaged or
// makes more.
std::optional<base::Data> uncompress(const void *bytes, size_t length, size_t limit);

// Inflates a gzip stream (or, by its header, a zlib stream) that makes at most `limit` bytes;
// nothing when the stream is damaged, cut short or makes more.
std::optional<base::Data> gunzip(const void *bytes, size_t length, size_t limit);

// zlib's CRC-32 (IEEE).
uint32_t crc32(const void *bytes, size_t length, uint32_t initial = 0);

} // namespace crypto
