#include "MessageTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

class StartupMessagesTest : public MessageLayerTest {
protected:
    Bytes stringBytes(std::string_view text) {
        base::Data data;
        ComAPI::WriteString(data, text);
        return bytesOf(data);
    }
    const base::Value power(size_t bit) { return center->IO_AccountPowerArray()[bit]; }
};

TEST_F(StartupMessagesTest, NavigationRequestBody) {
    center->RequestServerAddress({});
    ASSERT_EQ(coordinator->records.size(), 1u);
    const base::Data &data = coordinator->records[0].data;
    EXPECT_EQ(Bytes(data.bytes(), data.bytes() + 5), (Bytes{0x7B, 0xE8, 0x03, 0x00, 0x00}));
    EXPECT_EQ(center->deviceID().substr(0, 3), "219");
    Bytes body = concat({stringBytes("6.00"), stringBytes(center->deviceID()), stringBytes("ipad"), {0}});
    EXPECT_EQ(onlyRequestBody(), body);
    EXPECT_EQ(data.bytes()[5], body.size());
}

TEST_F(StartupMessagesTest, ServerListsAndUpgradeNotice) {
    Body reply;
    reply.shortValue(2).string("10.0.0.1:8001").string("10.0.0.2:8002");
    reply.shortValue(1).string("10.0.0.9:9000");
    reply.string("欢迎").string("2.1.0").string("http://example.invalid/app").byte(1).byte(1);
    center->ParseServerAddress(replyFrame(1000, reply.data).span());
    const IndexServerINF &inf = *center->IO_IndexServerINF;
    EXPECT_EQ(inf.serverAddrlist, (std::vector<std::string>{"10.0.0.1:8001", "10.0.0.2:8002"}));
    EXPECT_EQ(inf.wtserverAddrlist, (std::vector<std::string>{"10.0.0.9:9000"}));
    EXPECT_EQ(inf.loginnews, "欢迎");
    EXPECT_EQ(inf.newverno, "2.1.0");
    EXPECT_EQ(inf.downloadaddrs, "http://example.invalid/app");
    EXPECT_TRUE(inf.isupdate);
    EXPECT_TRUE(inf.isforceupdate);

    // Without its flag bytes a reply leaves no update pending from the one before.
    Body noFlags;
    noFlags.shortValue(0).shortValue(-1).string("").string("2.2").string("");
    center->ParseServerAddress(replyFrame(1000, noFlags.data).span());
    EXPECT_TRUE(inf.serverAddrlist.empty());
    EXPECT_TRUE(inf.wtserverAddrlist.empty());
    EXPECT_EQ(inf.newverno, "2.2");
    EXPECT_FALSE(inf.isupdate);
    EXPECT_FALSE(inf.isforceupdate);
}

TEST_F(StartupMessagesTest, ShortAndEmptyServerListReplies) {
    // Five servers announced, two present: the list holds what was read.
    Body shortReply;
    shortReply.shortValue(5).string("a:1").string("b:2");
    center->ParseServerAddress(replyFrame(1000, shortReply.data).span());
    EXPECT_EQ(center->IO_IndexServerINF->serverAddrlist, (std::vector<std::string>{"a:1", "b:2"}));
    EXPECT_EQ(center->IO_IndexServerINF->newverno, "");

    center->IO_IndexServerINF->newverno = "old";
    center->ParseServerAddress(replyFrame(1000, {}).span());
    EXPECT_TRUE(center->IO_IndexServerINF->serverAddrlist.empty());
    EXPECT_EQ(center->IO_IndexServerINF->newverno, "");
}

TEST_F(StartupMessagesTest, LoginRequestStoresTheAccountAndForgetsTheSession) {
    center->ParseUserInf(replyFrame(2936, Body().byte(0).longLong(99).longLong(3).shortValue(0).data).span());
    center->RequestUserInf({}, "张三", "pw1");
    EXPECT_EQ(center->IO_L2UserName, "张三");
    EXPECT_EQ(center->IO_L2Password, "pw1");
    EXPECT_FALSE(center->IO_L2LoginSuccess);
    EXPECT_EQ(onlyRequestBody(), concat({{0, 0, 0, 0, 0, 0}, stringBytes("张三"), stringBytes("pw1")}));
    coordinator->records.clear();
    center->RequestHeartBeat();
    EXPECT_TRUE(coordinator->records.empty());
}

