// The board reply's reader: the three board menu files of the documents directory.
#include "DataManagement/DLDataManagement/QVNNewsDataManagement/QVNNewsDataManagement.h"

#include "Common/FileFunc.h"
#include "Common/Util_Json/Util_Json.h"
#include "base/Bundle.h"
#include "base/PropertyList.h"

#include <charconv>

namespace {

// The class ids the big-order and sector lists cannot open.
bool isDroppedClass(const base::Value &row) {
    int64_t id = row["CLASS_ID"].intValue();
    return id == 106 || id == 107;
}

// The leading digits of a text as a number; 0 when there are none or they do not fit.
int64_t leadingNumber(const std::string &text) {
    size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + digits, value);
    return error == std::errc() ? value : 0;
}

// The bundle's stock board menu; nothing when it is missing or empty.
std::optional<base::Array> bundleStockMenu() {
    std::optional<std::string> path = base::Bundle::main().pathFor("StockModelMenu", "plist");
    std::optional<base::Value> menu = path ? base::PropertyList::read(*path) : std::nullopt;
    if (!menu || !menu->array() || menu->array()->empty())
        return std::nullopt;
    return *menu->array();
}

void saveStockModel(const base::Value &list) {
    if (!list.array() || list.array()->empty())
        return;
    std::optional<base::Array> bundle = bundleStockMenu();
    if (!bundle)
        return;
    base::Array menu = bundle->deepCopy();
    base::Dict first = menu[0].dict() ? menu[0].dict()->copy() : base::Dict();
    first.set("SUB_MENU_ARRAY", QVNNewsDataManagement::getModelArrayFromJsonArray(*list.array()));
    menu[0] = first;
    base::PropertyList::write(menu, FileFunc::getFilePath(QVNNewsDataManagement::StockModelMenuFile));
}

} // namespace

base::Array QVNNewsDataManagement::getModelArrayFromJsonArray(const base::Array &list) {
    base::Array rows;
    for (const base::Value &item : list) {
        if (!item.dict())
            continue;
        std::string name = Util_Json::strValueForKey("name", item);
        rows.add(base::Dict{{"HasSubMenu", false},
                            {"MENU_ID", name},
                            {"MENU_NAME", name},
                            {"CLASS_ID", leadingNumber(Util_Json::strValueForKey("type", item))}});
    }
    return rows;
}

void QVNNewsDataManagement::saveDDEModel(const base::Value &list, const std::string &fileName) {
    if (!list.array() || list.array()->empty())
        return;
    base::Array rows = getModelArrayFromJsonArray(*list.array());
    std::erase_if(rows.items(), isDroppedClass);
    rows.add(
        base::Dict{{"MENU_ID", "MENU_STOCK_HUSHEN_ZXB"}, {"MENU_NAME", BoardRowName}, {"CLASS_ID", "105"}});
    base::PropertyList::write(rows, FileFunc::getFilePath(fileName));
}

void QVNNewsDataManagement::parseMarketBoard(const std::optional<std::string> &body) {
    std::optional<base::Array> document = body ? Util_Json::parseToArray(*body) : std::nullopt;
    if (!document || document->empty())
        return;
    const base::Value data = (*document)[0]["data"];
    if (!data.array() || data.array()->empty() || !(*data.array())[0].dict())
        return;
    const base::Value board = (*data.array())[0];
    saveStockModel(board["zdph"]);
    saveDDEModel(board["ddejc"], DDEModelMenuFile);
    saveDDEModel(board["jdtj"], SectionModelMenuFile);
}
