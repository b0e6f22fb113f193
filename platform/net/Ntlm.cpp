#include "net/Ntlm.h"

#include "base/Encoding.h"
#include "base/Str.h"
#include "crypto/Crypto.h"

#include <openssl/rand.h>

#include <chrono>
#include <cstring>

namespace net {

namespace {

constexpr char signature[] = "NTLMSSP";
constexpr uint16_t avEnd = 0, avTimestamp = 7;
// Seconds from 1601-01-01 (Windows file time) to 1970-01-01.
constexpr uint64_t fileTimeEpochOffset = 11644473600ull;

void put16(base::Data &out, uint16_t v) {
    uint8_t b[2] = {uint8_t(v), uint8_t(v >> 8)};
    out.append(b, 2);
}

void put32(base::Data &out, uint32_t v) {
    uint8_t b[4] = {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
    out.append(b, 4);
}

void put64(base::Data &out, uint64_t v) {
    put32(out, uint32_t(v));
    put32(out, uint32_t(v >> 32));
}

uint16_t get16(const uint8_t *p) {
    return uint16_t(p[0] | p[1] << 8);
}

uint32_t get32(const uint8_t *p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

base::Data header(uint32_t type) {
    base::Data out;
    out.append(signature, sizeof signature);
    put32(out, type);
    return out;
}

std::optional<base::Data> text(const std::string &utf8, bool unicode) {
    if (!unicode)
        return base::Data::fromString(utf8);
    return base::encode(utf8, base::Encoding::Utf16LE);
}

base::Data concat(std::initializer_list<const base::Data *> parts) {
    base::Data out;
    for (auto *part : parts)
        out.append(*part);
    return out;
}

base::Data bytes(const Ntlm::Challenge8 &c) {
    return base::Data(c.data(), c.size());
}

// The server's time from its target information, when it names one.
std::optional<uint64_t> serverTime(const base::Data &targetInfo) {
    const uint8_t *p = targetInfo.bytes();
    for (size_t at = 0; at + 4 <= targetInfo.length();) {
        uint16_t id = get16(p + at), length = get16(p + at + 2);
        if (id == avEnd || at + 4 + length > targetInfo.length())
            break;
        if (id == avTimestamp && length == 8)
            return uint64_t(get32(p + at + 4)) | uint64_t(get32(p + at + 8)) << 32;
        at += 4 + size_t(length);
    }
    return std::nullopt;
}

uint64_t fileTimeNow() {
    auto since1970 = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::system_clock::now().time_since_epoch());
    return (uint64_t(since1970.count()) + fileTimeEpochOffset * 1000000) * 10;
}

} // namespace

base::Data Ntlm::negotiateMessage() {
    base::Data out = header(1);
    put32(out, negotiateUnicode | requestTarget | negotiateNtlm | alwaysSign | extendedSessionSecurity);
    // Empty domain and workstation fields: length, room and offset all 0.
    put64(out, 0);
    put64(out, 0);
    return out;
}

std::optional<Ntlm::Challenge> Ntlm::parseChallenge(const base::Data &message) {
    const uint8_t *p = message.bytes();
    const size_t size = message.length();
    if (size < 32 || std::memcmp(p, signature, sizeof signature) != 0 || get32(p + 8) != 2)
        return std::nullopt;
    Challenge challenge;
    challenge.flags = get32(p + 20);
    std::memcpy(challenge.serverChallenge.data(), p + 24, 8);
    if (size >= 48) {
        const size_t length = get16(p + 40), offset = get32(p + 44);
        if (offset > size || length > size - offset)
            return std::nullopt;
        challenge.targetInfo = base::Data(p + offset, length);
    }
    return challenge;
}

std::optional<base::Data> Ntlm::ntowfv2(const std::string &user, const std::string &password,
                                        const std::string &domain) {
    auto secret = base::encode(password, base::Encoding::Utf16LE);
    auto identity = base::encode(base::str::upper(user) + domain, base::Encoding::Utf16LE);
    if (!secret || !identity)
        return std::nullopt;
    auto key = crypto::md4(secret->bytes(), secret->length());
    if (!key)
        return std::nullopt;
    return crypto::hmacMd5(*key, *identity);
}

Ntlm::Responses Ntlm::responses(const base::Data &ntowfv2, const Challenge8 &serverChallenge,
                                const Challenge8 &clientChallenge, uint64_t timestamp,
                                const base::Data &targetInfo) {
    const base::Data server = bytes(serverChallenge), client = bytes(clientChallenge);
    // The client's blob: version 1.1, six reserved bytes, the time, the client challenge, four
    // reserved bytes, the server's target information and four more.
    base::Data blob;
    const uint8_t version[8] = {1, 1, 0, 0, 0, 0, 0, 0};
    blob.append(version, sizeof version);
    put64(blob, timestamp);
    blob.append(client);
    put32(blob, 0);
    blob.append(targetInfo);
    put32(blob, 0);
    Responses out;
    out.nt = crypto::hmacMd5(ntowfv2, concat({&server, &blob}));
    out.nt.append(blob);
    out.lm = crypto::hmacMd5(ntowfv2, concat({&server, &client}));
    out.lm.append(client);
    return out;
}

std::optional<base::Data> Ntlm::authenticateMessage(const Challenge &challenge, const std::string &user,
                                                    const std::string &password, const std::string &domain) {
    Challenge8 client;
    RAND_bytes(client.data(), int(client.size()));
    return authenticateMessage(challenge, user, password, domain, client,
                               serverTime(challenge.targetInfo).value_or(fileTimeNow()));
}

std::optional<base::Data> Ntlm::authenticateMessage(const Challenge &challenge, const std::string &user,
                                                    const std::string &password, const std::string &domain,
                                                    const Challenge8 &clientChallenge, uint64_t timestamp) {
    const bool unicode = challenge.flags & negotiateUnicode;
    auto key = ntowfv2(user, password, domain);
    auto userText = text(user, unicode), domainText = text(domain, unicode);
    if (!key || !userText || !domainText)
        return std::nullopt;
    Responses answer =
        responses(*key, challenge.serverChallenge, clientChallenge, timestamp, challenge.targetInfo);
    // A server that sends its time expects no LMv2 response (all zeros instead).
    if (serverTime(challenge.targetInfo))
        answer.lm = base::Data(std::string(24, '\0').data(), 24);

    constexpr uint32_t headerSize = 64;
    const base::Data workstation;
    const base::Data *payload[] = {&answer.lm, &answer.nt, &*domainText, &*userText, &workstation};
    base::Data out = header(3);
    uint32_t offset = headerSize;
    for (const base::Data *field : payload) {
        put16(out, uint16_t(field->length()));
        put16(out, uint16_t(field->length()));
        put32(out, offset);
        offset += uint32_t(field->length());
    }
    // No session key.
    put16(out, 0);
    put16(out, 0);
    put32(out, offset);
    const uint32_t flags = (unicode ? negotiateUnicode : 0) | requestTarget | negotiateNtlm | alwaysSign |
                           (challenge.flags & (extendedSessionSecurity | negotiateTargetInfo));
    put32(out, flags);
    for (const base::Data *field : payload)
        out.append(*field);
    return out;
}

} // namespace net
