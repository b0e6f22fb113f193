#pragma once

#include "Class/Module/CommonControls/TradeDateRange/TradeDateRange.h"
#include "Class/Module/CommonControls/TradePageStrip/TradePageStrip.h"
#include "Class/Module/ToolBarView/TransAccountView/TransferTabView.h"

#include "ui/TableView.h"

// The transfer history tab: the past transfers of one bank and currency between two dates, 15 rows
// a page. The bank comes from the trade session's list as it stands when the view is made, and
// from later bank reports (the first bank is selected; a bank without a currency counts as
// renminbi here). Both dates start at today, and a search for today alone goes out every time it
// is pressed. The view sends nothing itself: the panel's data object searches and pages, keeping
// the bank and currency of the search for its later pages. A transfer outcome that arrives while
// the history is shown is reported here too.
class TransferQueryView : public TransferTabView,
                          public TradeDateRangeDelegate,
                          public TradePageStripDelegate {
public:
    static constexpr float kRowHeight = 64, kHeaderHeight = 0;
    static constexpr float kTableY = 164;

    explicit TransferQueryView(gfx::Rect frame) : TransferTabView(frame) {}
    void setUp() override;

    void SetTransferData(const base::Ref<TradeTransferData> &data) override;

    // The controls' actions.
    void changeBankAction();
    void changeCurrAction();
    void searchAction();
    base::Opt<void> prevPageAction() override;
    base::Opt<void> nextPageAction() override;

    base::Opt<void> ReturnSelectedValueDict(const base::Dict &row) override;
    base::Opt<void> UpdateBankArray(const base::Array &banks, bool errRsp,
                                    const std::string &errMsg) override;
    base::Opt<void> UpdateTransferArray(const std::optional<base::Array> &rows,
                                        const std::string &pageInfo) override;
    base::Opt<void> UpdateTransfer(bool errRsp, const std::string &errMsg) override;
    base::Opt<void> dateRangeCalendarToggled(TradeDateRange &range) override;

    ui::Button &bankBtn() { return *m_bankBtn; }
    ui::Button &currencyBtn() { return *m_currencyBtn; }
    ui::Button &searchBtn() { return *m_searchBtn; }
    TradeDateRange &dateRange() { return *m_dateRange; }
    TradePageStrip &pageStrip() { return *m_pageStrip; }
    ui::TableView &tableView() { return *m_tableView; }
    const base::Array &dataArray() const { return m_dataArray; }

private:
    struct Table;
    void initUI(gfx::Rect frame);
    void SetBankRelInfo(const base::Dict *bank);

    base::Ref<ui::Button> m_bankBtn, m_currencyBtn, m_searchBtn;
    base::Ref<ui::TableView> m_tableView;
    base::Ref<Table> m_table;
    base::Ref<TradeDateRange> m_dateRange;
    base::Ref<TradePageStrip> m_pageStrip;
    base::Array m_dataArray;
};
