#pragma once

#include "ui/Label.h"
#include "ui/View.h"

#include <array>
#include <string>
#include <vector>

// The right block of the detail screen's header: six caption/value pairs in three rows, the
// captions in columns 0 and 2, the values in 1 and 3, cells a quarter of the width and height, bold
// 15 in white. Slot k is the k-th field of the current kind of security: the screen installs the
// captions of each kind ("换手" … "外盘" for a stock at first) and the values on every quote.
class StockPriceShowView : public ui::View {
public:
    static constexpr size_t FieldCount = 6;
    static constexpr float FontSize = 15;

    explicit StockPriceShowView(gfx::Rect frame);

    // Texts fill the slots they cover; an empty array changes nothing.
    void SetFieldNameArray(const std::vector<std::string> &names);
    void SetFieldValueArray(const std::vector<std::string> &values);
    // Empties the values; the captions stay.
    void clearView();

    ui::Label &nameLabel(size_t slot) { return *m_names.at(slot); }
    ui::Label &valueLabel(size_t slot) { return *m_values.at(slot); }

private:
    std::array<base::Ref<ui::Label>, FieldCount> m_names, m_values;
};
