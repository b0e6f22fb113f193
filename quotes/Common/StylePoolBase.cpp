#include "Common/StylePoolBase.h"

namespace {

const std::string &ordinal(const std::array<std::string, StylePoolBase::OrdinalCount> &names, int index) {
    static const std::string none;
    return index >= 0 && index < StylePoolBase::OrdinalCount ? names[size_t(index)] : none;
}

} // namespace

StylePoolBase::StylePoolBase()
    : cnNums{"一", "二", "三", "四", "五", "六", "七", "八", "九", "十"}, buyNums{"买一", "买二", "买三",
                                                                                  "买四", "买五", "买六",
                                                                                  "买七", "买八", "买九",
                                                                                  "买十"},
      sellNums{"卖一", "卖二", "卖三", "卖四", "卖五", "卖六", "卖七", "卖八", "卖九", "卖十"} {}

const std::string &StylePoolBase::getBuyNum(int index) const {
    return ordinal(buyNums, index);
}

const std::string &StylePoolBase::getSellNum(int index) const {
    return ordinal(sellNums, index);
}

std::string StylePoolBase::getCnNum(int index, const std::string &preStr) const {
    return preStr + ordinal(cnNums, index);
}

void StylePoolBase::drawKSepLine(gfx::Context &, gfx::Point, gfx::Point) {}

void StylePoolBase::drawThickKSepLine(gfx::Context &, gfx::Point, gfx::Point, bool) {}

void StylePoolBase::drawKHorzLine(gfx::Context &context, gfx::Rect rect, float y, bool isThickLine) {
    const gfx::Point from{rect.x() + 1, y}, to{rect.x() + rect.width(), y};
    if (isThickLine)
        drawThickKSepLine(context, from, to, false);
    else
        drawKSepLine(context, from, to);
}

void StylePoolBase::drawKVertLine(gfx::Context &context, gfx::Rect rect, float x, bool isThickLine) {
    const gfx::Point from{x, rect.y()}, to{x, rect.y() + rect.height()};
    if (isThickLine)
        drawThickKSepLine(context, from, to, true);
    else
        drawKSepLine(context, from, to);
}
