#pragma once

#include "Module/Market/CurrModelCell.h"
#include "Module/Market/DefaultColumn.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "ui/Button.h"
#include "ui/Popover.h"

using CurrModelViewDelegate = MarketListDelegate;

// The list of the market screen's forex tab: on top a tile with the US dollar index ("IXUDI") and
// its intraday picture, below it the quotes of one forex market (the global one at first) in
// mini-trend rows, paged, always in the server's order 0. The market button sits in the list's
// header over fixed captions that sort nothing. The tile and every row open the detail screen
// through the screen; the tile's quote and picture are fetched with the list and again on each
// refresh tick while the tile shows.
class CurrModelView : public MarketTableBaseView, public SwitchMarketMenuControllerDelegate {
public:
    static constexpr int TabIndex = 6;
    static constexpr int ClassID = 104;
    static constexpr int TableTag = 333;
    static constexpr int MenuButtonTag = 1201;
    static constexpr int TileSection = 0, ListSection = 1;
    static constexpr float TileRowHeight = 140;
    // The captions of the header cells are the field menu's rows of ids 100 to 104.
    static constexpr int FirstHeaderClassID = 100;
    static constexpr const char *ObserverName = "CurrModelViewNotify";
    static constexpr const char *ModuleName = "CurrModel";
    static constexpr const char *DefaultMarketTitle = "全球外汇";
    static constexpr const char *MenuFile = "CurrModelMenu";
    static constexpr const char *FieldMenuFile = "CurrencyFieldRankMenu";
    static constexpr const char *TileName = "美元指数";
    static constexpr const char *TileCode = "UDI";

    explicit CurrModelView(gfx::Rect frame);
    void setUp() override;

    void reLayout(gfx::Rect frame);
    void leftButtonAction(ui::Button *button);

    int numberOfSections() override { return 2; }
    int numberOfRows(int section) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    float heightForRow(ui::IndexPath path) override;
    float heightForHeader(int section) override;
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    // Only list rows count in the refresh window; the tile refreshes on its own.
    int recordIndexOfRow(ui::IndexPath path) const override {
        return path.section == ListSection ? path.row : -1;
    }
    void resetTimerCenterOnScroll() override;
    // Refreshes the visible list rows, and the dollar index while the tile shows; true when
    // either is on view.
    bool NotifyTimeEvent() override;

    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    base::Opt<void> UpdateUDI(const base::Ref<StockQuoteInf> &record) override;
    base::Opt<void> UpdateUDIMinLine(const std::string &code, const MinutePoints &points) override;

    ui::Button &leftButton() { return *m_leftButton; }
    DefaultColumn &defaultColumn() { return *m_defaultColumn; }
    const base::Ref<StockQuoteInf> &udiBasicInf() const { return m_udiBasicInf; }
    ui::Popover *switchMarketMenuPopoverController() const {
        return m_switchMarketMenuPopoverController.get();
    }

    base::Weak<CurrModelViewDelegate> delegate;

private:
    void makeLeftButton();
    base::Ref<ui::TableCell> tileCell(ui::TableView &table);
    base::Ref<ui::TableCell> listCell(ui::TableView &table, int row);
    bool isTileVisible() const;

    base::Array m_menu_1_Array;
    base::Ref<DefaultColumn> m_defaultColumn;
    base::Ref<ui::Button> m_leftButton;
    base::Ref<StockQuoteInf> m_udiBasicInf;
    base::Ref<ui::Popover> m_switchMarketMenuPopoverController;
};
