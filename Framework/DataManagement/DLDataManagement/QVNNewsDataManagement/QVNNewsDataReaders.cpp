// The readers of the news host's documents: each turns a completed body into the records of its
// request type in "RspData", or leaves "RspData" without a result.
#include "DataManagement/DLDataManagement/QVNNewsDataManagement/QVNNewsDataManagement.h"

#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"

#include "Common/Util_Json/Util_Json.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsColumnItemInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsContentInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsSummaryInfo.h"

#include <array>
#include <cctype>

namespace {

using Interface = QVNNewsDataInterface;
using Fetcher = QVNNewsDataManagement;

std::string text(const base::Value &object, std::string_view key) {
    return Util_Json::strValueForKey(key, object);
}

// The first element of the document when the document is an array and that element an object.
std::optional<base::Value> topObject(const std::optional<std::string> &body) {
    std::optional<base::Array> document = body ? Util_Json::parseToArray(*body) : std::nullopt;
    if (!document || document->empty() || !(*document)[0].dict())
        return std::nullopt;
    return (*document)[0];
}

// The header's "error" read as a number is 0 (also when the header or its "error" is missing).
bool reportsNoError(const base::Value &top) {
    const base::Value header = top["header"];
    return !header.dict() || header["error"].intValue() == 0;
}

base::Ref<NewsListItemInfo> listItem(const base::Value &object) {
    auto item = base::make<NewsListItemInfo>();
    item->otime = text(object, "otime");
    item->source = text(object, "source");
    item->summary = text(object, "summary");
    item->title = text(object, "title");
    item->url = text(object, "url");
    return item;
}

// One record per object of the array, in order; elements that are not objects are skipped.
template <class Make> base::Array records(const base::Array &elements, Make make) {
    base::Array out;
    for (const base::Value &element : elements)
        if (element.dict())
            out.add(make(element));
    return out;
}

void readColumns(const base::Value &top, base::Dict &rsp) {
    const base::Value data = top["data"];
    if (!reportsNoError(top) || !data.array())
        return;
    rsp.set(Fetcher::RspArray, records(*data.array(), [](const base::Value &object) {
                auto column = base::make<NewsColumnItemInfo>();
                column->cnName = text(object, "name");
                column->lisrUrl = text(object, "url");
                return column;
            }));
}

void readTopLines(const base::Value &top, base::Dict &rsp) {
    const base::Value data = top["data"];
    const base::Value list = data["textlist"];
    if (!reportsNoError(top) || !data.dict() || !list.array())
        return;
    rsp.set(Fetcher::RspArray, records(*list.array(), [](const base::Value &object) {
                auto headline = base::make<NewsSummaryInfo>();
                headline->date = text(object, "odate");
                headline->time = text(object, "otime");
                headline->summary = text(object, "summary");
                headline->title = text(object, "title");
                headline->url = text(object, "url");
                return headline;
            }));
}

void readList(const base::Value &top, base::Dict &rsp) {
    auto list = base::make<NewsListInfo>();
    if (const base::Value header = top["header"]; header.dict()) {
        list->first = text(header, "first");
        list->next = text(header, "next");
        list->last = text(header, "last");
    }
    if (const base::Value data = top["data"]; data.array())
        for (const base::Value &element : *data.array())
            if (element.dict())
                list->addNewsListItem(listItem(element));
    rsp.set(Fetcher::RspNewsListInfo, list);
}

void readContent(const base::Value &top, base::Dict &rsp) {
    auto article = base::make<NewsContentInfo>();
    article->title = text(top, "title");
    article->source = text(top, "source");
    article->otime = text(top, "otime");
    article->content = text(top, "content");
    rsp.set(Fetcher::RspNewsContentInfo, article);
}

void readInfoBombs(const base::Value &top, int64_t date, base::Dict &rsp) {
    const base::Value data = top["data"];
    const base::Value list = data["dataXxdl"];
    if (!reportsNoError(top) || !data.dict() || !list.array())
        return;
    base::Array mines;
    for (const base::Value &element : *list.array()) {
        std::string time = text(element, "otime");
        if (!element.dict() || Fetcher::getNumDateFromOTime(time) != date)
            continue;
        auto mine = base::make<NewsSummaryInfo>();
        mine->time = time;
        mine->summary = text(element, "summary");
        mine->title = text(element, "title");
        mine->url = text(element, "url");
        mines.add(mine);
    }
    rsp.set(Fetcher::RspArray, mines);
}

void readStockNews(const base::Value &top, base::Dict &rsp) {
    const base::Value header = top["header"];
    if (!header.dict() || text(header, "error") != "0")
        return;
    static constexpr std::array<const char *, 4> categories = {"dataGgxw", "dataGsgg", "dataXxdl",
                                                               "dataYjbg"};
    const base::Value data = top["data"];
    base::Array out;
    for (const char *key : categories) {
        base::Dict category{{"Name", text(header, std::string(key) + "_Name")}};
        const base::Value items = data[key];
        if (items.array() && !items.array()->empty())
            category.set("Items", records(*items.array(), listItem));
        out.add(category);
    }
    rsp.set(Fetcher::RspStockNewsListInfo, out);
}

} // namespace

int64_t QVNNewsDataManagement::getNumDateFromOTime(const std::optional<std::string> &otime) {
    constexpr size_t dateLength = 10;
    if (!otime || otime->size() < dateLength)
        return -1;
    int64_t date = 0;
    for (char c : otime->substr(0, dateLength)) {
        if (c == '-')
            continue;
        if (!std::isdigit(static_cast<unsigned char>(c)))
            return -1;
        date = date * 10 + (c - '0');
    }
    return date;
}

void QVNNewsDataManagement::parseResponseData(const std::optional<std::string> &body,
                                              const base::Dict &reqData, base::Dict &rspData) {
    const int64_t type = reqData.get(Interface::ReqType).intValue();
    if (type == Interface::MarketBoardType) {
        parseMarketBoard(body);
        return;
    }
    std::optional<base::Value> top = topObject(body);
    if (!top)
        return;
    switch (type) {
    case Interface::NewsColumnArrayType:
        readColumns(*top, rspData);
        break;
    case Interface::NewsTopLineArrayType:
        readTopLines(*top, rspData);
        break;
    case Interface::NewsListType:
        readList(*top, rspData);
        break;
    case Interface::NewsContentType:
        readContent(*top, rspData);
        break;
    case Interface::TodayInfoBombType:
        readInfoBombs(*top, reqData.get(Interface::TodayNumDate).intValue(), rspData);
        break;
    case Interface::StockNewsListType:
        readStockNews(*top, rspData);
        break;
    default:
        break;
    }
}
