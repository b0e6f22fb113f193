#include "DataBase/NetData/StockDetailStatus.h"

void StockDetailStatus::setIsShowKLine(bool show) {
    isShowKLine_ = show;
    showKType_ = 0;
}
