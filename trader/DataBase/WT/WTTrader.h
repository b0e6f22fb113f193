#pragma once

#include "base/Object.h"
#include "base/Value.h"

#include <string>
#include <vector>

// One server address of a broker.
class WTTraderAddress : public base::Object {
public:
    const std::string &address() const { return m_address; }
    void setAddress(std::string address) { m_address = std::move(address); }
    int port() const { return m_port; }
    void setPort(int port) { m_port = port; }
    int tradeType() const { return m_tradeType; }
    void setTradeType(int type) { m_tradeType = type; }
    // 1 trade gateway, 2 quote server.
    int addressType() const { return m_addressType; }
    void setAddressType(int type) { m_addressType = type; }
    // A connect attempt to this address failed; kept until a new connect sequence clears it.
    bool connectFail() const { return m_connectFail; }
    void setConnectFail(bool fail) { m_connectFail = fail; }

private:
    std::string m_address;
    int m_port = 0;
    int m_tradeType = 0;
    int m_addressType = 0;
    bool m_connectFail = false;
};

using WTTraderAddressList = std::vector<base::Ref<WTTraderAddress>>;

// One broker of the broker table. The address records are shared, so a failure flag set through
// one list is seen through every list that holds the record.
class WTTrader : public base::Object {
public:
    const std::string &name() const { return m_name; }
    void setName(std::string name) { m_name = std::move(name); }
    // The broker's index letter in the broker list.
    const std::string &searchKey() const { return m_searchKey; }
    void setSearchKey(std::string key) { m_searchKey = std::move(key); }
    // Attribute id in decimal text to a number.
    const base::Dict &attributeList() const { return m_attributeList; }
    void setAttributeList(base::Dict attributes) { m_attributeList = std::move(attributes); }
    // Trade gateway addresses (type 1) and quote server addresses (type 2), in table order.
    const WTTraderAddressList &addressList() const { return m_addressList; }
    void setAddressList(WTTraderAddressList list) { m_addressList = std::move(list); }
    const WTTraderAddressList &addressHQList() const { return m_addressHQList; }
    void setAddressHQList(WTTraderAddressList list) { m_addressHQList = std::move(list); }
    // The login form's lists, cached once loaded; shared by reference.
    base::Array &areaDepArray() { return m_areaDepArray; }
    void setAreaDepArray(base::Array list) { m_areaDepArray = std::move(list); }
    base::Array &accountTypeArray() { return m_accountTypeArray; }
    void setAccountTypeArray(base::Array list) { m_accountTypeArray = std::move(list); }
    // "YES" when the login form needs an area and branch choice, else "NO".
    const std::string &needSelectDep() const { return m_needSelectDep; }
    void setNeedSelectDep(std::string value) { m_needSelectDep = std::move(value); }

private:
    std::string m_name;
    std::string m_searchKey;
    base::Dict m_attributeList;
    WTTraderAddressList m_addressList;
    WTTraderAddressList m_addressHQList;
    base::Array m_areaDepArray;
    base::Array m_accountTypeArray;
    std::string m_needSelectDep;
};
