#pragma once

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>

// Hears a picked recent security.
class SearchRecentTableViewDelegate {
public:
    virtual ~SearchRecentTableViewDelegate() = default;
    virtual base::Opt<void> ReturnStockName(const std::string &name, const std::string &code) {
        (void)name, (void)code;
        return base::notImplemented;
    }
};

// The recently picked securities, newest first, under the header "最近查询". Picking a row hands
// its name and code on; the list itself is not changed by the pick.
class SearchRecentTableView : public ui::View {
public:
    static constexpr float kRowHeight = 32, kHeaderHeight = 26;
    static constexpr const char *kHeaderTitle = "最近查询";
    static constexpr const char *kCellIdentifier = "recentIdentifier";

    explicit SearchRecentTableView(gfx::Rect frame);
    void setUp() override;

    // Rows of {"StockName", "MarketCode"}, kept and shown.
    void SetTableDataArray(base::Array rows);
    const base::Array &rows() const { return m_myRecentViewedArray; }
    ui::TableView &recentTableView() { return *m_recentTableView; }

    base::Weak<SearchRecentTableViewDelegate> delegate;

private:
    struct Rows;
    struct Choices;

    base::Ref<ui::TableView> m_recentTableView;
    base::Ref<Rows> m_rows;
    base::Ref<Choices> m_choices;
    base::Array m_myRecentViewedArray;
};
