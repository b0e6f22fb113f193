#pragma once

#include "base/Object.h"
#include "ui/Button.h"

#include <cstdint>
#include <string>

// What the intraday chart view asks of the screen that shows it (the stock detail screen, its
// full-screen chart and pop-up window, the multi-stock grid). Every operation is optional: the
// view sends it only when the screen implements it.
class MinLineViewDelegate {
public:
    virtual ~MinLineViewDelegate() = default;

    // The level-2 code changed: request its data for the shown security and hand the reply in
    // with `MinLineView::UpdateLevel2TechIndex`.
    virtual base::Opt<void> reqMLineLevel2TechIndex() { return base::notImplemented; }
    // The finger went down on the level-2 button (techID 0, techName ""): offer the codes 2922,
    // 2923 and 2924 beside it and answer with `MinLineView::changeLevel2TechIndex`.
    virtual base::Opt<void> SetMLineLevel2TechIndexAction(ui::Button *sender, int32_t techID,
                                                          const std::string &techName) {
        (void)sender, (void)techID, (void)techName;
        return base::notImplemented;
    }
    // The information-mine button was tapped: show the security's information mines beside it.
    virtual base::Opt<void> minLineView_didTouchBomb(ui::Button *sender) {
        (void)sender;
        return base::notImplemented;
    }
};
