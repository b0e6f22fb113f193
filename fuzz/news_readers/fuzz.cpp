// The news host's documents are read by every reader of the news fetcher, whatever the request
// asked: any bytes must give a well-formed result or none, and the board menu writer must leave
// readable menus (in the program's throw-away home) or nothing.
#include "DataManagement/DLDataManagement/DataInterface/QVNNewsDataInterface.h"
#include "DataManagement/DLDataManagement/QVNNewsDataManagement/QVNNewsDataManagement.h"

#include "Common/FileFunc.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"
#include "base/PropertyList.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using Fetcher = QVNNewsDataManagement;
using Interface = QVNNewsDataInterface;

void check(bool condition) {
    if (!condition)
        std::abort();
}

// A written menu reads back as rows, each with a name and a class id, the last the fixed row.
void checkMenu(const char *file) {
    std::optional<base::Value> menu = base::PropertyList::read(FileFunc::getFilePath(file));
    if (!menu)
        return;
    check(menu->array() && !menu->array()->empty());
    for (const base::Value &row : *menu->array())
        check(row["MENU_NAME"].isString() && (row["CLASS_ID"].isNumber() || row["CLASS_ID"].isString()));
    check(menu->array()->items().back()["MENU_NAME"].stringValue() == Fetcher::BoardRowName);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::optional<std::string> body(std::string(reinterpret_cast<const char *>(data), size));
    const base::Dict requests[] = {Interface::MakeRequestNewsColumnArray(),
                                   Interface::MakeRequestNewsTopLineArray(),
                                   Interface::MakeRequestNewsList("http://127.0.0.1/list/index.json"),
                                   Interface::MakeRequestNewsContent("http://127.0.0.1/article.json"),
                                   Interface::MakeRequestTodayInfoBomb("SH600000", 20120508),
                                   Interface::MakeRequestStockNewsList("SH600000")};
    for (const base::Dict &request : requests) {
        base::Dict rsp;
        Fetcher::parseResponseData(body, request, rsp);
        check(rsp.size() <= 1);
        if (const base::Value *stock = rsp.find(Fetcher::RspStockNewsListInfo))
            check(stock->array() && stock->array()->size() == 4);
        if (const base::Value *list = rsp.find(Fetcher::RspNewsListInfo)) {
            auto info = list->objectAs<NewsListInfo>();
            check(info != nullptr);
            for (const auto &item : info->items())
                check(item && item->title && item->url);
        }
    }
    for (const char *file : {Fetcher::DDEModelMenuFile, Fetcher::SectionModelMenuFile})
        std::remove(FileFunc::getFilePath(file).c_str());
    base::Dict rsp;
    Fetcher::parseResponseData(body, Interface::MakeRequestMarketBoard(), rsp);
    check(rsp.empty());
    checkMenu(Fetcher::DDEModelMenuFile);
    checkMenu(Fetcher::SectionModelMenuFile);
    return 0;
}
