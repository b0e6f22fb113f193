#include "Module/DetailShowPanel/DealQueuePanelView.h"

#include "Common/Util.h"
#include "base/Str.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "ui/ImageView.h"

namespace {

constexpr float kBadgeWidth = 64.5, kStripX = 58.5, kValuesWidth = 262;
constexpr float kHeaderFontSize = 13, kCellFontSize = 12;

struct HeaderColumn {
    float x, width;
    int tag; // relative to the side's base; 0 for the level caption
};

// The level caption and the four values, right to left ending on the side's right edge.
constexpr HeaderColumn kColumns[] = {{0, 36, 0},
                                     {36, 45, DealQueuePanelView::PriceTag},
                                     {81, 57, DealQueuePanelView::VolumeTag},
                                     {138, 52, DealQueuePanelView::NumTag},
                                     {190, 72, DealQueuePanelView::PerNumTag}};

base::Ref<ui::Label> makeLabel(gfx::Rect frame, base::Ref<gfx::Font> font, std::string text) {
    auto label = base::make<ui::Label>(frame);
    label->setFont(std::move(font));
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(gfx::Align::Right);
    label->setBackgroundColor(gfx::Color::clear());
    label->setText(std::move(text));
    return label;
}

} // namespace

DealQueuePanelView::DealQueuePanelView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width(), h = frame.height();
    buildSide({0, 0, w / 2 - 1, h}, SellBeginTag);
    buildSide({w / 2 + 1, 0, w / 2 - 1, h}, BuyBeginTag);
}

void DealQueuePanelView::buildSide(gfx::Rect rect, int beginTag) {
    bool sell = beginTag == SellBeginTag;
    float x = rect.x(), w = rect.width(), h = rect.height();
    addSubview(base::make<ui::ImageView>(gfx::Rect{x + kStripX, 0, w - kStripX, HeaderHeight},
                                         gfx::Image::named("titlebg.png")->stretchable(20, 0)));
    addSubview(base::make<ui::ImageView>(
        gfx::Rect{x, 0, kBadgeWidth, HeaderHeight},
        gfx::Image::named(sell ? "title_bid.png" : "title_red.png")->stretchable(4, 0)));
    float r = (h - HeaderHeight) / RowCount;
    for (int i = 0; i < RowCount; ++i)
        addSubview(base::make<ui::ImageView>(
            gfx::Rect{x, HeaderHeight + float(i) * r, w, r},
            gfx::Image::named(i % 2 == 0 ? "queueBgHeavy.png" : "queueBgLight.png")));

    base::Ref<gfx::Font> bold = gfx::Font::boldSystem(kHeaderFontSize);
    addSubview(makeLabel({x, 0, 43, HeaderHeight}, bold, sell ? "委卖" : "委买"));
    float m = x + w - kValuesWidth;
    const char *initial[] = {sell ? "卖一" : "买一", "0.00", "--", "--笔", "--手/笔"};
    for (size_t i = 0; i < std::size(kColumns); ++i) {
        auto label = makeLabel({m + kColumns[i].x, 0, kColumns[i].width, HeaderHeight}, bold, initial[i]);
        if (kColumns[i].tag)
            label->tag = beginTag + kColumns[i].tag;
        addSubview(label);
    }

    base::Ref<gfx::Font> font = gfx::Font::system(kCellFontSize);
    float cell = w / CellsPerRow;
    for (int j = 0; j < CellCount; ++j) {
        if (viewWithTag(beginTag + j))
            continue;
        float row = float(j / CellsPerRow), column = float(j % CellsPerRow);
        auto label = makeLabel({x + cell * column, HeaderHeight + r * row, cell, r}, font, "");
        label->tag = beginTag + j;
        addSubview(label);
    }
}

ui::Label *DealQueuePanelView::labelWithTag(int tag) {
    return dynamic_cast<ui::Label *>(viewWithTag(tag));
}

void DealQueuePanelView::UpdateQueueData(const std::vector<std::string> &queue, int beginTag, int value,
                                         int vol, int num, float perNum, int dig) {
    auto set = [this](int tag, std::string text) {
        if (ui::Label *label = labelWithTag(tag))
            label->setText(std::move(text));
    };
    set(beginTag + PriceTag, Util::FormatPrice(value, dig));
    set(beginTag + VolumeTag, Util::FormatVolume(vol, 5, 2));
    set(beginTag + NumTag, base::str::format("%d笔", num));
    set(beginTag + PerNumTag, base::str::format("%.1f手/笔", double(perNum)));
    for (int i = 0; i < CellCount; ++i)
        set(beginTag + i, size_t(i) < queue.size() ? queue[size_t(i)] : std::string());
}

void DealQueuePanelView::clearView() {
    UpdateQueueData({}, BuyBeginTag, 0, 0, 0, 0, 0);
    UpdateQueueData({}, SellBeginTag, 0, 0, 0, 0, 0);
}
