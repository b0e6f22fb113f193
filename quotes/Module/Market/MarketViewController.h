#pragma once

#include "Components/CMViewController.h"

// The market screen of tab 2, so far the part the application shell relies on: the navigation bar
// of the list screens (settings, trade button, breaking news, search field) over an empty content
// area, and the choice of module the board banner asks for. The lists themselves belong to the
// market screens.
class MarketViewController : public CMViewController {
public:
    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    base::Opt<void> traderButtonAction(ui::View &) override;

    // Shows the module at the index (1 the board list).
    void SetCurrentModuleAtIndex(int index) { m_currentModuleIndex = index; }
    int currentModuleIndex() const { return m_currentModuleIndex; }

private:
    int m_currentModuleIndex = 0;
};
