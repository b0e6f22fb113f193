#pragma once

#include "base/Data.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace net {

// The three NTLM messages of one handshake, answered with NTLMv2 only (never the weaker LM or
// NTLMv1 responses). HttpAuthentication sends the negotiation, reads the server's challenge from
// its second 401 or 407 and answers it; the hashes come from OpenSSL (MD4 through its legacy
// provider, HMAC-MD5). Names and passwords are UTF-8 and travel as UTF-16LE.
class Ntlm {
public:
    using Challenge8 = std::array<uint8_t, 8>;

    // What the server's challenge message carries.
    struct Challenge {
        uint32_t flags = 0;
        Challenge8 serverChallenge{};
        // The server's attribute-value list, echoed inside the answer.
        base::Data targetInfo;
    };

    // The LMv2 and NTLMv2 responses of an answer.
    struct Responses {
        base::Data lm, nt;
    };

    // The negotiation message (type 1): Unicode, NTLM with extended session security, no domain
    // or workstation named.
    static base::Data negotiateMessage();

    // Reads a challenge message (type 2); nothing when it is not one or its target information
    // lies outside it.
    static std::optional<Challenge> parseChallenge(const base::Data &message);

    // NTOWFv2: HMAC-MD5 under MD4(password) of the upper-cased user name and the domain. Nothing
    // when MD4 is not available or a text is not valid UTF-8.
    static std::optional<base::Data> ntowfv2(const std::string &user, const std::string &password,
                                             const std::string &domain);

    // The responses for a challenge; `timestamp` is Windows file time (100 ns since 1601).
    static Responses responses(const base::Data &ntowfv2, const Challenge8 &serverChallenge,
                               const Challenge8 &clientChallenge, uint64_t timestamp,
                               const base::Data &targetInfo);

    // The answer (type 3) to `challenge` for the account; the client challenge is random and the
    // time is the server's when its target information names one, else now. Nothing when the
    // hashes cannot be made.
    static std::optional<base::Data> authenticateMessage(const Challenge &challenge, const std::string &user,
                                                         const std::string &password,
                                                         const std::string &domain);

    // The same with a chosen client challenge and time (published examples).
    static std::optional<base::Data>
    authenticateMessage(const Challenge &challenge, const std::string &user, const std::string &password,
                        const std::string &domain, const Challenge8 &clientChallenge, uint64_t timestamp);

    static constexpr uint32_t negotiateUnicode = 0x00000001;
    static constexpr uint32_t requestTarget = 0x00000004;
    static constexpr uint32_t negotiateNtlm = 0x00000200;
    static constexpr uint32_t alwaysSign = 0x00008000;
    static constexpr uint32_t extendedSessionSecurity = 0x00080000;
    static constexpr uint32_t negotiateTargetInfo = 0x00800000;
};

} // namespace net
