#include "DataBase/NetData/Level2BSItem.h"

#include "Common/Util.h"
#include "base/Str.h"

void Level2BSItem::parseTag() {
    p1 = tag & 1;
    s1 = (tag >> 1) & 1;
    bs = (tag >> 2) & 1;
}

std::string Level2BSItem::getBSString(int32_t decimal, const std::string &dateStr) const {
    using base::str::format;
    auto price = [decimal](int32_t value) { return Util::FormatPrice(value, decimal); };
    const char *state = p1 ? (bs ? "B点" : "持股") : (bs ? "S点" : "持币");
    std::string trigger =
        p1 ? format("明收 < %@ , 出现S点", price(udd)) : format("明收 > %@, 出现B点", price(upp));
    const char *direction = s1 ? "向上" : "向下";
    std::string shortTerm =
        s1 ? format("明收 < %@, 卖出机会", price(ls)) : format("明收 > %@, 买入机会", price(hs));
    std::string energy = format("能量级别: %@ 级", Util::FormatDStr(float(d3) / 100.0f, 5, 2));
    return format("日 期: %@ \nBS点: %@, %@ \n短 线: %@, %@ \n%@", dateStr, state, trigger, direction,
                  shortTerm, energy);
}
