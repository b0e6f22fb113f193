#pragma once

#include "Components/CMTableView.h"

#include "base/Value.h"
#include "ui/ViewController.h"

// Hears a row chosen on a deeper level of the market menu.
class SubMenuViewControllerDelegate {
public:
    virtual ~SubMenuViewControllerDelegate() = default;
    virtual base::Opt<void> ReturnSubSelectedMarket(const base::Value &row) {
        (void)row;
        return base::notImplemented;
    }
};

// A deeper level of the market menu, titled "分类" under the menu's navigation bar. A row with a
// sub-menu pushes a further level whose delegate is this one, so that a choice made at any depth
// climbs back to the first level and reaches the list as a first-level choice.
class SubMenuViewController : public ui::ViewController, public SubMenuViewControllerDelegate {
public:
    static constexpr const char *Title = "分类";
    static constexpr gfx::Size ContentSize{240, 400};

    void setUp() override;
    void viewDidLoad() override;
    bool shouldAutorotateTo(ui::Orientation) override { return true; }

    void SetSubMenuArray(base::Value rows) { m_menuNamesArray = std::move(rows); }
    void selectedAction(const base::Value &row);
    base::Opt<void> ReturnSubSelectedMarket(const base::Value &row) override;
    CMTableView *cmTableView() const { return m_cmTableView.get(); }

    base::Weak<SubMenuViewControllerDelegate> delegate;

private:
    base::Ref<CMTableView> m_cmTableView;
    base::Value m_menuNamesArray;
};
