#pragma once

#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/DefaultColumn.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "Module/CommonControls/GeneralColumn/GeneralColumn.h"

#include "ui/Popover.h"

#include <array>
#include <cstdint>
#include <string>

using ProdModelViewDelegate = MarketListDelegate;

// The list of the market screen's commodity tab: the futures of one product class (stock index
// futures at first) in one block of up to 50 rows, which every refresh tick asks again whole;
// scrolling asks for nothing. Rows show mini-trend pictures or plain columns, switched by the
// bar's mode button; changes and rises are against the previous settlement. The bar's menu offers
// the quote server's product class tree as last received. Sorting goes through the product sort
// ids.
class ProdModelView : public MarketTableBaseView,
                      public ConfigMarketBarViewDelegate,
                      public SwitchMarketMenuControllerDelegate,
                      public GeneralColumnDelegate,
                      public DefaultColumnDelegate {
public:
    static constexpr int TabIndex = 4;
    static constexpr int ClassID = 0xfffd;
    static constexpr const char *ObserverName = "ProdModelViewNotify";
    static constexpr const char *ModuleName = "ProdModel";
    static constexpr const char *DefaultMarketTitle = "股指期货";
    static constexpr const char *FieldMenuFile = "ProdFieldRankMenu";
    static constexpr float BarHeight = 36;
    static constexpr int RiseColumn = 3;
    static constexpr int HeaderFields[DefaultColumn::HeaderCount] = {4, 526, 512, 2, 517};

    explicit ProdModelView(gfx::Rect frame);
    void setUp() override;

    void reLayout(gfx::Rect frame);
    void RefreshTable();

    int numberOfRows(int section) override;
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
    float heightForRow(ui::IndexPath path) override;
    float heightForHeader(int) override { return m_tableHeaderHeight; }
    base::Ref<ui::View> viewForHeader(int section) override;
    void didSelectRow(ui::IndexPath path) override;
    void resetTimerCenterOnScroll() override;
    // Asks for the whole block again, shown or not.
    bool NotifyTimeEvent() override;
    // The block is not paged, so no rows are asked for here: in mini-trend mode the pictures of the
    // rows on view are, when a scroll ends and after each refresh, as often as the cache allows.
    void reqCurScreenData(bool force) override;
    base::Opt<void> UpdateTableDataSource(const base::Ref<base::Object> &rows,
                                          bool isFirstGetQuotes) override;

    base::Opt<void> PerformAction(ui::Button &button) override;
    base::Opt<void> ReturnSelectedMarket(const base::Value &row) override;
    base::Opt<void> ClickHeaderAction(GeneralHeaderView &header, int column, int status) override;
    base::Opt<void> ReturnUpdownTag(int upDown, int classID, int headerID) override;
    base::Opt<void> ReturnSelectedFieldName(const std::string &name, int classID, int headerID) override;

    static base::Array makeColumnArray();

    ConfigMarketBarView &configMarketBarView() { return *m_configMarketBarView; }
    GeneralColumn &titleColumn() { return *m_titleColumn; }
    DefaultColumn &defaultColumn() { return *m_defaultColumn; }
    ui::Popover *switchMarketMenuPopoverController() const {
        return m_switchMarketMenuPopoverController.get();
    }
    const std::string &currentSelMarketTitle() const { return m_currentSelMarketTitle; }
    const std::array<int32_t, 3> &RankFields() const { return m_rankFields; }

    base::Weak<ProdModelViewDelegate> delegate;

private:
    void openClassMenu(ui::Button &button);

    base::Ref<ConfigMarketBarView> m_configMarketBarView;
    base::Ref<ui::Popover> m_switchMarketMenuPopoverController;
    base::Weak<SwitchMarketMenuController> m_classMenu;
    std::string m_currentSelMarketTitle = DefaultMarketTitle;
    base::Array m_menu_1_Array;
    base::Array m_columnArray;
    base::Ref<GeneralColumn> m_titleColumn;
    base::Ref<DefaultColumn> m_defaultColumn;
    std::array<int32_t, 3> m_rankFields{512, 2, 517};
};
