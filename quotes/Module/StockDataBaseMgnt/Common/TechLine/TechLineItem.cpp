#include "TechLineItem.h"

TechLineItem::TechLineItem(int capacity) : items_(size_t(capacity > 0 ? capacity : 0)) {}

void TechLineItem::addSubItem(int32_t type, float value) {
    items_.push_back({type, value, 0});
}

void TechLineItem::setSubItem(int index, int32_t type, float value, float value2) {
    if (index < 0)
        return;
    if (size_t(index) >= items_.size())
        items_.resize(size_t(index) + 1);
    items_[size_t(index)] = {type, value, value2};
}

const TechLineSubItem *TechLineItem::getSubItem(int index) const {
    if (index < 0 || size_t(index) >= items_.size())
        return nullptr;
    return &items_[size_t(index)];
}
