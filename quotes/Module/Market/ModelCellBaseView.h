#pragma once

#include "Module/CommonControls/MinLine/Mini/MiniMinLineView.h"

#include "ui/Gesture.h"
#include "ui/ImageView.h"
#include "ui/IndexPath.h"
#include "ui/TableCell.h"

#include <optional>
#include <string>

// Hears a tap on a trend picture.
class MiniMinLineImageViewDelegate {
public:
    virtual ~MiniMinLineImageViewDelegate() = default;
    virtual base::Opt<void> OnClickImageView() { return base::notImplemented; }
};

// The image view of a row's small intraday picture. It takes touches only once its row turns
// them on and listens; otherwise a tap on the picture is a tap on the row.
class MiniMinLineImageView : public ui::ImageView {
public:
    using ui::ImageView::ImageView;
    void setUp() override;
    void handleTapEvent();

    base::Weak<MiniMinLineImageViewDelegate> delegate;
};

// Hears a tap on a row's trend picture, with the row's position.
class ModelCellBaseViewDelegate {
public:
    virtual ~ModelCellBaseViewDelegate() = default;
    virtual base::Opt<void> ReturnSelectedCell(base::Object *sender, ui::IndexPath indexPath) {
        (void)sender, (void)indexPath;
        return base::notImplemented;
    }
};

// The base of every 70-point row of the market lists in mini-trend mode: its subclass lays out
// the name block and the numbers in `initUI` and ends with `initMiniImageView`, which puts the
// security's intraday picture at the row's right end (x 745, 265 wide, 80 % of the row's height).
// The list hands the row its picture from its `MiniViewManager`; until the picture is drawn the
// row shows the waiting image.
class ModelCellBaseView : public ui::TableCell, public MiniMinLineImageViewDelegate {
public:
    static constexpr float TrendX = 745, TrendWidth = 265;

    using ui::TableCell::TableCell;

    // Makes the trend image view on the first call and places it for a row of that rectangle.
    void initMiniImageView(gfx::Rect rect);
    // The picture's image, or the waiting image while it has none; a row without a trend image view
    // keeps the picture instead.
    void showMView(const base::Ref<MiniMinLineView> &mview);
    base::Opt<void> OnClickImageView() override;

    MiniMinLineImageView *miniImageView() const { return m_miniImageView.get(); }

    base::Ref<MiniMinLineView> miniViewObj;
    std::string code;
    base::Ref<StockQuoteInf> basicInf;
    std::optional<ui::IndexPath> indexPath;
    base::Weak<ModelCellBaseViewDelegate> delegate;

private:
    base::Ref<MiniMinLineImageView> m_miniImageView;
};
