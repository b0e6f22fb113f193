#pragma once

#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"

#include "base/Value.h"
#include "ui/TableView.h"

#include <string>
#include <vector>

// The list of idle times after which trading locks itself (1, 2, 5, 10, 15, 30 minutes or never),
// laid over the trade settings panel. The check mark shows what the lock timer will do with the
// stored "LockTimeMin": a missing, non-numeric or non-positive value is never, a positive value
// that is no choice marks no row (and stays stored until the user chooses). A choice goes at once
// to the trade message centre and to "TradeSettings.plist" in the documents directory, written
// whole and owner-only with every other key as read (the lock password among them, never shown).
class AutoLockView : public TradeBaseView {
public:
    static constexpr const char *kCellIdentifier = "genneralCell";
    static constexpr const char *kLockTimeKey = "LockTimeMin";
    static constexpr float kHeaderHeight = 30;
    static constexpr int kNever = -1;

    struct Choice {
        const char *item;
        int minutes;
    };
    static constexpr Choice kChoices[] = {{"1 分钟", 1},   {"2 分钟", 2},   {"5 分钟", 5},    {"10 分钟", 10},
                                          {"15 分钟", 15}, {"30 分钟", 30}, {"永 不", kNever}};

    using TradeBaseView::TradeBaseView;

    // Removes the list from the settings panel.
    void backAction() { removeFromSuperview(); }
    // Chooses the row's lock time.
    void didSelectRow(int row);

    ui::TableView &autoLockTableView() { return *m_autoLockTableView; }
    // The row with the check mark; -1 for none.
    int currentSelRow() const { return m_currentSelRow; }
    int currentLockMin() const { return m_currentLockMin; }
    const base::Dict &settingsDict() const { return m_settingsDict; }

protected:
    void initData() override;
    void initUI(gfx::Rect frame) override;

private:
    struct Relay;
    // The row of the stored value as the lock timer reads it.
    static int rowOf(const base::Value *stored);

    base::Ref<ui::TableView> m_autoLockTableView;
    base::Ref<Relay> m_relay;
    int m_currentLockMin = kNever;
    int m_currentSelRow = -1;
    base::Dict m_settingsDict;
};
