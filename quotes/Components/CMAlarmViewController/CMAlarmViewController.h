#pragma once

#include "ui/ViewController.h"

// The price-alarm list of the alarm popover. The list and its editing belong to the alarm screens;
// until they are built the popover opens empty.
class CMAlarmViewController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 300};

    CMAlarmViewController() { setContentSizeInPopover(kContentSize); }
};
