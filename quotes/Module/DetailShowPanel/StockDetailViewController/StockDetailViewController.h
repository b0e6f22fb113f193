#pragma once

#include "Components/CMViewController.h"

#include <string>

// The stock detail screen, so far the part the navigation bar, the search and the trading module
// rely on: it shows one security (its title names it) under its own bar buttons, and a security
// opened from it replaces the shown one instead of stacking a second detail screen. While it shows
// it is the trade message centre's current screen and its security the order panel's.
class StockDetailViewController : public CMViewController {
public:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewDidDisappear(bool animated) override;

    // Shows the security with the code ("SH600000").
    void SetStockCodeMarket(const std::string &code);
    const std::string &stockCode() const { return m_stockCode; }

    void PushStockVC(const std::string &code) override { SetStockCodeMarket(code); }
    base::Opt<void> traderButtonAction(ui::View &) override;

private:
    std::string m_stockCode;
};
