#pragma once

#include "DataBase/NetData/Level2BSItem.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// One candle. The o-prefixed fields keep the unadjusted values every ex-rights adjustment starts from.
class KLineItem : public base::Object {
public:
    int32_t time = 0; // yyyymmdd, or the packed date-time of minute candles
    int32_t openprice = 0;
    int32_t highprice = 0;
    int32_t lowprice = 0;
    int32_t closeprice = 0;
    int32_t vol = 0;
    int32_t amount = 0;
    int32_t holdVol = 0;
    int32_t oopenprice = 0;
    int32_t ohighprice = 0;
    int32_t olowprice = 0;
    int32_t ocloseprice = 0;
    int32_t ovol = 0;
    int8_t exrightFlag = 0;
    int32_t exrightDate = 0;
    base::Ref<Level2BSItem> bsItem;
    // Owned values of the overlay security and of the indicator engine; opaque here.
    base::Ref<base::Object> addStockInfo;
    base::Ref<base::Object> mainTechIndexInfo;
    base::Ref<base::Object> techIndexInfo;
    base::Ref<base::Object> level2TechIndexInfo;

    // Copies the prices and volume into their unadjusted twins.
    void backupPrices();
    // The index of the first candle of `items` whose time is `date`; `index` is untouched when none
    // is. Works on candle lists and on reply lists of any records.
    template <class T>
    static bool getIndex(const std::vector<base::Ref<T>> &items, int32_t date, int &index) {
        for (size_t i = 0; i < items.size(); ++i) {
            auto candle = dynamic_cast<const KLineItem *>(items[i].get());
            if (candle && candle->time == date) {
                index = int(i);
                return true;
            }
        }
        return false;
    }
};

// A shown candle's comparison candles of the same time (same period for week and month), by
// security code: what a candle's addStockInfo holds.
class AddStockKLines : public base::Object {
public:
    std::map<std::string, base::Ref<KLineItem>> items;
};
