#pragma once

#include "base/Object.h"
#include "base/Value.h"

#include <optional>
#include <string>

// The parsed trade reply: one shared object, emptied and refilled for every reply. Requesters read
// it while their reply callback runs and copy what they keep.
// Keys of `dict`: "Ver", "TotalNum", "FuncID", "ErrCode", "ErrMsg" (texts), "TableCount" (a number),
// "Table0", "Table1", … (arrays of row dictionaries, tag text to value text) and the tag text of
// every other top-level field.
class TradeRspData : public base::Object {
public:
    // Empties the reply and sets the success flag.
    void clear();

    base::Dict &dict() { return m_dict; }
    const base::Dict &dict() const { return m_dict; }
    bool successRsp() const { return m_successRsp; }
    void setSuccessRsp(bool success) { m_successRsp = success; }

    // "Table0", or the table of the given number; nothing when absent.
    std::optional<base::Array> getRspArray() const { return getRspArray(0); }
    std::optional<base::Array> getRspArray(int n) const;
    // The first row of "Table0", or nothing when that table is absent or empty.
    std::optional<base::Dict> getRspInfoInArray() const;
    std::optional<std::string> getRspErrMsg() const;
    // The table whose first renminbi row (currency "1028" 0) is the main money account ("1415" 1),
    // tables visited from "Table0" on; "Table0" when none is.
    std::optional<base::Array> getMainRspArray() const;

    // "Table%d" of n.
    static std::string tableKey(int n);

private:
    base::Dict m_dict;
    bool m_successRsp = true;
};
