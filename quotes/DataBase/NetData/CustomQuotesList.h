#pragma once

#include "DataBase/NetData/StockQuoteInf.h"

#include <string>
#include <vector>

// The quotes of a fixed list of codes.
class CustomQuotesList : public base::Object {
public:
    // One code and its latest quote.
    struct QuoteDic {
        std::string code;
        base::Ref<StockQuoteInf> basicInf;
    };

    std::vector<std::string> codeArray;
    std::vector<base::Ref<StockQuoteInf>> rspQuotesArray;
    std::vector<base::Ref<QuoteDic>> dataArray;

    // Appends an entry per code, its quote a placeholder named by the code (existing entries stay).
    void loadFromCodes();
    // Puts every received quote into the entry of its code; quotes of other codes are dropped.
    void loadQuotes();
    base::Ref<QuoteDic> getQuoteDic(const std::string &code) const;
};
