#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/TableCell.h"

#include <string>

class SearchResultCell;

// Hears the cell's add button.
class SearchResultCellDelegate {
public:
    virtual ~SearchResultCellDelegate() = default;
    virtual base::Opt<void> AccessoryButtonAdd(SearchResultCell &cell) {
        (void)cell;
        return base::notImplemented;
    }
};

// A row of the search results: name over code on the left, then the price and the change, both
// right-aligned and coloured by the change, and the "+" button that adds the security to the chosen
// watch-list group.
class SearchResultCell : public ui::TableCell {
public:
    static inline const gfx::Rect kNameFrame{20, 0, 100, 25}, kCodeFrame{20, 25, 100, 20};
    static inline const gfx::Rect kLastFrame{130, 0, 80, 44}, kRangeFrame{220, 0, 80, 44};

    SearchResultCell(Style style, std::string reuseIdentifier, gfx::Rect frame);
    void setUp() override;

    void setSelected(bool selected, bool animated) override;
    // Red above 0, green below, black at 0, for the price and the change.
    void SetUpdownColor(float change);
    void SetAddButtonShow(bool show);
    bool isAddButtonShown() const { return accessoryView() == m_addButton; }
    void AddBtnAction();

    ui::Label &StockNameLabel() { return *m_stockNameLabel; }
    ui::Label &StockCodeLabel() { return *m_stockCodeLabel; }
    ui::Label &RangeLabel() { return *m_rangeLabel; }
    ui::Label &LastLabel() { return *m_lastLabel; }
    ui::Button &addButton() { return *m_addButton; }

    base::Weak<SearchResultCellDelegate> delegate;

private:
    base::Ref<ui::Label> m_stockNameLabel, m_stockCodeLabel, m_rangeLabel, m_lastLabel;
    base::Ref<ui::Button> m_addButton;
    base::Ref<ui::ImageView> m_cellBackgroundView;
};
