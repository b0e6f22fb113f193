#include "Module/Market/SwitchMarketMenuController.h"

#include "ui/NavigationController.h"

void SwitchMarketMenuController::setUp() {
    CMViewController::setUp();
    setTitle(Title);
}

void SwitchMarketMenuController::viewDidLoad() {
    view().setBackgroundColor(gfx::Color::white());
    setContentSizeInPopover(m_popoverContentSize);
    m_cmTableView = CMTableView::create({0, 0, m_popoverContentSize.w, m_popoverContentSize.h});
    m_cmTableView->setCellBackgroundImage(gfx::Image::named("SelectedBg.png"));
    m_cmTableView->setRetDataActionTarget(weakSelf(),
                                          [this](const base::Value &row) { selectedAction(row); });
    m_cmTableView->setTableDataArray(m_menuArray);
    view().addSubview(m_cmTableView);
}

void SwitchMarketMenuController::SetMenuItemsArray(base::Value rows) {
    m_menuArray = std::move(rows);
    if (m_cmTableView)
        m_cmTableView->setTableDataArray(m_menuArray);
}

void SwitchMarketMenuController::selectedAction(const base::Value &row) {
    if (row["HasSubMenu"].boolValue()) {
        auto level = base::make<SubMenuViewController>();
        level->delegate = weakSelf<SwitchMarketMenuController>();
        level->SetSubMenuArray(row["SUB_MENU_ARRAY"]);
        if (ui::NavigationController *nav = navigationController())
            nav->push(level, true);
        return;
    }
    if (auto d = delegate.lock())
        d->ReturnSelectedMarket(row);
}

base::Opt<void> SwitchMarketMenuController::ReturnSubSelectedMarket(const base::Value &row) {
    if (auto d = delegate.lock())
        d->ReturnSelectedMarket(row);
    return {};
}
