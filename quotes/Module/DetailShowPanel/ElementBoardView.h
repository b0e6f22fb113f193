#pragma once

#include "DataBase/NetData/StockBoardInf.h"
#include "Module/DetailShowPanel/ElementStockView.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>
#include <vector>

// Hears the trend button of a board row, with the row it sits in.
class ElementBoardCellDelegate {
public:
    virtual ~ElementBoardCellDelegate() = default;
    virtual void ShowTlineAtIndex(ui::IndexPath indexPath) = 0;
};

// One board of the stock's board list: name, index level and change, and the trend button.
class ElementBoardCell : public ui::TableCell {
public:
    explicit ElementBoardCell(const std::string &identifier);
    void setUp() override;
    void layoutSubviews() override;
    void SetCellBgColor(base::Ref<gfx::Color> colour);

    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::Label &lastLabel() { return *m_lastLabel; }
    ui::Label &rangeLabel() { return *m_rangeLabel; }
    ui::Button &showTlBtn() { return *m_showTlBtn; }

    ui::IndexPath indexPath;
    base::Weak<ElementBoardCellDelegate> delegate;

private:
    base::Ref<ui::View> m_background;
    base::Ref<ui::Label> m_nameLabel, m_lastLabel, m_rangeLabel;
    base::Ref<ui::Button> m_showTlBtn;
};

// Hears what the user picked in the board list.
class ElementBoardViewDelegate {
public:
    virtual ~ElementBoardViewDelegate() = default;
    virtual base::Opt<void> enterBoardStocks(int boardID, const std::string &name) {
        (void)boardID, (void)name;
        return base::notImplemented;
    }
    // A board or a stock to show in the pop-up detail window.
    virtual base::Opt<void> ReturnTlineStock(const std::string &code, const std::string &name) {
        (void)code, (void)name;
        return base::notImplemented;
    }
};

// The "板块" tab of the stock panel: the boards the shown stock belongs to, with each board's
// index level and change, in 44-point rows of alternating blues. The detail screen fills it from
// its stock-boards reply; the trend button of a row asks the owner to show that board. A tap on a
// board slides its member list (ElementStockView) in over the rows; the detail screen's refresh
// tick reaches that list only while it is slid in, and a member tap asks the owner to show that
// member. The list is made on the first board tap and kept by the view tree, not by this view.
class ElementBoardView : public ui::View, public ElementBoardCellDelegate, public ElementStockViewDelegate {
public:
    static constexpr const char *CellIdentifier = "generalCell";
    static constexpr float RowHeight = 44;
    // The row background by row number.
    static base::Ref<gfx::Color> RowColor(int row);

    explicit ElementBoardView(gfx::Rect frame);
    ~ElementBoardView() override;
    void setUp() override;

    void SetElementBoardDataArray(std::vector<base::Ref<StockBoardInf>> boards);
    void ShowTlineAtIndex(ui::IndexPath indexPath) override;
    // The detail screen's refresh tick, passed on to the member list while it is slid in.
    void reqDataOnTimer();
    base::Opt<void> ReturnStockMarketCode(const std::string &code, const std::string &name) override;
    // The member list, null before the first board tap.
    base::Ref<ElementStockView> elementStockView() const { return m_elementStockView.lock(); }

    const std::vector<base::Ref<StockBoardInf>> &dataArray() const { return m_dataArray; }
    ui::TableView &tableView() { return *m_tableView; }

    base::Weak<ElementBoardViewDelegate> delegate;

private:
    struct Relay;
    void fill(ElementBoardCell &cell, ui::IndexPath path);
    void tapped(int row);

    base::Ref<ui::TableView> m_tableView;
    base::Ref<Relay> m_relay;
    std::vector<base::Ref<StockBoardInf>> m_dataArray;
    base::Weak<ElementStockView> m_elementStockView;
};
