#pragma once

#include "DataBase/WT/WTTrader.h"

#include "base/Object.h"

#include <string>

// The record of one trade session as the connection and the login screens see it: the broker and
// the addresses being tried, the mobile and check code of the phone check, the choices of the login
// form, and the connection's progress flags. Owned by the trade connection; emptied by `Clear` when
// a connect sequence starts and when a disconnect is asked for.
//
// The addresses are held by reference count: the quote layer may rebuild its broker table while a
// session runs, and the failure flags set here must stay on the records being tried.
class TradeConnectLoginInfo : public base::Object {
public:
    TradeConnectLoginInfo() = default;
    ~TradeConnectLoginInfo() override;
    TradeConnectLoginInfo(const TradeConnectLoginInfo &) = delete;
    TradeConnectLoginInfo &operator=(const TradeConnectLoginInfo &) = delete;

    // Back to the empty session: texts empty (the check code wiped), no addresses, index -1, flags
    // cleared.
    void Clear();

    std::string securitiesName;
    std::string mobile;
    // Never logged; wiped by Clear.
    std::string mobileCheckNum;
    std::string areaName;
    std::string departmentName;
    std::string departmentCode;
    std::string accountType;
    std::string account;
    std::string isSaveAccount;
    WTTraderAddressList addressArray;
    int connectIndex = -1;
    bool isConnecting = false;
    bool isDisconnecting = false;
    bool checkSuccess = false;
};
