#include "DataBase/NetData/KLineItem.h"

void KLineItem::backupPrices() {
    oopenprice = openprice;
    ohighprice = highprice;
    olowprice = lowprice;
    ocloseprice = closeprice;
    ovol = vol;
}

bool KLineItem::getIndex(const std::vector<base::Ref<KLineItem>> &items, int32_t date, int &index) {
    for (size_t i = 0; i < items.size(); ++i) {
        if (items[i] && items[i]->time == date) {
            index = int(i);
            return true;
        }
    }
    return false;
}
