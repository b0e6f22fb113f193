#include "Class/Module/LoginModel/PhoneRegViewController/VerifyChannel.h"

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes str(const std::string &text) {
    Bytes out{uint8_t(text.size()), uint8_t(text.size() >> 8)};
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

Bytes packet(int type, const Bytes &body, std::optional<size_t> announced = std::nullopt) {
    size_t length = announced.value_or(body.size());
    Bytes out{123, uint8_t(type), uint8_t(type >> 8), 0, 0, uint8_t(length), uint8_t(length >> 8)};
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

Bytes join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes &part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

TEST(VerifyChannel, DecodesTheCheckCode) {
    struct Case {
        const char *coded, *phone, *code;
    } cases[] = {{"3132", "13800138000", "4849"},
                 {"31325", "13800138000", "4849"},
                 {"0A0B0C", "12", "11912"},
                 {"", "13800138000", ""},
                 {"3", "1", ""},
                 {"0a", "x", "10"}};
    for (const Case &c : cases)
        EXPECT_EQ(VerifyChannel::DecodeCheckNum(c.coded, c.phone), c.code) << c.coded << " " << c.phone;
}

TEST(VerifyChannel, RequestsCarryTheHeaderAndStrings) {
    base::Data init = VerifyChannel::initLoginPacket("30112345678901");
    Bytes body = join({str("2.00"), str("30112345678901"), str("ipad"), Bytes{0}});
    EXPECT_EQ(init.vector(), packet(1000, body));
    EXPECT_EQ(VerifyChannel::passwordPacket("13800138000").vector(), packet(1904, str("13800138000")));
}

TEST(VerifyChannel, PacketsAreCutFromTheirOwnLength) {
    Bytes reply = packet(1000, join({Bytes{1, 0}, str("127.0.0.1:9000")}));
    Bytes stream = join({packet(77, Bytes{1, 2, 3}), reply});
    auto first = VerifyChannel::nextPacket(stream);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->type, 77);
    EXPECT_EQ(first->body.size(), 3u);
    auto second = VerifyChannel::nextPacket(std::span(stream).subspan(10));
    ASSERT_TRUE(second);
    EXPECT_EQ(second->type, 1000);
    for (size_t cut = 0; cut < reply.size(); ++cut)
        EXPECT_FALSE(VerifyChannel::nextPacket(std::span(reply).first(cut))) << cut;
}

TEST(VerifyChannel, AddressReplies) {
    struct Case {
        const char *name;
        Bytes body;
        std::optional<std::pair<std::string, int>> address;
    } cases[] = {
        {"one", join({Bytes{1, 0}, str("10.0.0.2:8601")}), std::pair<std::string, int>{"10.0.0.2", 8601}},
        {"more follow", join({Bytes{2, 0}, str("h:1"), str("ignored")}), std::pair<std::string, int>{"h", 1}},
        {"none", Bytes{0, 0}, std::nullopt},
        {"count past the body", join({Bytes{2, 0}, str("h:1")}), std::nullopt},
        {"string past the body", join({Bytes{1, 0}, Bytes{20, 0}, Bytes{'h', ':', '1'}}), std::nullopt},
        {"no colon", join({Bytes{1, 0}, str("localhost")}), std::nullopt},
        {"port 0", join({Bytes{1, 0}, str("h:0")}), std::nullopt},
        {"port too big", join({Bytes{1, 0}, str("h:65536")}), std::nullopt},
        {"port not a number", join({Bytes{1, 0}, str("h:80a")}), std::nullopt},
        {"no count", Bytes{1}, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        auto address = VerifyChannel::readAddress(c.body);
        ASSERT_EQ(address.has_value(), c.address.has_value());
        if (address) {
            EXPECT_EQ(address->host, c.address->first);
            EXPECT_EQ(address->port, c.address->second);
        }
    }
}

TEST(VerifyChannel, PasswordRepliesStayInTheirBody) {
    Bytes good = join({Bytes{1}, str("123456")});
    auto reply = VerifyChannel::readPassword(good);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->result, 1);
    EXPECT_EQ(reply->text, "123456");
    // The next packet's bytes follow in the buffer, but the body ends before the string does.
    Bytes stream = join({packet(1904, Bytes{1, 6, 0, '1'}), packet(1904, good)});
    auto cut = VerifyChannel::nextPacket(stream);
    ASSERT_TRUE(cut);
    EXPECT_FALSE(VerifyChannel::readPassword(cut->body));
    EXPECT_FALSE(VerifyChannel::readPassword(Bytes{}));
    EXPECT_FALSE(VerifyChannel::readPassword(Bytes{1}));
}

} // namespace
