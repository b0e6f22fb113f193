#include "Module/NavToolBarModule/SearchMyStockPopover/StockSearchRule.h"

#include "DataBase/DataBase.h"

#include <algorithm>
#include <vector>

namespace {

std::string asciiUpper(std::string text) {
    for (char &c : text)
        if (c >= 'a' && c <= 'z')
            c = char(c - 'a' + 'A');
    return text;
}

std::string searchKey(const std::string &text, bool trimmed) {
    if (!trimmed)
        return asciiUpper(text);
    constexpr const char *blanks = " \t\r\n\v\f";
    size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(blanks);
    return asciiUpper(text.substr(first, last - first + 1));
}

// The score of a security for a key without "$": 0 when it does not match.
int score(const std::string &key, const std::string &code, const std::string &pinyin) {
    if (code == key || pinyin == key)
        return 100;
    if (key.empty())
        return 0;
    size_t at = code.find(key);
    if (at == std::string::npos)
        at = pinyin.find(key);
    return at == std::string::npos ? 0 : 99 - int(at);
}

} // namespace

base::Array StockSearchRule::search(const std::string &text, const base::Array &codeLib, Settings settings) {
    struct Hit {
        base::Dict entry;
        int order;
    };
    std::string key = searchKey(text, settings.trimmed);
    bool byFullCode = key.find('$') != std::string::npos;
    std::vector<Hit> hits;
    for (const base::Value &market : codeLib) {
        std::string title = market["title"].stringValue();
        base::Value stocks = market["Lib"];
        if (!stocks.array())
            continue;
        for (const base::Value &stock : *stocks.array()) {
            if (hits.size() >= settings.maxAccepted)
                break;
            std::string code = stock["SCode"].stringValue();
            int order = byFullCode && hits.empty()
                            ? ("$" + title + code == key ? 100 : 0)
                            : score(key, asciiUpper(code), asciiUpper(stock["SPinY"].stringValue()));
            if (order < 1)
                continue;
            hits.push_back({base::Dict{{"market", title},
                                       {"numCode", code},
                                       {"code", title + code},
                                       {"name", stock["SName"].stringValue()},
                                       {"order", order}},
                            order});
        }
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.order > b.order; });
    base::Array rows;
    for (size_t i = 0; i < hits.size() && i < settings.maxResults; ++i)
        rows.add(hits[i].entry);
    return rows;
}

base::Array StockSearchRule::search(const std::string &text, Settings settings) {
    const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
    return search(text, layer ? layer->IO_MktStockCodeLib : base::Array(), settings);
}
