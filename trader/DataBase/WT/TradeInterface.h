#pragma once

#include <string>

// Code-to-name tables of the trading side.
class TradeInterface {
public:
    // Account type (field 1021) to its name; empty text for an unknown type.
    static std::string getAccountTypeName(int type);
    // Account type to its exchange, "SZ" or "SH"; empty text for the others.
    static std::string getExchangeStr(int type);
    // Currency (field 1028) to its name; "--" for an unknown one.
    static std::string getCurrencyName(int currency);
    // Transfer password rule to its description; "--" for an unknown one.
    static std::string getTransferPswTypeName(int type);
};

// Date conversions between the shown form yyyy-MM-dd and the request form yyyyMMdd.
class TradeUtil {
public:
    // Removes every "-".
    static std::string getRequestDate(const std::string &date);
    // yyyyMMdd as yyyy-MM-dd; any other text (not eight ASCII characters) is returned unchanged.
    static std::string getDisplayDate(const std::string &date);
};
