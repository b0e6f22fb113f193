#pragma once

#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/RankedMarketListView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "ui/Popover.h"

#include <string>

using StockModelViewDelegate = MarketListDelegate;

// The list of the market screen's stock tab: one market's securities (all A shares at first),
// paged and ranked by the server, under a bar whose menu picks the market and whose mode button
// switches between 70-point rows with an intraday picture and 44-point column rows. Both headers
// sort: a tap on a column or cell sorts by its field, a second tap reverses the direction; in
// mini-trend mode three cells also let the user swap their field. A row opens the detail screen
// through the screen, with the rows held so that it can step through them.
class StockModelView : public RankedMarketListView,
                       public ConfigMarketBarViewDelegate,
                       public SwitchMarketMenuControllerDelegate {
public:
    static constexpr int TabIndex = 2;
    static constexpr const char *ObserverName = "StockModelViewNotify";
    static constexpr const char *ModuleName = "StockModel";
    static constexpr const char *DefaultMarketTitle = "沪深A股";
    static constexpr const char *MenuFile = "StockModelMenu";
    static constexpr const char *FieldMenuFile = "StockFieldRankMenu";
    static constexpr float BarHeight = 36;
    // The column of the initial sort (rise) when no header was tapped yet.
    static constexpr int RiseColumn = 3;
    static constexpr int HeaderFields[DefaultColumn::HeaderCount] = {4, 1, 21, 2, 20};

    explicit StockModelView(gfx::Rect frame);
    void setUp() override;

    void reLayout(gfx::Rect frame);
    void SetCurrentSelectedMarketTitle(const std::string &title, int classID);

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    void resetTimerCenterOnScroll() override;

    base::Opt<void> PerformAction(ui::Button &button) override;
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;

    static base::Array makeColumnArray();

    ConfigMarketBarView &configMarketBarView() { return *m_configMarketBarView; }
    ui::Popover *switchMarketMenuPopoverController() const {
        return m_switchMarketMenuPopoverController.get();
    }
    const std::string &currentSelMarketTitle() const { return m_currentSelMarketTitle; }

    base::Weak<StockModelViewDelegate> delegate;

private:
    void openMarketMenu(ui::Button &button);

    base::Ref<ConfigMarketBarView> m_configMarketBarView;
    base::Ref<ui::Popover> m_switchMarketMenuPopoverController;
    base::Value m_menuRows;
    std::string m_currentSelMarketTitle = DefaultMarketTitle;
};
