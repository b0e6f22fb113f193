#include "DataBase/NetData/KLineItem.h"

void KLineItem::backupPrices() {
    oopenprice = openprice;
    ohighprice = highprice;
    olowprice = lowprice;
    ocloseprice = closeprice;
    ovol = vol;
}
