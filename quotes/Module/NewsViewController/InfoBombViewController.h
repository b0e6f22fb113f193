#pragma once

#include <string>

#include "ui/ViewController.h"

// Today's information-mine notes of one security, shown in a popover from the detail screen's
// intraday mark and from a list row's information button. The notes themselves come with the
// news screens; until then the popover names the security over an empty body.
class InfoBombViewController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{320, 300};

    InfoBombViewController() { setContentSizeInPopover(kContentSize); }

    void setStockCode(const std::string &code, const std::string &name) {
        stockCode_ = code;
        setTitle("信息地雷 - " + name);
    }

    const std::string &stockCode() const { return stockCode_; }

private:
    std::string stockCode_;
};
