#include "FamiliesTestSupport.h"

#include "DataBase/WT/WTTrader.h"

namespace {

struct Address {
    std::string host;
    int port, tradeType, type;
};

struct Broker {
    std::string name;
    int key;
    std::vector<std::pair<int, int>> attributes;
    std::vector<Address> addresses;
};

Body brokerTable(int16_t checksum, const std::vector<Broker> &brokers) {
    Body body;
    body.i16(checksum).i16(int32_t(brokers.size()));
    for (const Broker &b : brokers) {
        body.str(b.name).i8(b.key).i16(int32_t(b.attributes.size()));
        for (auto [key, value] : b.attributes)
            body.i8(key).i8(value);
        body.i16(int32_t(b.addresses.size()));
        for (const Address &a : b.addresses)
            body.str(a.host).i16(a.port).i8(a.tradeType).i8(a.type);
    }
    return body;
}

std::vector<std::string> names(const std::vector<base::Ref<WTTrader>> &brokers) {
    std::vector<std::string> result;
    for (const auto &broker : brokers)
        result.push_back(broker->name());
    return result;
}

class BrokersTest : public FamilyTest {};

TEST_F(BrokersTest, AttributeFiveDecidesWhetherABrokerIsOffered) {
    Bytes frame = brokerTable(1, {{"off", 'A', {{5, 0}}, {}},
                                  {"on", 'A', {{5, 1}}, {}},
                                  {"plain", 'B', {{3, 0}}, {}},
                                  {"none", 'B', {}, {}},
                                  {"other", 'C', {{5, 2}, {7, 9}}, {}}})
                      .frame(1003);
    center->ParseSecuritiesAddressInfo(frame);
    EXPECT_EQ(names(center->IO_SecuritiesAddressArray()), (std::vector<std::string>{"on", "plain", "none"}));
    auto plain = center->getSecuritiesAddressInfo("plain");
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->attributeList().get("3").intValue(), 0);
    EXPECT_EQ(plain->searchKey(), "B");
    for (const auto &section : center->IO_SecuritiesTableArray()) {
        base::Array brokers = *section["SubArray"].array();
        for (const auto &broker : brokers)
            EXPECT_NE(broker.objectAs<WTTrader>()->name(), "off");
    }
}

TEST_F(BrokersTest, AddressesGoByTypeWithUnsignedPorts) {
    Bytes frame =
        brokerTable(
            1,
            {{"b", 'A', {}, {{"10.0.0.1", 7708, 1, 1}, {"10.0.0.2", 40000, 0, 2}, {"10.0.0.3", 80, 0, 3}}}})
            .frame(1003);
    center->ParseSecuritiesAddressInfo(frame);
    auto broker = center->getSecuritiesAddressInfo("b");
    ASSERT_TRUE(broker);
    ASSERT_EQ(broker->addressList().size(), 1u);
    ASSERT_EQ(broker->addressHQList().size(), 1u);
    EXPECT_EQ(broker->addressList()[0]->address(), "10.0.0.1");
    EXPECT_EQ(broker->addressList()[0]->port(), 7708);
    EXPECT_EQ(broker->addressList()[0]->tradeType(), 1);
    EXPECT_EQ(broker->addressHQList()[0]->port(), 40000);
    EXPECT_EQ(broker->addressHQList()[0]->addressType(), 2);
}

