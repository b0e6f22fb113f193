#pragma once

#include "Module/Market/ConfigMarketBarView.h"
#include "Module/Market/RankedMarketListView.h"
#include "Module/Market/SwitchMarketMenuController.h"

#include "ui/Popover.h"

#include <string>

using ProdModelViewDelegate = MarketListDelegate;

// The list of the market screen's commodity tab: the futures of one product class (stock index
// futures at first) in one block of up to 50 rows, which every refresh tick asks again whole;
// scrolling asks for nothing. Rows show mini-trend pictures or plain columns, switched by the
// bar's mode button; changes and rises are against the previous settlement. The bar's menu offers
// the quote server's product class tree as last received. Sorting goes through the product sort
// ids.
class ProdModelView : public RankedMarketListView,
                      public ConfigMarketBarViewDelegate,
                      public SwitchMarketMenuControllerDelegate {
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

    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override;
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

    static base::Array makeColumnArray();

    ConfigMarketBarView &configMarketBarView() { return *m_configMarketBarView; }
    ui::Popover *switchMarketMenuPopoverController() const {
        return m_switchMarketMenuPopoverController.get();
    }
    const std::string &currentSelMarketTitle() const { return m_currentSelMarketTitle; }

    base::Weak<ProdModelViewDelegate> delegate;

protected:
    int sortIdOfField(int field) const override;

private:
    void openClassMenu(ui::Button &button);

    base::Ref<ConfigMarketBarView> m_configMarketBarView;
    base::Ref<ui::Popover> m_switchMarketMenuPopoverController;
    base::Weak<SwitchMarketMenuController> m_classMenu;
    std::string m_currentSelMarketTitle = DefaultMarketTitle;
};