TEST_F(StartupMessagesTest, LoginResultsAndTheirTips) {
    struct Case {
        int result;
        bool accepted;
        const char *tip;
    };
    const Case cases[] = {
        {0, true, "登陆成功"},
        {6, true, "登陆成功"},
        {7, true, "登陆成功"},
        {9, true, "登陆成功"},
        {1, false, "手机号码不存在"},
        {2, false, "密码或者用户名错误"},
        {3, false, "用户没有该权限"},
        {4, false, "帐户异常"},
        {5, false, "其它原因的错误"},
        {8, false, "账户已经过期"},
        {10, false, "账户登陆成功，帐户为免费用户"},
        {11, false, nullptr},
        {255, false, nullptr},
    };
    for (const Case &c : cases) {
        coordinator->tips.clear();
        coordinator->records.clear();
        Body reply;
        reply.byte(c.result).longLong(42).longLong(0x7FFF).shortValue(0).shortValue(0);
        center->ParseUserInf(replyFrame(2936, reply.data).span());
        EXPECT_EQ(center->IO_L2LoginSuccess, c.accepted) << c.result;
        EXPECT_EQ(coordinator->tips, c.tip ? std::vector<std::string>{c.tip} : std::vector<std::string>{})
            << c.result;
        ASSERT_EQ(center->IO_AccountPowerArray().size(), 15u);
        EXPECT_EQ(power(14)["IsValid"].boolValue(), c.accepted) << c.result;
        EXPECT_FALSE(power(0)["PowerName"].stringValue().empty());
        EXPECT_EQ(power(0)["ValidDate"].stringValue(), "--");
        // Only an accepted login leaves a session for the heartbeat.
        center->RequestHeartBeat();
        EXPECT_EQ(coordinator->records.size(), c.accepted ? 1u : 0u) << c.result;
    }
}

TEST_F(StartupMessagesTest, AReplyWithoutAResultIsNoAcceptance) {
    center->ParseUserInf(replyFrame(2936, {}).span());
    EXPECT_FALSE(center->IO_L2LoginSuccess);
    EXPECT_TRUE(coordinator->tips.empty());
    center->RequestHeartBeat();
    EXPECT_TRUE(coordinator->records.empty());
}

TEST_F(StartupMessagesTest, ServiceEndDatesFromTheValidityWords) {
    // Word 0x218D298C: from 2012-03-05 to 2013-03-04. Bit 0 and 2 granted, bit 1 not; bit 2 has a
    // word whose end date is empty.
    Body reply;
    reply.byte(0)
        .longLong(1)
        .longLong(0b101)
        .shortValue(3)
        .intValue(0x218D298C)
        .intValue(0x218D298C)
        .intValue(0x0000298C);
    center->ParseUserInf(replyFrame(2936, reply.data).span());
    EXPECT_EQ(power(0)["ValidDate"].stringValue(), "2013-03-04");
    EXPECT_TRUE(power(0)["IsValid"].boolValue());
    EXPECT_EQ(power(1)["ValidDate"].stringValue(), "--");
    EXPECT_FALSE(power(1)["IsValid"].boolValue());
    EXPECT_EQ(power(2)["ValidDate"].stringValue(), "--");
    EXPECT_TRUE(power(2)["IsValid"].boolValue());
    EXPECT_EQ(power(3)["ValidDate"].stringValue(), "--");
}

