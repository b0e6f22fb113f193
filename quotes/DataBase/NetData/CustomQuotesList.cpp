#include "DataBase/NetData/CustomQuotesList.h"

void CustomQuotesList::loadFromCodes() {
    for (const auto &code : codeArray) {
        auto placeholder = base::make<StockQuoteInf>();
        placeholder->code = code;
        placeholder->name = code;
        dataArray.push_back(base::make<QuoteDic>(QuoteDic{code, placeholder}));
    }
}

void CustomQuotesList::loadQuotes() {
    for (const auto &quote : rspQuotesArray)
        if (quote)
            if (auto entry = getQuoteDic(quote->code))
                entry->basicInf = quote;
}

base::Ref<CustomQuotesList::QuoteDic> CustomQuotesList::getQuoteDic(const std::string &code) const {
    for (const auto &entry : dataArray)
        if (entry->code == code)
            return entry;
    return nullptr;
}
