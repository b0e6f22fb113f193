#include "MinLineCheckFields.h"

void MinLineCheckFields::clear() {
    code.reset();
    openprice = closeprice = highprice = lowprice = 0;
    mcount = 0;
    lastMTime = lastMPrice = lastMAve = lastMVol = 0;
    isNilBasicInf = isNilMinLineList = true;
}
