#include "net/Ntlm.h"
#include "net/HttpAuthentication.h"

#include <gtest/gtest.h>

namespace {

base::Data hex(const std::string &text) {
    base::Data out;
    for (size_t i = 0; i + 1 < text.size(); i += 2) {
        uint8_t b = uint8_t(std::stoi(text.substr(i, 2), nullptr, 16));
        out.append(&b, 1);
    }
    return out;
}

std::string hexOf(const base::Data &data) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t b : data.vector()) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

// The NTLMv2 example of the protocol's published documentation: user "User", domain "Domain",
// password "Password", server challenge 0123456789abcdef, client challenge aa…aa, time 0.
const char *const publishedChallenge =
    "4e544c4d53535000020000000c000c003800000033828ae20123456789abcdef00000000000000002400240044000000"
    "060070170000000f53006500720076006500720002000c0044006f006d00610069006e0001000c005300650072007600"
    "6500720000000000";

TEST(NtlmTest, NtlmV2AnswersThePublishedExample) {
    auto challenge = net::Ntlm::parseChallenge(hex(publishedChallenge));
    ASSERT_TRUE(challenge);
    EXPECT_EQ(challenge->flags, 0xe28a8233u);
    EXPECT_EQ(hexOf(base::Data(challenge->serverChallenge.data(), 8)), "0123456789abcdef");
    EXPECT_EQ(hexOf(challenge->targetInfo),
              "02000c0044006f006d00610069006e0001000c0053006500720076006500720000000000");

    auto key = net::Ntlm::ntowfv2("User", "Password", "Domain");
    ASSERT_TRUE(key) << "MD4 comes from OpenSSL's legacy provider";
    EXPECT_EQ(hexOf(*key), "0c868a403bfd7a93a3001ef22ef02e3f");
    net::Ntlm::Challenge8 client;
    client.fill(0xaa);
    auto answer = net::Ntlm::responses(*key, challenge->serverChallenge, client, 0, challenge->targetInfo);
    EXPECT_EQ(hexOf(answer.lm), "86c35097ac9cec102554764a57cccc19aaaaaaaaaaaaaaaa");
    EXPECT_EQ(hexOf(answer.nt.subdata(0, 16)), "68cd0ab851e51c96aabc927bebef6a1c");

    // The answer message carries those responses, the domain and the user in UTF-16LE.
    auto message = net::Ntlm::authenticateMessage(*challenge, "User", "Password", "Domain", client, 0);
    ASSERT_TRUE(message);
    const uint8_t *p = message->bytes();
    auto field = [&](size_t at) {
        size_t length = p[at] | p[at + 1] << 8, offset = p[at + 4] | p[at + 5] << 8;
        return message->subdata(offset, length);
    };
    EXPECT_EQ(p[8], 3);
    EXPECT_EQ(field(12), answer.lm);
    EXPECT_EQ(field(20), answer.nt);
    EXPECT_EQ(hexOf(field(28)), "44006f006d00610069006e00");
    EXPECT_EQ(hexOf(field(36)), "5500730065007200");
}

TEST(NtlmTest, MalformedChallengesAreRefused) {
    base::Data whole = hex(publishedChallenge);
    EXPECT_FALSE(net::Ntlm::parseChallenge(whole.subdata(0, 20))) << "too short";
    base::Data wrongType = whole;
    wrongType.mutableBytes()[8] = 1;
    EXPECT_FALSE(net::Ntlm::parseChallenge(wrongType));
    EXPECT_FALSE(net::Ntlm::parseChallenge(whole.subdata(0, whole.length() - 1)))
        << "target information beyond the end";
}

TEST(NtlmTest, HandshakeRunsNegotiationThenAnswer) {
    auto first = net::HttpMessage::response();
    for (const char *line :
         {"HTTP/1.1 401 x", "WWW-Authenticate: Basic realm=\"r\"", "WWW-Authenticate: NTLM", ""})
        first->addResponseLine(line);
    auto auth = net::HttpAuthentication::fromResponse(*first, false);
    ASSERT_TRUE(auth);
    EXPECT_EQ(auth->method(), "NTLM");
    EXPECT_TRUE(auth->needsAccountDomain());
    auto request = net::HttpMessage::request("GET", *base::Url::parse("http://h/"), false);
    ASSERT_TRUE(auth->apply(*request, "User", "Password", "Domain"));
    auto negotiate = base::Data::fromBase64(request->header("Authorization")->substr(5));
    ASSERT_TRUE(negotiate);
    EXPECT_EQ((*negotiate).bytes()[8], 1);

    auto second = net::HttpMessage::response();
    second->addResponseLine("HTTP/1.1 401 x");
    second->addResponseLine("WWW-Authenticate: NTLM " + hex(publishedChallenge).base64());
    second->addResponseLine("");
    ASSERT_TRUE(auth->takeChallenge(*second));
    ASSERT_TRUE(auth->apply(*request, "User", "Password", "Domain"));
    auto answer = base::Data::fromBase64(request->header("Authorization")->substr(5));
    ASSERT_TRUE(answer);
    EXPECT_EQ((*answer).bytes()[8], 3);

    auto basicAgain = net::HttpMessage::response();
    basicAgain->addResponseLine("HTTP/1.1 401 x");
    basicAgain->addResponseLine("WWW-Authenticate: Basic realm=\"r\"");
    basicAgain->addResponseLine("");
    EXPECT_FALSE(auth->takeChallenge(*basicAgain));
}

} // namespace
