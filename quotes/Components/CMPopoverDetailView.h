#pragma once

#include "ui/Label.h"

#include <vector>

// The white 300 × 280 view of the index popover: the index name over a two-column grid of quote
// captions. Its controller writes the name and the newest price into it.
class CMPopoverDetailView : public ui::View {
public:
    static constexpr gfx::Size Size{300, 280};
    static constexpr const char *DefaultName = "上证指数";
    static constexpr const char *NewPriceCaption = "最新价";
    // The captions of the grid, left to right and top to bottom, the newest price first.
    static constexpr const char *Captions[] = {"最新价", "涨跌幅", "开盘价", "最高价",
                                               "最低价", "成交量", "成交额"};

    CMPopoverDetailView();

    ui::Label &nameLabel() { return *m_name; }
    ui::Label &newPriceLabel() { return *m_fields.front(); }
    // The grid's labels in the order of Captions.
    const std::vector<base::Ref<ui::Label>> &fieldLabels() const { return m_fields; }

private:
    base::Ref<ui::Label> m_name;
    std::vector<base::Ref<ui::Label>> m_fields;
};
