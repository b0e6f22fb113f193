#include "DataBase/WT/TradeRspData.h"

#include "base/Str.h"

void TradeRspData::clear() {
    m_dict.clear();
    m_successRsp = true;
}

std::string TradeRspData::tableKey(int n) {
    return "Table" + std::to_string(n);
}

std::optional<base::Array> TradeRspData::getRspArray(int n) const {
    const base::Value *table = m_dict.find(tableKey(n));
    if (!table || !table->array())
        return std::nullopt;
    return *table->array();
}

std::optional<base::Dict> TradeRspData::getRspInfoInArray() const {
    auto table = getRspArray();
    if (!table || table->empty() || !(*table)[0].dict())
        return std::nullopt;
    return *(*table)[0].dict();
}

std::optional<std::string> TradeRspData::getRspErrMsg() const {
    const base::Value *msg = m_dict.find("ErrMsg");
    if (!msg || !msg->string())
        return std::nullopt;
    return *msg->string();
}

namespace {

bool holdsMainAccount(const base::Array &table) {
    for (const base::Value &row : table) {
        const base::Value *currency = row.dict() ? row.dict()->find("1028") : nullptr;
        if (currency && base::str::toInt(currency->stringValue()) == 0)
            return base::str::toInt(row["1415"].stringValue()) == 1;
    }
    return false;
}

} // namespace

std::optional<base::Array> TradeRspData::getMainRspArray() const {
    for (int n = 0; m_dict.has(tableKey(n)); ++n) {
        auto table = getRspArray(n);
        if (table && holdsMainAccount(*table))
            return table;
    }
    return getRspArray();
}
