#pragma once

#include "Components/CMAlarmView/CMAlarmCell.h"

// The quote panel at the top of the condition form: name and code, then "最新" and "涨跌",
// "涨停" and "跌停", "换手率". The latest price and the change are red on a rise, green on a fall.
class CMAlarmMainPanelCell : public CMAlarmBaseCell {
public:
    static constexpr const char *kIdentifier = "grenresPanelIdentifier";
    static constexpr float kRowHeight = 88;

    explicit CMAlarmMainPanelCell(gfx::Rect frame);
    void setPanelValue(const base::Value &quote);
    void layoutSubviews() override;
};
