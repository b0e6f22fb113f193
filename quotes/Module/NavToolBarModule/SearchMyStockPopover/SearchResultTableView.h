#pragma once

#include "Module/NavToolBarModule/SearchMyStockPopover/SearchResultCell.h"

#include "DataBase/NetData/NetDataCenter.h"
#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>
#include <vector>

class SearchMyStockContentController;

// Hears a picked result and a result to add to the watch-list group.
class SearchResultTableViewDelegate {
public:
    virtual ~SearchResultTableViewDelegate() = default;
    virtual base::Opt<void> ReturnStockName(const std::string &name, const std::string &code) {
        (void)name, (void)code;
        return base::notImplemented;
    }
    virtual base::Opt<void> ReturnStockToSave(const std::string &name, const std::string &code) {
        (void)name, (void)code;
        return base::notImplemented;
    }
};

// The search results, one 44-point row each: name and code, price and change once quoted, and the
// add button while the security is not yet in the group `modelFileName`. A pick goes to the head of
// the recent list before it is handed on. When scrolling ends, the rows in view that have no quote
// yet are quoted through the parent controller.
class SearchResultTableView : public ui::View, public SearchResultCellDelegate {
public:
    static constexpr float kRowHeight = 44;
    // The change text of a result without a price.
    static constexpr const char *kNoValue = "--";

    explicit SearchResultTableView(gfx::Rect frame);
    void setUp() override;

    // Keeps the result entries and the group file; back to the first row when rows were shown.
    void SetTableDataArray(base::Array entries, std::string modelFileName);
    // Gives the first entry of each record's code its change ("range") and price ("lastPrice").
    void UpdateQuotes(const std::vector<base::Ref<StockQuoteInf>> &quotes);
    void reqVisibleQuotes();
    // The codes of the rows in view that have no quote yet.
    std::vector<std::string> makeVisibleCodes() const;
    base::Opt<void> AccessoryButtonAdd(SearchResultCell &cell) override;

    ui::TableView &resultTableView() { return *m_resultTableView; }
    const base::Array &entries() const { return m_myResultViewedArray; }
    const std::string &modelFileName() const { return m_modelFileName; }

    base::Weak<SearchResultTableViewDelegate> delegate;
    base::Weak<SearchMyStockContentController> parentController;

private:
    struct Rows;
    struct Choices;
    void fill(SearchResultCell &cell, const base::Value &entry) const;
    void picked(int row);

    base::Ref<ui::TableView> m_resultTableView;
    base::Ref<Rows> m_rows;
    base::Ref<Choices> m_choices;
    base::Array m_myResultViewedArray;
    std::string m_modelFileName;
};
