#pragma once

#include "base/Value.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <string>

// Hears the "code" of the row the user picked.
class SearchStockListControllerDelegate {
public:
    virtual ~SearchStockListControllerDelegate() = default;
    virtual base::Opt<void> ReturnSelectedStock(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
};

// The 200 × 200 list in the overlay-search popover of the detail screen's tab strip and of the
// full-screen chart's tool bar: one row per search hit or board ({"code", "name"}), name and code
// in the shell's search row. A pick is reported; the owner closes the popover.
class SearchStockListController : public ui::ViewController {
public:
    static constexpr gfx::Size kContentSize{200, 200};
    static constexpr float kRowHeight = 28, kFontSize = 14;
    static constexpr const char *kCellIdentifier = "recentIdentifier";

    SearchStockListController();
    void viewDidLoad() override;

    // The rows shown become a copy of these; the table reloads.
    void SetTableDataArray(const base::Array &rows);
    const base::Array &stockArray() const { return m_stockArray; }
    ui::TableView *searchList() const { return m_searchList.get(); }

    base::Weak<SearchStockListControllerDelegate> delegate;

private:
    struct Relay;
    base::Ref<ui::TableView> m_searchList;
    base::Ref<Relay> m_relay;
    base::Array m_stockArray;
};