TEST_F(BrokersTest, SectionsByIndexLetterSortedByTitle) {
    Bytes frame = brokerTable(1, {{"z1", 'Z', {}, {}},
                                  {"a1", 'A', {}, {}},
                                  {"x", 0, {}, {}},
                                  {"a2", 'A', {}, {}},
                                  {"high", 0xC8, {}, {}}})
                      .frame(1003);
    center->ParseSecuritiesAddressInfo(frame);
    const base::Array &sections = center->IO_SecuritiesTableArray();
    ASSERT_EQ(sections.size(), 3u);
    std::vector<std::string> titles;
    for (const auto &section : sections)
        titles.push_back(section["Title"].stringValue());
    EXPECT_EQ(titles, (std::vector<std::string>{"A", "Z", "其它"}));
    base::Array letterA = *sections[0]["SubArray"].array();
    ASSERT_EQ(letterA.size(), 2u);
    EXPECT_EQ(letterA[0].objectAs<WTTrader>()->name(), "a1");
    EXPECT_EQ(letterA[1].objectAs<WTTrader>()->name(), "a2");
    EXPECT_EQ(sections[2]["SubArray"].array()->size(), 2u);
}

TEST_F(BrokersTest, LookUpByNameGivesTheFirst) {
    center->ParseSecuritiesAddressInfo(
        brokerTable(1, {{"same", 'A', {{1, 1}}, {}}, {"same", 'B', {{1, 2}}, {}}}).frame(1003));
    EXPECT_EQ(center->getSecuritiesAddressInfo("same")->searchKey(), "A");
    EXPECT_FALSE(center->getSecuritiesAddressInfo("nobody"));
}

TEST_F(BrokersTest, EmptyReplyKeepsTheTableButCountsAsAnswered) {
    center->ParseSecuritiesAddressInfo(brokerTable(1, {{"kept", 'K', {}, {}}}).frame(1003));
    center->IO_GetSecuritiesAddressRsp = false;
    center->ParseSecuritiesAddressInfo(emptyFrame(1003));
    EXPECT_TRUE(center->IO_GetSecuritiesAddressRsp);
    EXPECT_EQ(names(center->IO_SecuritiesAddressArray()), std::vector<std::string>{"kept"});
}

TEST_F(BrokersTest, ATableCutShortOrOverAnnouncedStopsAtItsEnd) {
    Bytes full = brokerTable(1, {{"a", 'A', {}, {{"h", 1, 1, 1}}}, {"b", 'B', {}, {}}}).bytes();
    Body claimsMore;
    claimsMore.i16(1).i16(30000).raw(Bytes(full.begin() + 4, full.end()));
    center->ReadTradeAddressInfo(claimsMore.data.span(), 0);
    EXPECT_EQ(names(center->IO_SecuritiesAddressArray()), (std::vector<std::string>{"a", "b"}));

    Body hugeAttributes;
    hugeAttributes.i16(1).i16(1).str("c").i8('C').i16(32767).i8(5).i8(1);
    center->ReadTradeAddressInfo(hugeAttributes.data.span(), 0);
    EXPECT_EQ(names(center->IO_SecuritiesAddressArray()), std::vector<std::string>{"c"});
}

TEST_F(BrokersTest, TheStoredTableIsLoadedAndItsChecksumSentWithTheRequest) {
    center->ParseSecuritiesAddressInfo(brokerTable(1234, {{"kept", 'K', {}, {}}}).frame(1003));

    auto restarted = NetDataCenter::create();
    restarted->theDelegate = coordinator;
    EXPECT_TRUE(restarted->IO_SecuritiesAddressArray().empty());
    restarted->RequestSecuritiesAddressInfo({});
    EXPECT_EQ(lastType(), 1003);
    EXPECT_EQ(lastBody(), (Bytes{0x04, 0x00, 0xD2, 0x04}));
    EXPECT_FALSE(lastRecord().reqParams);
    EXPECT_EQ(names(restarted->IO_SecuritiesAddressArray()), std::vector<std::string>{"kept"});
    EXPECT_FALSE(restarted->IO_GetSecuritiesAddressRsp);

    // An empty reply leaves the stored table as it is.
    restarted->ParseSecuritiesAddressInfo(emptyFrame(1003));
    restarted->RequestSecuritiesAddressInfo({});
    EXPECT_EQ(lastBody(), (Bytes{0x04, 0x00, 0xD2, 0x04}));
}

} // namespace
