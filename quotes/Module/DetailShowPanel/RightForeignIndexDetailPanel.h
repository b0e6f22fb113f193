#pragma once

#include "Module/DetailShowPanel/ValuePanelView.h"

#include <string>
#include <vector>

// The right-hand panels of the detail screen that are a one-column caption/value grid, 180 high:
// an index outside Shanghai, Shenzhen and the board market (13 fields: prices, change, volume and
// amount, then four member and market-value fields that stay "--") and a foreign-exchange pair
// (10 fields: prices, change, bid, ask and average). The screen fills and colours the values on
// every quote; clearView puts "--" back and leaves the colours.
class RightForeignIndexDetailPanel : public ui::View {
public:
    static const std::vector<std::string> &Captions();

    explicit RightForeignIndexDetailPanel(gfx::Rect frame);
    void clearView();
    ValuePanelView &valuePanelView() { return *m_valuePanelView; }

protected:
    RightForeignIndexDetailPanel(gfx::Rect frame, const std::vector<std::string> &captions);

private:
    base::Ref<ValuePanelView> m_valuePanelView;
};

class RightCurrDetailPanel : public RightForeignIndexDetailPanel {
public:
    static const std::vector<std::string> &Captions();

    explicit RightCurrDetailPanel(gfx::Rect frame);
};

// The right-hand panels' background: RGB (31, 109, 155) at alpha 0.1.
base::Ref<gfx::Color> RightPanelBackground();
