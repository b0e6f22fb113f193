#pragma once

#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include "ui/Popover.h"

#include <string>

using BondModelViewDelegate = MarketListDelegate;

// The list of the market screen's bond tab: one bond market's quotes (Shanghai bonds at first),
// paged and ranked by the server, always in column rows. The bar's menu picks the market, keeping
// the sort; a tap on a sortable column sorts by its field, a second tap reverses the direction. A
// row opens the detail screen through the screen, with the rows held.
class BondModelView : public MarketTableBaseView,
                      public ConfigMarketBarViewDelegate,
                      public SwitchMarketMenuControllerDelegate,
                      public GeneralColumnDelegate {
public:
    static constexpr int TabIndex = 5;
    static constexpr int ClassID = 13;
    static constexpr const char *ObserverName = "BondModelViewNotify";
    static constexpr const char *ModuleName = "BondModel";
    static constexpr const char *DefaultMarketTitle = "上海债券";
    static constexpr const char *MenuFile = "BondModelMenu";
    static constexpr float BarHeight = 36;
    static constexpr int RiseColumn = 3;

    explicit BondModelView(gfx::Rect frame);
    void setUp() override;

    void reLayout(gfx::Rect frame);
    void SetCurrentSelectedMarketTitle(const std::string &title, int classID);

    int numberOfRows(int section) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    float heightForRow(ui::IndexPath) override { return m_tableGenRowHeight; }
    float heightForHeader(int) override { return m_tableHeaderHeight; }
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    void resetTimerCenterOnScroll() override;

    base::Opt<void> PerformAction(ui::Button &button) override;
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;

    static base::Array makeColumnArray();

    ConfigMarketBarView &configMarketBarView() { return *m_configMarketBarView; }
    GeneralColumn &titleColumn() { return *m_titleColumn; }
    ui::Popover *switchMarketMenuPopoverController() const {
        return m_switchMarketMenuPopoverController.get();
    }
    const std::string &currentSelMarketTitle() const { return m_currentSelMarketTitle; }

    base::Weak<BondModelViewDelegate> delegate;

protected:
    // What a list built as this one differs by: its tab, first class, names and menu.
    struct ListKind {
        int tabIndex, classID;
        const char *observerName, *moduleName, *marketTitle, *menuFile;
        // The process-wide mark of the kind's first header, which marks the rise column.
        bool *firstHeaderMarked;
    };
    BondModelView(gfx::Rect frame, const ListKind &kind, base::Array columns);
    // The header of the table, made again when the columns change.
    void makeTitleColumn();
    base::Array m_columnArray;
    base::Ref<GeneralColumn> m_titleColumn;

private:
    void openMarketMenu(ui::Button &button);

    ListKind m_kind;

    base::Ref<ConfigMarketBarView> m_configMarketBarView;
    base::Ref<ui::Popover> m_switchMarketMenuPopoverController;
    std::string m_currentSelMarketTitle;
};
