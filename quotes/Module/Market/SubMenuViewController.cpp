#include "Module/Market/SubMenuViewController.h"

#include "ui/NavigationController.h"

void SubMenuViewController::setUp() {
    ui::ViewController::setUp();
    setTitle(Title);
    setContentSizeInPopover(ContentSize);
}

void SubMenuViewController::viewDidLoad() {
    view().setBackgroundColor(gfx::Color::white());
    m_cmTableView = CMTableView::create({0, 0, ContentSize.w, ContentSize.h});
    m_cmTableView->setRetDataActionTarget(weakSelf(),
                                          [this](const base::Value &row) { selectedAction(row); });
    m_cmTableView->setTableDataArray(m_menuNamesArray);
    view().addSubview(m_cmTableView);
}

void SubMenuViewController::selectedAction(const base::Value &row) {
    if (row["HasSubMenu"].boolValue()) {
        auto deeper = base::make<SubMenuViewController>();
        deeper->delegate = weakSelf<SubMenuViewController>();
        deeper->SetSubMenuArray(row["SUB_MENU_ARRAY"]);
        if (ui::NavigationController *nav = navigationController())
            nav->push(deeper, true);
        return;
    }
    if (auto d = delegate.lock())
        d->ReturnSubSelectedMarket(row);
}

base::Opt<void> SubMenuViewController::ReturnSubSelectedMarket(const base::Value &row) {
    if (auto d = delegate.lock())
        d->ReturnSubSelectedMarket(row);
    return {};
}
