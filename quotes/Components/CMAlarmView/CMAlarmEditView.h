#pragma once

#include "Components/CMAlarmView/CMInputCell.h"

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <optional>

// The condition form's table: the security's quote panel, then six condition rows (price above,
// price below, day rise, day fall and turnover rate as typed numbers, then validity once or
// permanent). The values live in `valueDict` under "HIGH", "LOW", "UPRATE", "DOWNRATE",
// "TURNOVER" and "LIMIT", with the security's "STOCKNAME" and "STOCKCODE"; rows show them again
// whenever they scroll back into view.
class CMAlarmEditView : public ui::View, public CMInputCellDelegate {
public:
    static constexpr float rowHeight = 44;
    static constexpr const char *kConditionsTitle = "设置预警条件";
    struct Row {
        const char *title;
        const char *key;
        const char *placeholder;
    };
    static constexpr Row kRows[] = {
        {"价格高于", "HIGH", "输入预警价格"},       {"价格低于", "LOW", "输入预警价格"},
        {"日涨幅", "UPRATE", "输入涨幅"},           {"日跌幅", "DOWNRATE", "输入跌幅"},
        {"日换手率", "TURNOVER", "输入预警换手率"}, {"预警有效期", "LIMIT", "输入预警价格"}};
    static constexpr int kRowCount = 6, kLimitRow = 5;

    explicit CMAlarmEditView(gfx::Rect frame);
    void setUp() override;

    // The values of an alarm row, after the security's name and code from the quote when it is in.
    void setAlarmValueDict(const base::Value &alarm);
    void setStockQuote(const base::Value &quote);
    // The security's code, for a form whose values do not carry one yet.
    void setDefaultStockCode(const std::string &code);
    // The values, with the text of the row being typed in taken first.
    base::Dict getAlarmValueDict();
    const base::Dict &valueDict() const { return m_valueDict; }
    const base::Value &quoteDict() const { return m_quoteDict; }

    base::Opt<void> beginTextInputAtIndex(ui::IndexPath path) override;
    base::Opt<void> didTextInputAtIndex(ui::IndexPath path, const std::string &text) override;
    base::Opt<void> didSelInputAtIndex(ui::IndexPath path, bool on) override;

    ui::TableView &mTableView() { return *m_tableView; }

private:
    struct Table;
    static const char *keyOf(ui::IndexPath path);

    base::Ref<ui::TableView> m_tableView;
    base::Ref<Table> m_table;
    base::Dict m_valueDict;
    base::Value m_quoteDict;
    std::optional<ui::IndexPath> m_lastIndexPath;
};
