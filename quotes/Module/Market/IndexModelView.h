#pragma once

#include "Module/Market/IndexReportCell.h"
#include "Module/Market/MarketTableBaseView.h"

#include "Module/CommonControls/MinLine/Mini/MiniViewManager.h"
#include "Module/StockDataBaseMgnt/IndexQuotesData.h"

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <map>
#include <string>
#include <vector>

using IndexModelViewDelegate = MarketListDelegate;

// The index tab of the market screen: the main indexes in named groups, one section per group of
// the bundle list "IndexReport" ({"GroupName", "DataArray": codes}), each row an index with its
// latest value, change, rise, volume, amount and intraday picture. Quotes are asked for the codes
// in view only (the first 50 codes at first); a row keeps the last record received for its code,
// so a code listed in two groups shows the same record in both. A row opens the detail screen with
// its group, so that the detail screen steps through that group.
class IndexModelView : public ui::View, public IndexQuotesDataDelegate {
public:
    static constexpr int TabIndex = 0;
    static constexpr const char *ObserverName = "IndexModelViewNotify";
    static constexpr const char *ModuleName = "IndexModel";
    static constexpr const char *ReportFile = "IndexReport";
    static constexpr const char *CellIdentifier = "grenresIdentifier";
    static constexpr size_t FirstRequestCodes = 50;
    static constexpr size_t FirstVisibleCodes = 10;
    static constexpr size_t ChartsPerRequest = 10;
    static constexpr double StaleSeconds = 5.0;
    static constexpr float BottomMargin = 20;

    explicit IndexModelView(gfx::Rect frame);
    void setUp() override;

    void reLayout(gfx::Rect frame);
    // The screen's refresh tick: quotes of the codes in view.
    void NotifyTimeEvent();
    void setMinLineAllIdle();
    void clearAllMinLinesData();
    void removeInvisibleMiniViews() {}

    void UpdateTableDataSource(const base::Ref<StockQuoteList> &rows) override;
    void UpdateMinLine(const std::string &code, const std::vector<base::Ref<base::Object>> &points) override;
    std::vector<std::string> getVisibleCodes() override { return m_visibleCodes; }

    // The group's codes, and the code of a row; empty outside the groups.
    base::Array groupCodes(int section) const;
    std::string codeAt(ui::IndexPath path) const;
    int sectionNum() const { return int(m_reportFormatArray.size()); }
    ui::TableView &indexTableView() { return *m_indexTableView; }
    MiniViewManager &mviews() { return *m_mviews; }
    IndexQuotesData &quotesData() { return *m_quotesData; }
    base::Ref<StockQuoteInf> recordFor(const std::string &code) const;

    base::Weak<IndexModelViewDelegate> delegate;
    base::Weak<base::Object> parentController;

private:
    struct Table;

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path);
    base::Ref<ui::View> viewForHeader(int section);
    void didSelectRow(ui::IndexPath path);
    void scrollEnded(ui::ScrollView &scrollView);
    void makeVisibleReqCodes();
    void makeFirstReqCodes(size_t count);
    void reqCurScreenData();
    void reqIndexMinLines(const std::vector<base::Ref<StockQuoteInf>> &records);

    base::Ref<Table> m_table;
    base::Ref<ui::TableView> m_indexTableView;
    int32_t m_tableRowHeight = 70;
    int32_t m_tableHeaderHeight = 40;
    base::Array m_reportFormatArray;
    std::map<std::string, base::Ref<StockQuoteInf>> m_reportDataDict;
    // Records standing in for codes no quote has come for yet.
    std::map<std::string, base::Ref<StockQuoteInf>> m_placeholders;
    std::vector<std::string> m_visibleCodes;
    base::Ref<MiniViewManager> m_mviews;
    base::Ref<IndexQuotesData> m_quotesData;
};
