// The broker table: the securities firms a user can trade with and their gateway and quote
// addresses. The raw table is kept in a file so that it is at hand before the reply comes and the
// server can skip sending an unchanged one.
#include "DataBase/NetData/NetDataCenter.h"

#include "DataBase/NTDataPageHead.h"
#include "DataBase/WT/WTTrader.h"
#include "Module/StockDataBaseMgnt/LocalFileFunc/LocalFileFunc.h"
#include "base/Str.h"

#include <algorithm>

namespace {

constexpr int BrokerTableType = 1003;
constexpr int BrokerTableVersion = 4;
// A broker whose attribute 5 is anything but 1 is not offered.
constexpr const char *OfferedAttribute = "5";
constexpr int64_t Offered = 1;
constexpr int TradeGateway = 1;
constexpr int QuoteAddress = 2;
// The section of brokers without an index letter.
constexpr const char *OtherTitle = "其它";

// The index letter as a one-character text; a byte that is no character gives none.
std::string searchKeyText(uint8_t byte) {
    if (byte == 0 || byte >= 0x80)
        return {};
    return std::string(1, char(byte));
}

base::Ref<WTTraderAddress> readAddress(ByteView bytes, uint32_t &pos) {
    auto address = base::make<WTTraderAddress>();
    address->setAddress(ComAPI::ReadString(bytes, pos));
    address->setPort(int(ComAPI::ReadNum(bytes, pos, 2)));
    address->setTradeType(ComAPI::ReadByte(bytes, pos));
    address->setAddressType(ComAPI::ReadByte(bytes, pos));
    return address;
}

// One broker entry; null when the broker is not offered.
base::Ref<WTTrader> readBroker(ByteView bytes, uint32_t &pos) {
    auto trader = base::make<WTTrader>();
    trader->setName(ComAPI::ReadString(bytes, pos));
    trader->setSearchKey(searchKeyText(uint8_t(ComAPI::ReadByte(bytes, pos))));
    base::Dict attributes;
    int16_t attributeCount = ComAPI::ReadShort(bytes, pos);
    ComAPI::ReadRows(bytes, pos, attributeCount, [&](int64_t) {
        int key = ComAPI::ReadByte(bytes, pos);
        int value = ComAPI::ReadByte(bytes, pos);
        attributes.set(base::str::format("%d", key), value);
    });
    WTTraderAddressList gateways;
    WTTraderAddressList quoteAddresses;
    int16_t addressCount = ComAPI::ReadShort(bytes, pos);
    ComAPI::ReadRows(bytes, pos, addressCount, [&](int64_t) {
        auto address = readAddress(bytes, pos);
        if (address->addressType() == TradeGateway)
            gateways.push_back(address);
        else if (address->addressType() == QuoteAddress)
            quoteAddresses.push_back(address);
    });
    bool offered =
        !attributes.has(OfferedAttribute) || attributes.get(OfferedAttribute).intValue() == Offered;
    trader->setAttributeList(attributes);
    trader->setAddressList(std::move(gateways));
    trader->setAddressHQList(std::move(quoteAddresses));
    return offered ? trader : nullptr;
}

} // namespace

void NetDataCenter::RequestSecuritiesAddressInfo(const QuoteRequester &requester) {
    int16_t checksum = 0;
    if (std::optional<base::Data> cached = LocalFileFunc::readTradeAddressInfo()) {
        ReadTradeAddressInfo(cached->span(), 0);
        checksum = m_securitiesTableCRC;
    }
    base::Data body;
    ComAPI::WriteShort(body, BrokerTableVersion);
    ComAPI::WriteShort(body, checksum);
    sendRequest(BrokerTableType, body, requester);
}

void NetDataCenter::ParseSecuritiesAddressInfo(ByteView frame) {
    IO_GetSecuritiesAddressRsp = true;
    if (IsEmptyPack(frame))
        return;
    LocalFileFunc::saveTradeAddressInfo(frame.subspan(NTDataPageHead::Size));
    ReadTradeAddressInfo(frame, NTDataPageHead::Size);
}

void NetDataCenter::ReadTradeAddressInfo(ByteView bytes, uint32_t pos) {
    m_securitiesAddressArray.clear();
    m_securitiesTableCRC = ComAPI::ReadShort(bytes, pos);
    int16_t count = ComAPI::ReadShort(bytes, pos);
    ComAPI::ReadRows(bytes, pos, count, [&](int64_t) {
        if (auto trader = readBroker(bytes, pos))
            m_securitiesAddressArray.push_back(trader);
    });
    MakeSecuritiesTableArray();
}

base::Ref<WTTrader> NetDataCenter::getSecuritiesAddressInfo(const std::string &name) const {
    for (const auto &trader : m_securitiesAddressArray)
        if (trader->name() == name)
            return trader;
    return nullptr;
}

void NetDataCenter::MakeSecuritiesTableArray() {
    std::vector<std::pair<std::string, base::Array>> sections;
    for (const auto &trader : m_securitiesAddressArray) {
        std::string title = trader->searchKey().empty() ? OtherTitle : trader->searchKey();
        auto section = std::find_if(sections.begin(), sections.end(),
                                    [&](const auto &candidate) { return candidate.first == title; });
        if (section == sections.end())
            section = sections.insert(sections.end(), {title, base::Array()});
        section->second.add(trader);
    }
    std::stable_sort(sections.begin(), sections.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    m_securitiesTableArray = base::Array();
    for (const auto &[title, brokers] : sections)
        m_securitiesTableArray.add(base::Dict{{"Title", title}, {"SubArray", brokers}});
}
