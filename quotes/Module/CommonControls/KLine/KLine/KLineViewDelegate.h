#pragma once

#include "base/Object.h"
#include "ui/Button.h"

#include <cstdint>
#include <string>

// What the candlestick view tells its owner (the stock detail screen and the windows that show a
// chart). Every operation is optional; the view sends only what the owner implements.
class KLineViewDelegate {
public:
    virtual ~KLineViewDelegate() = default;
    // A pan or a zoom-out ended with fewer than 10 older candles left to scroll in: fetch older ones.
    virtual base::Opt<void> reqForwardKLineData() { return base::notImplemented; }
    // After every such pan or pinch end (after reqForwardKLineData when that was sent).
    virtual base::Opt<void> NotifyReqKLineRelativeData() { return base::notImplemented; }
    // The level-2 indicator was switched: request the new series.
    virtual base::Opt<void> reqKLineLevel2TechIndex() { return base::notImplemented; }
    // An ex-rights adjustment was chosen: type 0 none, 1 forward, 2 backward, base date yyyymmdd
    // (0 for none). YES when applied.
    virtual base::Opt<bool> changeExright(int32_t exrightType, int32_t exrightDate) {
        (void)exrightType, (void)exrightDate;
        return base::notImplemented;
    }
    // The volume pane's indicator button was touched: open the indicator chooser at the button.
    virtual base::Opt<void> SetTechIndexAction(ui::Button *sender, const std::string &curTechName) {
        (void)sender, (void)curTechName;
        return base::notImplemented;
    }
    // The level-2 pane's button was touched: open the level-2 chooser at the button.
    virtual base::Opt<void> SetKLineLevel2TechIndexAction(ui::Button *sender, int32_t techID,
                                                          const std::string &techName) {
        (void)sender, (void)techID, (void)techName;
        return base::notImplemented;
    }
    // Whether level-2 data may be shown; for owners, the view does not ask.
    virtual base::Opt<bool> canShowLevel2() { return base::notImplemented; }
};
