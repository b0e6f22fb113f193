#include "peers/AuthPeer.h"

#include "peers/PeerSocket.h"

#include "base/Data.h"
#include "base/Encoding.h"
#include "base/Str.h"
#include "crypto/Crypto.h"

#include <map>

namespace peers {

namespace {

std::string md5(const std::string &text) {
    return base::str::lower(crypto::md5Hex(text.data(), text.size()));
}

// "name=value, name="quoted, value"" into a map.
std::map<std::string, std::string> digestParams(const std::string &text) {
    std::map<std::string, std::string> out;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && (text[i] == ' ' || text[i] == ','))
            ++i;
        size_t eq = text.find('=', i);
        if (eq == std::string::npos)
            break;
        std::string name = base::str::lower(base::str::trim(text.substr(i, eq - i)));
        std::string value;
        i = eq + 1;
        if (i < text.size() && text[i] == '"') {
            size_t close = text.find('"', i + 1);
            value = text.substr(i + 1, close - i - 1);
            i = close == std::string::npos ? text.size() : close + 1;
        } else {
            size_t comma = text.find(',', i);
            value = base::str::trim(text.substr(i, comma - i));
            i = comma == std::string::npos ? text.size() : comma;
        }
        out[name] = value;
    }
    return out;
}

uint16_t le16(const std::string &m, size_t at) {
    return uint16_t(uint8_t(m[at]) | uint8_t(m[at + 1]) << 8);
}

uint32_t le32(const std::string &m, size_t at) {
    return uint32_t(le16(m, at)) | uint32_t(le16(m, at + 2)) << 16;
}

// A security buffer of an NTLM message: length at `at`, offset four bytes on.
std::string field(const std::string &m, size_t at) {
    if (m.size() < at + 8)
        return {};
    size_t length = le16(m, at), offset = le32(m, at + 4);
    return offset + length <= m.size() ? m.substr(offset, length) : std::string();
}

std::string utf16(const std::string &text) {
    return base::encode(text, base::Encoding::Utf16LE).value_or(base::Data()).toString();
}

std::string hmac(const std::string &key, const std::string &data) {
    return crypto::hmacMd5(base::Data::fromString(key), base::Data::fromString(data)).toString();
}

// The target information sent with each challenge: the domain, the server's name, the end.
std::string targetInfo(const std::string &domain) {
    auto pair = [](uint16_t id, const std::string &value) {
        std::string out{char(id), char(id >> 8), char(value.size()), char(value.size() >> 8)};
        return out + value;
    };
    return pair(2, utf16(domain)) + pair(1, utf16("PEER")) + std::string(4, '\0');
}

std::string reply(const std::string &status, const std::string &extraHeader, const std::string &body) {
    return "HTTP/1.1 " + status + "\r\n" + extraHeader + "Content-Length: " + std::to_string(body.size()) +
           "\r\n\r\n" + body;
}

} // namespace

AuthPeer::AuthPeer(Scheme scheme, Account account)
    : scheme_(scheme), account_(std::move(account)),
      nonce_(md5(std::to_string(reinterpret_cast<uintptr_t>(this)) + "nonce")) {}

std::string AuthPeer::url(const std::string &path) const {
    return "http://127.0.0.1:" + std::to_string(port()) + path;
}

void AuthPeer::serve(int fd) {
    Connection connection;
    std::string pending, head, body;
    while (!listener_.stopping() && readRequest(fd, listener_.wakeFd(), pending, head, body))
        if (!sendAll(fd, answer(head, connection)))
            return;
}

std::string AuthPeer::challenge(const std::string &value) const {
    return reply("401 Unauthorized", "WWW-Authenticate: " + value + "\r\n", "");
}

