#include "Module/NewsViewController/NewsListCell.h"

#include "Common/UtilUI.h"
#include "gfx/Color.h"
#include "gfx/Font.h"
#include "ui/ImageView.h"

NewsListCell::NewsListCell(const std::string &reuseIdentifier, float width, float height, int showStyle)
    : ui::TableCell(Style::Default, reuseIdentifier), width_(width), height_(height), showStyle_(showStyle) {}

void NewsListCell::setUp() {
    ui::TableCell::setUp();
    const float w = width_, h = height_;
    auto lightText = gfx::Color::white(1, 0.6f);
    // A stock news row is as wide as its list: its texts keep 10 points clear of both edges, or the
    // title's end and the time would be cut.
    const float textWidth = showStyle_ == StockNewsStyle ? w - 20 : w;
    if (showStyle_ == StockNewsStyle) {
        titleLabel_ =
            createSubLabelWithFrame({10, 0, textWidth, h - 24}, gfx::Color::white(), 16, gfx::Align::Left);
        titleLabel_->setNumberOfLines(2);
    } else {
        titleLabel_ = createSubLabelWithFrame({10, 0, w, 36}, gfx::Color::white(), 18, gfx::Align::Left);
        // Down to the time line, so that both summary lines show whole.
        summaryLabel_ =
            createSubLabelWithFrame({10, 36, w, 40}, gfx::Color::lightGray(), 14, gfx::Align::Left);
        summaryLabel_->setNumberOfLines(2);
    }
    float timeTop = showStyle_ == StockNewsStyle ? h - 24 : 76;
    datetimeLabel_ = createSubLabelWithFrame({10, timeTop, textWidth, 24}, lightText, 14, gfx::Align::Right);
    setSelectedBackgroundView(
        base::make<ui::ImageView>(gfx::Rect{0, 0, w, h}, UtilUI::imageNamed("SelectedBg.png")));
}

base::Ref<ui::Label> NewsListCell::createSubLabelWithFrame(gfx::Rect frame, base::Ref<gfx::Color> textColor,
                                                           float fontSize, gfx::Align alignment) {
    auto label = base::make<ui::Label>(frame);
    label->setBackgroundColor(gfx::Color::clear());
    label->opaque = false;
    label->setTextColor(std::move(textColor));
    label->setFont(gfx::Font::system(fontSize));
    label->setTextAlignment(alignment);
    contentView().addSubview(label);
    return label;
}

void NewsListCell::updateWithTitle(const std::string &title, const std::string &summary,
                                   const std::string &datetime) {
    titleLabel_->setText(title);
    if (summaryLabel_)
        summaryLabel_->setText(summary);
    datetimeLabel_->setText(datetime);
}
