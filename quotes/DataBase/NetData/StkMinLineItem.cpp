#include "DataBase/NetData/StkMinLineItem.h"

bool StkMinLineItem::isEqual(const StkMinLineItem &other) const {
    return time == other.time && price == other.price && vol == other.vol && ave == other.ave &&
           holdVol == other.holdVol;
}

void StkStrikeDetailItem::setDealWord(uint32_t word) {
    isOuterPan = (word & 0x80000000u) != 0;
    dealPrice = int32_t(word & 0x7FFFFFFFu);
}
