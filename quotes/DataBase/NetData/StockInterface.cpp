#include "DataBase/NetData/StockInterface.h"

#include <initializer_list>
#include <utility>

namespace {

int32_t lookUp(std::initializer_list<std::pair<int32_t, int32_t>> table, int32_t fieldID) {
    for (auto [field, code] : table)
        if (field == fieldID)
            return code;
    return fieldID;
}

} // namespace

int32_t StockInterface::GetProdSortID(int32_t fieldID) {
    return lookUp({{9, 0}, {1, 1}, {4, 2}, {2, 3}, {512, 4}, {517, 5}}, fieldID);
}

int32_t StockInterface::GetOpenFundSortID(int32_t fieldID) {
    return lookUp({{603, 1}, {604, 2}, {607, 3}, {608, 4}, {609, 5}, {610, 6}}, fieldID);
}

int32_t StockInterface::GetCurrFundSortID(int32_t fieldID) {
    return lookUp({{611, 1}, {612, 2}}, fieldID);
}
