#pragma once

#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"

#include "ui/TableView.h"

#include <string>
#include <vector>

class AutoLockView;

// The trade settings panel the tool bar's settings button opens, also while the trade connection
// is down: a grouped list with one group, "安全", and one row, "超时保护", which lays the lock-time
// list (AutoLockView) over the whole panel. Closing the panel lets the tool bar start the lock
// timer again, so a new lock time takes effect then.
class TradeSettingsView : public TradeBaseView {
public:
    static constexpr const char *kCellIdentifier = "genneralCell";
    static constexpr float kHeaderHeight = 30;

    using TradeBaseView::TradeBaseView;

    void CloseAction() { DismissView(); }
    // Lays the lock-time list over the panel.
    void didSelectRow(ui::IndexPath path);

    ui::TableView &settingTableView() { return *m_settingTableView; }
    const std::vector<std::string> &sectionArray() const { return m_sectionArray; }
    const std::vector<std::string> &itemArray() const { return m_itemArray; }
    base::Ref<AutoLockView> autoLockView() const { return m_autoLockView.lock(); }

protected:
    void initData() override;
    void initUI(gfx::Rect frame) override;

private:
    struct Relay;
    base::Ref<ui::TableView> m_settingTableView;
    base::Ref<Relay> m_relay;
    std::vector<std::string> m_sectionArray, m_itemArray;
    base::Weak<AutoLockView> m_autoLockView;
};