std::string AuthPeer::answer(const std::string &head, Connection &connection) {
    const std::string method = head.substr(0, head.find(' '));
    const size_t targetStart = method.size() + 1;
    const std::string target = head.substr(targetStart, head.find(' ', targetStart) - targetStart);
    const std::string authorization = headerValue(head, "Authorization");
    const size_t space = authorization.find(' ');
    const std::string scheme = base::str::lower(authorization.substr(0, space));
    const std::string credentials = space == std::string::npos ? "" : authorization.substr(space + 1);
    if (scheme_ == Digest) {
        if (scheme == "digest")
            return digestAnswer(method, target, credentials);
        return challenge("Digest realm=\"" + std::string(realm) + "\", nonce=\"" + nonce_ +
                         "\", qop=\"auth\", opaque=\"peer-opaque\"");
    }
    if (scheme == "ntlm")
        return ntlmAnswer(base::Data::fromBase64(credentials).value_or(base::Data()).toString(), connection);
    connection.serverChallenge.clear();
    return challenge("NTLM");
}

std::string AuthPeer::digestAnswer(const std::string &method, const std::string &target,
                                   const std::string &credentials) {
    auto p = digestParams(credentials);
    const std::string ha1 = md5(account_.user + ":" + realm + ":" + account_.password);
    const std::string ha2 = md5(method + ":" + target);
    const std::string expected =
        md5(ha1 + ":" + nonce_ + ":" + p["nc"] + ":" + p["cnonce"] + ":" + p["qop"] + ":" + ha2);
    if (p["username"] == account_.user && p["realm"] == realm && p["nonce"] == nonce_ && p["uri"] == target &&
        p["qop"] == "auth" && p["opaque"] == "peer-opaque" && p["response"] == expected) {
        ++verified_;
        return reply("200 OK", "", "welcome");
    }
    ++rejected_;
    return challenge("Digest realm=\"" + std::string(realm) + "\", nonce=\"" + nonce_ + "\", qop=\"auth\"");
}

std::string AuthPeer::ntlmAnswer(const std::string &message, Connection &connection) {
    if (message.size() < 12 || message.compare(0, 8, std::string("NTLMSSP\0", 8)) != 0)
        return challenge("NTLM");
    const uint32_t type = le32(message, 8);
    if (type == 1) {
        connection.serverChallenge = md5(nonce_ + std::to_string(verified_ + rejected_)).substr(0, 8);
        const std::string info = targetInfo(account_.domain);
        std::string m("NTLMSSP\0", 8);
        auto put32 = [&m](uint32_t v) {
            for (int i = 0; i < 4; ++i)
                m += char(v >> (8 * i));
        };
        put32(2);
        put32(0); // no target name: length and room
        put32(48);
        put32(0x00000001 | 0x00000200 | 0x00080000 | 0x00800000);
        m += connection.serverChallenge;
        m += std::string(8, '\0');
        put32(uint32_t(info.size()) | uint32_t(info.size()) << 16);
        put32(48);
        m += info;
        return challenge("NTLM " + base::Data::fromString(m).base64());
    }
    // The answer must come on the connection that was challenged, and prove the password.
    const std::string nt = field(message, 20), domain = field(message, 28), user = field(message, 36);
    bool good = type == 3 && !connection.serverChallenge.empty() && nt.size() > 16 &&
                domain == utf16(account_.domain) && user == utf16(account_.user);
    if (good) {
        const auto md4 = crypto::md4(utf16(account_.password).data(), utf16(account_.password).size());
        const std::string key =
            hmac(md4 ? md4->toString() : "", utf16(base::str::upper(account_.user) + account_.domain));
        const std::string blob = nt.substr(16);
        good = hmac(key, connection.serverChallenge + blob) == nt.substr(0, 16) &&
               blob.find(targetInfo(account_.domain).substr(0, 8)) != std::string::npos;
    }
    connection.serverChallenge.clear();
    if (!good) {
        ++rejected_;
        return challenge("NTLM");
    }
    ++verified_;
    return reply("200 OK", "", "welcome");
}

} // namespace peers
