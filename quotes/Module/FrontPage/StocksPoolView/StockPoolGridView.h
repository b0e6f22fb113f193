#pragma once

#include "DataBase/NetData/StockPoolInf.h"
#include "Module/CommonControls/GeneralCell/GeneralCell.h"

#include "base/Value.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/TableView.h"

#include <cstdint>
#include <vector>

class StockPoolGridView;

// What a pool page hears from its boards. Optional.
class StockPoolGridViewDelegate {
public:
    virtual ~StockPoolGridViewDelegate() = default;
    // A small board's zoom button: open the enlarged board over it.
    virtual base::Opt<void> ZoomInAction(StockPoolGridView &board) {
        (void)board;
        return base::notImplemented;
    }
    // The enlarged board has closed (after its animation back, when it opened with one).
    virtual base::Opt<void> ZoomOutAction(StockPoolGridView &board) {
        (void)board;
        return base::notImplemented;
    }
    virtual base::Opt<void> ReturnSelectedRowItem(const base::Ref<StockPoolInf> &record) {
        (void)record;
        return base::notImplemented;
    }
};

// One pool board of the stock-pool pages: a coloured panel with a bold title, a zoom button on the
// small boards (type 0, names only) and on the enlarged board (type 3, a column table with a
// header whose captions sort nothing), and a table of the pool's stocks. The large boards show
// entry time, name, code, last, change, gain and entry price per row (type 1 with the gain beside
// the entry price, type 2 with the gain large on top). Rows alternate the board's colour at alpha
// 0.1 and 0.03. The board shows what it is given and reports taps; it asks for nothing.
class StockPoolGridView : public ui::View {
public:
    enum GridType : uint16_t { NamesOnly = 0, PoolRows = 1, LargeGainRows = 2, DetailTable = 3 };
    static constexpr double ZoomSeconds = 0.3;
    static constexpr const char *ReuseIdentifier = "genneralGridCell";

    StockPoolGridView(gfx::Rect frame, uint16_t gridType = NamesOnly);
    void setUp() override;

    void SetDataArray(std::vector<base::Ref<StockPoolInf>> rows);
    // Grows (or moves) the board to `rect`, remembering where it came from.
    void ShowWithAnimationZoomToRect(gfx::Rect rect);
    // Returns to where the zoom started and then reports ZoomOutAction.
    void DismissWithAnimation();
    void zoomInAction(ui::Button *sender);
    void zoomOutAction(ui::Button *sender);
    // The board's colour, under its title and, faintly, under its rows.
    void setBoardColor(base::Ref<gfx::Color> color);
    void setBoardColor(float red, float green, float blue);
    const base::Ref<gfx::Color> &boardColor() const { return boardColor_; }

    // The columns of the enlarged board, in order.
    static base::Array detailColumns();

    ui::Label &titleLabel() { return *titleLabel_; }
    ui::Button &zoomInOutBtn() { return *zoomInOutBtn_; }
    ui::TableView &tableView() { return *mTableView_; }
    const std::vector<base::Ref<StockPoolInf>> &dataArray() const { return dataArray_; }
    uint16_t iGridType() const { return iGridType_; }
    bool isAnimationShowClose() const { return isAnimationShowClose_; }
    gfx::Rect fromRect() const { return fromRect_; }

    float rowHeight = 44;
    float headerHeight = 0;
    base::Weak<StockPoolGridViewDelegate> delegate;

private:
    struct Table;
    void layoutParts(gfx::Size size);
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, int row);
    void didSelectRow(int row);

    uint16_t iGridType_;
    base::Ref<ui::Label> titleLabel_;
    base::Ref<ui::Button> zoomInOutBtn_;
    base::Ref<ui::TableView> mTableView_;
    base::Ref<Table> table_;
    std::vector<base::Ref<StockPoolInf>> dataArray_;
    base::Array columnArray_;
    base::Ref<gfx::Color> boardColor_ = gfx::Color::clear();
    bool isAnimationShowClose_ = false;
    gfx::Rect fromRect_;
};
