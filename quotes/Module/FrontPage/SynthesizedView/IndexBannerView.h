#pragma once

#include "DataBase/NetData/StockQuoteInf.h"
#include "Module/CommonControls/MinLine/Small/SmallMinLineView.h"

#include "ui/Gesture.h"
#include "ui/ImageView.h"
#include "ui/Label.h"

#include <string>

// Hears a tapped index tile: its code and its view tag. Optional.
class IndexBannerViewDelegate {
public:
    virtual ~IndexBannerViewDelegate() = default;
    virtual base::Opt<void> ReturnSelStockCode(const std::string &code, int tag) {
        (void)code, (void)tag;
        return base::notImplemented;
    }
};

// One tile of the home page's index column: the index name, its last value and change, coloured
// by the change (red up, green down, white unchanged or without a value yet), over a small
// intraday chart. A tap reports the tile's code and tag.
class IndexBannerView : public ui::View {
public:
    static constexpr float TileHeight = 190;

    explicit IndexBannerView(gfx::Rect frame);
    void setUp() override;

    // Shows the record's name, last value (field 4) and change (field 1).
    void SetStockData(const StockQuoteInf &record);
    // `change` is the last value less the previous close, as stored integers.
    void SetValueUpdownColor(int32_t change);

    ui::Label &nameLabel() { return *nameLabel_; }
    ui::Label &lastLabel() { return *lastLabel_; }
    ui::Label &rangeLabel() { return *rangeLabel_; }
    SmallMinLineView &minView() { return *minView_; }

    std::string stockCode;
    base::Weak<IndexBannerViewDelegate> delegate;

private:
    void handleTap(ui::GestureRecognizer *sender);

    base::Ref<ui::ImageView> background_;
    base::Ref<ui::Label> nameLabel_, lastLabel_, rangeLabel_;
    base::Ref<SmallMinLineView> minView_;
    base::Ref<ui::TapRecognizer> tapRecognizer_;
};
