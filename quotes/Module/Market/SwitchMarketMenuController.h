#pragma once

#include "Module/Market/SubMenuViewController.h"

#include "Components/CMTableView.h"
#include "Components/CMViewController.h"

// Hears the market chosen in the menu, on whatever level.
class SwitchMarketMenuControllerDelegate {
public:
    virtual ~SwitchMarketMenuControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedMarket(const base::Value &row) {
        (void)row;
        return base::notImplemented;
    }
};

// The first level of a market list's menu, titled "切换市场": one row per market menu row
// {"MENU_NAME", "CLASS_ID", "HasSubMenu", "SUB_MENU_ARRAY"}. A row with a sub-menu pushes a level
// titled "分类" onto the navigation controller that holds the menu; any other row is the choice,
// reported to the owning list. The owner keeps the menu in a popover and shows it again on later
// taps.
class SwitchMarketMenuController : public CMViewController, public SubMenuViewControllerDelegate {
public:
    static constexpr const char *Title = "切换市场";
    static constexpr gfx::Size DefaultContentSize{240, 400};

    void setUp() override;
    void viewDidLoad() override;
    bool shouldAutorotateTo(ui::Orientation) override { return true; }

    void SetMenuItemsArray(base::Value rows);
    // Takes effect only before the view is built.
    void setPopoverContentSize(gfx::Size size) { m_popoverContentSize = size; }
    gfx::Size popoverContentSize() const { return m_popoverContentSize; }
    void selectedAction(const base::Value &row);
    base::Opt<void> ReturnSubSelectedMarket(const base::Value &row) override;
    CMTableView *cmTableView() const { return m_cmTableView.get(); }

    base::Weak<SwitchMarketMenuControllerDelegate> delegate;

private:
    base::Ref<CMTableView> m_cmTableView;
    base::Value m_menuArray;
    gfx::Size m_popoverContentSize = DefaultContentSize;
};
