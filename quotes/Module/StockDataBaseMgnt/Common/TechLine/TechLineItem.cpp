#include "TechLineItem.h"

TechLineItem::TechLineItem(int capacity) {
    if (capacity > 0)
        growTo(capacity - 1, {});
}

void TechLineItem::addSubItem(int32_t type, float value) {
    growTo(count_, {type, value, 0});
}

void TechLineItem::growTo(int index, TechLineSubItem item) {
    if (index < 0)
        return;
    // Sub-items between the old end and the index are hidden zeros.
    for (int i = count_; i < index; ++i) {
        if (i >= InlineCapacity)
            more_.push_back({});
        else
            inline_[size_t(i)] = {};
    }
    if (index >= InlineCapacity)
        more_.push_back(item);
    else
        inline_[size_t(index)] = item;
    count_ = index + 1;
}
