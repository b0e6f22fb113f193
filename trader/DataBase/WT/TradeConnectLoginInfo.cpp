#include "DataBase/WT/TradeConnectLoginInfo.h"

#include "DataBase/WT/TradeCipher.h"

TradeConnectLoginInfo::~TradeConnectLoginInfo() {
    wipeSecret(mobileCheckNum.data(), mobileCheckNum.size());
}

void TradeConnectLoginInfo::Clear() {
    wipeSecret(mobileCheckNum.data(), mobileCheckNum.size());
    securitiesName.clear();
    mobile.clear();
    mobileCheckNum.clear();
    areaName.clear();
    departmentName.clear();
    departmentCode.clear();
    accountType.clear();
    account.clear();
    isSaveAccount.clear();
    addressArray.clear();
    connectIndex = -1;
    isConnecting = false;
    isDisconnecting = false;
    checkSuccess = false;
}