TEST_F(StartupMessagesTest, ManyValidityWordsAndFewBytes) {
    Body seventy;
    seventy.byte(0).longLong(1).longLong(-1).shortValue(70);
    for (int i = 0; i < 70; ++i)
        seventy.intValue(0x218D298C);
    seventy.shortValue(0);
    center->ParseUserInf(replyFrame(2936, seventy.data).span());
    EXPECT_EQ(power(14)["ValidDate"].stringValue(), "2013-03-04");

    // 65,535 words announced and one present.
    Body cut;
    cut.byte(0).longLong(1).longLong(-1).shortValue(0xFFFF).intValue(0x218D298C);
    center->ParseUserInf(replyFrame(2936, cut.data).span());
    EXPECT_EQ(power(0)["ValidDate"].stringValue(), "2013-03-04");
    EXPECT_EQ(power(1)["ValidDate"].stringValue(), "--");
}

TEST_F(StartupMessagesTest, HeartbeatOnlyWithASession) {
    center->RequestHeartBeat();
    EXPECT_TRUE(coordinator->records.empty());
    center->ParseUserInf(replyFrame(2936, Body().byte(0).longLong(-2).longLong(0).data).span());
    center->RequestHeartBeat();
    EXPECT_EQ(coordinator->records[0].reqType, 2925);
    EXPECT_EQ(onlyRequestBody(), (Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(StartupMessagesTest, AccountErrorTexts) {
    const std::pair<int, std::string> cases[] = {
        {1, "很抱歉，该账号已从其他位置登陆。\n若非您本人所为，则您的密码可能已经被盗。请立即登陆 "},
        {2, "很抱歉，账号异常，请重新登陆！"},
        {7, "很抱歉，账号异常(错误代码:7)，请重新登陆！"},
        {-3, "很抱歉，账号异常(错误代码:-3)，请重新登陆！"},
    };
    for (const auto &[reason, text] : cases) {
        center->IO_L2LoginSuccess = true;
        std::string shown = center->ParseAccountError(replyFrame(2907, Body().byte(reason).data).span());
        EXPECT_EQ(shown.substr(0, text.size()), text) << reason;
        EXPECT_FALSE(center->IO_L2LoginSuccess);
    }
    std::string stolen = center->ParseAccountError(replyFrame(2907, Body().byte(1).data).span());
    EXPECT_NE(stolen.find("/login.jsp 修改密码！"), std::string::npos);
}

TEST_F(StartupMessagesTest, RecommendAFriend) {
    center->RequestRecommUser({}, "u1", "139");
    EXPECT_EQ(onlyRequestBody(), concat({stringBytes("u1"), {1, 0}, stringBytes("139")}));
    center->ParseRecommUser(replyFrame(2908, Body().byte(200).data).span());
    EXPECT_EQ(center->IO_RecommUserStatu, 200);
}

TEST_F(StartupMessagesTest, ServerDate) {
    center->RequestServerTime({});
    EXPECT_EQ(coordinator->records[0].reqType, 2963);
    EXPECT_TRUE(onlyRequestBody().empty());
    Body reply;
    reply.shortValue(2012).byte(6).byte(8).byte(9).byte(30).byte(0);
    center->ParseServerTime(replyFrame(2963, reply.data).span());
    EXPECT_EQ(center->IO_ServerDate, 20120608);
    center->ParseServerTime(replyFrame(2963, {}).span());
    EXPECT_EQ(center->IO_ServerDate, 20120608);
}

// Entries of the product tree: name, two skipped bytes, has-children flag, count or class id.
Body &entry(Body &body, std::string_view name, bool children, int value) {
    return body.string(name).byte(0).byte(0).byte(children ? 1 : 0).shortValue(value);
}

Body treeRoot(bool rootHasChildren, int count) {
    Body body;
    body.shortValue(0).string("root").shortValue(0).byte(rootHasChildren ? 1 : 0).shortValue(count);
    return body;
}

TEST_F(StartupMessagesTest, ProductTreeNumbersEntriesDepthFirst) {
    center->RequestMerchandiseMenu({});
    EXPECT_EQ(coordinator->records[0].reqType, 2937);
    EXPECT_TRUE(onlyRequestBody().empty());

    Body tree = treeRoot(true, 2);
    entry(tree, "能源", true, 3);
    entry(tree, "原油", false, 11);
    entry(tree, "燃油", false, 12);
    entry(tree, "沥青", false, 0xFFFF);
    entry(tree, "黄金", false, 20);
    center->ParseProdClass(replyFrame(2937, tree.data).span());

    const base::Array &list = center->IO_ProdClassList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["MENU_NAME"].stringValue(), "能源");
    EXPECT_EQ(list[0]["MENU_ID"].stringValue(), "MENU_PRODUCT_1");
    EXPECT_TRUE(list[0]["HasSubMenu"].boolValue());
    EXPECT_TRUE(list[0]["CLASS_ID"].isNull());
    const base::Value children = list[0]["SUB_MENU_ARRAY"];
    ASSERT_TRUE(children.array());
    ASSERT_EQ(children.array()->size(), 3u);
    EXPECT_EQ(children[0]["MENU_ID"].stringValue(), "MENU_PRODUCT_2");
    EXPECT_EQ(children[0]["CLASS_ID"].intValue(), 11);
    EXPECT_EQ(children[2]["MENU_ID"].stringValue(), "MENU_PRODUCT_4");
    EXPECT_EQ(children[2]["CLASS_ID"].intValue(), -1);
    EXPECT_FALSE(children[2]["HasSubMenu"].boolValue());
    EXPECT_EQ(list[1]["MENU_ID"].stringValue(), "MENU_PRODUCT_5");
    EXPECT_EQ(list[1]["CLASS_ID"].intValue(), 20);
    EXPECT_TRUE(list[1]["SUB_MENU_ARRAY"].isNull());
}

TEST_F(StartupMessagesTest, ProductTreesThatYieldNothing) {
    Body leaf = treeRoot(true, 1);
    entry(leaf, "黄金", false, 20);
    center->ParseProdClass(replyFrame(2937, leaf.data).span());
    ASSERT_EQ(center->IO_ProdClassList().size(), 1u);

    Body flat = treeRoot(false, 1);
    entry(flat, "黄金", false, 20);
    center->ParseProdClass(replyFrame(2937, flat.data).span());
    EXPECT_TRUE(center->IO_ProdClassList().empty());

    center->ParseProdClass(replyFrame(2937, leaf.data).span());
    center->ParseProdClass(replyFrame(2937, {}).span());
    EXPECT_TRUE(center->IO_ProdClassList().empty());
}

TEST_F(StartupMessagesTest, ProductTreeCountsAreBoundedByTheBytes) {
    Body tree = treeRoot(true, 0xFFFF);
    entry(tree, "黄金", false, 20);
    center->ParseProdClass(replyFrame(2937, tree.data).span());
    EXPECT_EQ(center->IO_ProdClassList().size(), 1u);
}

TEST_F(StartupMessagesTest, AProductTreeNestedBeyondAnyRealDepthIsRefused) {
    // Each level one entry with one child: thousands of levels fit in one frame.
    Body tree = treeRoot(true, 1);
    for (int i = 0; i < 9000; ++i)
        entry(tree, "", true, 1);
    center->ParseProdClass(replyFrame(2937, tree.data).span());
    EXPECT_TRUE(center->IO_ProdClassList().empty());

    Body deepButReal = treeRoot(true, 1);
    for (int i = 0; i < 5; ++i)
        entry(deepButReal, "级", true, 1);
    entry(deepButReal, "品种", false, 7);
    center->ParseProdClass(replyFrame(2937, deepButReal.data).span());
    ASSERT_EQ(center->IO_ProdClassList().size(), 1u);
    base::Value level = center->IO_ProdClassList()[0];
    for (int i = 0; i < 5; ++i)
        level = level["SUB_MENU_ARRAY"][0];
    EXPECT_EQ(level["CLASS_ID"].intValue(), 7);
    EXPECT_EQ(level["MENU_ID"].stringValue(), "MENU_PRODUCT_6");
}

} // namespace
