#include "Module/DetailShowPanel/TigerSubDetailView.h"

#include "base/Str.h"
#include "gfx/BitmapContext.h"
#include "gfx/Font.h"
#include "gfx/Image.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr int32_t kWhole = 10000;
constexpr float kSliceSize = 160, kTableTop = 162, kFontSize = 14, kVolumeFontSize = 12;
constexpr int kClasses = 4;
constexpr double kSliceDuration = 1.8;
constexpr int kVolumeField = 2;

base::Ref<ui::Label> makeLabel(gfx::Rect frame, float size, gfx::Align alignment) {
    auto label = base::make<ui::Label>(frame);
    label->setFont(gfx::Font::system(size));
    label->setTextColor(gfx::Color::white());
    label->setBackgroundColor(gfx::Color::clear());
    label->setTextAlignment(alignment);
    return label;
}

base::Ref<gfx::Color> rgb(int r, int g, int b) {
    return gfx::Color::rgba(r / 255.f, g / 255.f, b / 255.f);
}

// Without its artwork (no bundle) a picture takes no room.
gfx::Size sizeOf(const char *name) {
    auto image = gfx::Image::named(name);
    return image ? image->size() : gfx::Size{};
}

std::string artwork(const char *side, int classIndex) {
    return base::str::format("%s_0%d.png", side, classIndex + 1);
}

// Slices laid one after another from `start`, each spanning its rate's share of a half turn; the
// angles stay fractional until a sector is drawn.
TigerSubDetailView::Degrees accumulate(float start, const std::array<int32_t, 4> &spanRates) {
    TigerSubDetailView::Degrees degrees{};
    for (int i = 0; i < kClasses; ++i) {
        degrees[i].start = start;
        start += float(spanRates[i]) * 180.f / float(kWhole);
        degrees[i].end = start;
    }
    return degrees;
}

} // namespace

TigerDetailCell::TigerDetailCell(const std::string &identifier) : ui::TableCell(Style::Default, identifier) {
    m_backgroundImage = base::make<ui::ImageView>();
    m_tagLabel = base::make<ui::Label>();
    m_titleLabel = makeLabel({}, kFontSize, gfx::Align::Left);
    m_valueLabel1 = makeLabel({}, kFontSize, gfx::Align::Right);
    m_valueLabel2 = makeLabel({}, kFontSize, gfx::Align::Right);
    for (const auto &view : {base::Ref<ui::View>(m_backgroundImage), base::Ref<ui::View>(m_tagLabel),
                             base::Ref<ui::View>(m_titleLabel), base::Ref<ui::View>(m_valueLabel1),
                             base::Ref<ui::View>(m_valueLabel2)})
        contentView().addSubview(view);
}

void TigerDetailCell::layoutSubviews() {
    ui::TableCell::layoutSubviews();
    float w = bounds().width(), h = bounds().height();
    m_backgroundImage->setFrame({0, 0, w, h});
    m_tagLabel->setFrame({5, h / 6, 2 * h / 3, 2 * h / 3});
    m_titleLabel->setFrame({2 * h / 3 + 20, 0, w / 3, h});
    m_valueLabel1->setFrame({w / 3, 0, w / 3, h});
    m_valueLabel2->setFrame({2 * w / 3, 0, w / 3, h});
}

TigerDetailHeader::TigerDetailHeader(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("tigerHeader.png")));
    m_backgroundImage = base::make<ui::ImageView>(gfx::Rect{0, 0, frame.width(), frame.height()});
    m_titleLabel = makeLabel({0, 0, 170, frame.height()}, kFontSize, gfx::Align::Left);
    m_unitLabel = makeLabel({170, 0, 100, frame.height()}, kFontSize, gfx::Align::Left);
    addSubview(m_backgroundImage);
    addSubview(m_titleLabel);
    addSubview(m_unitLabel);
}

struct TigerSubDetailView::Relay : ui::TableDataSource, ui::TableDelegate {
    base::Weak<TigerSubDetailView> view;

    int numberOfSections(ui::TableView &) override { return 2; }
    int numberOfRows(ui::TableView &, int) override { return view.lock() ? kClasses : 0; }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<TigerDetailCell>(table.dequeueReusableCell(CellIdentifier));
        if (!cell)
            cell = base::make<TigerDetailCell>(CellIdentifier);
        if (auto v = view.lock())
            v->fill(*cell, path.section, path.row);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return height(); }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return height(); }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &table, int section) override {
        gfx::Rect frame{0, 0, table.bounds().width(), height()};
        auto holder = base::make<ui::View>(frame);
        holder->setBackgroundColor(gfx::Color::clear());
        auto header = base::make<TigerDetailHeader>(frame);
        bool buy = section == 0;
        header->titleLabel().setText(buy ? " 已成交的委买单" : " 已成交的委卖单");
        auto colour = buy ? gfx::Color::red() : gfx::Color::green();
        header->titleLabel().setTextColor(colour);
        header->unitLabel().setTextColor(colour);
        holder->addSubview(header);
        return holder;
    }
    float height() const {
        auto v = view.lock();
        return v ? v->m_tableRowHeight : 0;
    }
};

TigerSubDetailView::Rates TigerSubDetailView::SideRates(int32_t zd, int32_t dd, int32_t tdd) {
    Rates rates{0, std::clamp(zd, 0, kWhole), std::clamp(dd, 0, kWhole), std::clamp(tdd, 0, kWhole)};
    int32_t sum = rates[1] + rates[2] + rates[3];
    if (sum > kWhole) {
        for (int i = 1; i < kClasses; ++i)
            rates[i] = int32_t(int64_t(rates[i]) * kWhole / sum);
        // Rounding down leaves a few units over: they go to the largest class, not to small orders.
        auto largest = std::max_element(rates.begin() + 1, rates.end());
        *largest += kWhole - (rates[1] + rates[2] + rates[3]);
    }
    rates[0] = kWhole - (rates[1] + rates[2] + rates[3]);
    return rates;
}

TigerSubDetailView::TigerSubDetailView(gfx::Rect frame) : ui::View(frame), m_relay(base::make<Relay>()) {
    setBackgroundColor(gfx::Color::clear());
    initData();
    buildView();
}

TigerSubDetailView::~TigerSubDetailView() {
    m_valueTableView->dataSource.reset();
    m_valueTableView->delegate.reset();
}

void TigerSubDetailView::setUp() {
    ui::View::setUp();
    m_relay->view = weakSelf<TigerSubDetailView>();
    m_valueTableView->reloadData();
}

void TigerSubDetailView::initData() {
    m_colorBuyArray = {rgb(255, 74, 113), rgb(255, 39, 85), rgb(191, 33, 67), rgb(117, 22, 62)};
    m_colorSellArray = {rgb(119, 195, 208), rgb(55, 177, 208), rgb(0, 118, 160), rgb(0, 100, 175)};
    m_titleArray = {"小单", "中单", "大单", "特大单"};
}

void TigerSubDetailView::buildView() {
    float w = bounds().width(), h = bounds().height();
    gfx::Size titleSize = sizeOf("sell_title_bg.png");
    auto sellTitle = makeLabel({0, 0, titleSize.w, titleSize.h}, kFontSize, gfx::Align::Left);
    sellTitle->setText("委卖");
    addSubview(sellTitle);
    auto buyTitle = makeLabel({w - titleSize.w, 0, titleSize.w, titleSize.h}, kFontSize, gfx::Align::Right);
    buyTitle->setText("委买");
    addSubview(buyTitle);

    m_imageSize = sizeOf("red_01.png");
    m_radius = m_imageSize.w / 2;
    m_arcCenter = {m_radius, m_radius};
    m_redDegreeArray = {Degree{270, 330}, {330, 360}, {360, 370}, {370, 450}};
    m_greenDegreeArray = {Degree{90, 135}, {135, 180}, {180, 225}, {225, 270}};
    gfx::Rect sliceFrame{w / 2 - kSliceSize / 2, 0, kSliceSize, kSliceSize};
    for (int side = 0; side < 2; ++side)
        for (int i = 0; i < kClasses; ++i) {
            auto slice = base::make<ui::ImageView>(sliceFrame);
            slice->tag = (side == 0 ? beginRedTag : beginGreenTag) + i;
            addSubview(slice);
        }
    for (int i = 0; i < kClasses; ++i) {
        m_redImageNames[i] = artwork("red", i);
        drawSlice(beginRedTag + i, m_redImageNames[i], m_redDegreeArray[i]);
        drawSlice(beginGreenTag + i, artwork("green", i), m_greenDegreeArray[i]);
    }

    m_volLabel = base::make<ui::Label>(gfx::Rect{w / 2 - 30, 50, 60, 60});
    m_volLabel->setFont(gfx::Font::named("Gurmukhi", kVolumeFontSize));
    m_volLabel->setTextColor(gfx::Color::white());
    m_volLabel->setBackgroundColor(gfx::Color::clear());
    m_volLabel->setTextAlignment(gfx::Align::Center);
    addSubview(m_volLabel);

    // Two headers and eight rows fill the table exactly.
    m_tableRowHeight = (h - 170) / 10;
    m_valueTableView = base::make<ui::TableView>(gfx::Rect{0, kTableTop, w, h - 170});
    m_valueTableView->setBackgroundColor(gfx::Color::clear());
    m_valueTableView->scrollEnabled = false;
    m_valueTableView->allowsSelection = false;
    m_valueTableView->separatorStyle = ui::TableView::Separator::None;
    m_valueTableView->dataSource = m_relay;
    m_valueTableView->delegate = m_relay;
    addSubview(m_valueTableView);
}

// The artwork clipped to the pie sector of the slice's whole degrees. The bitmap's y axis points
// up, so on screen the sectors come out mirrored top to bottom: growing angles run clockwise from
// the bottom, which puts the extra-large slices of both sides at the bottom of the ring.
void TigerSubDetailView::drawSlice(int tag, const std::string &name, Degree degree) {
    auto *slice = dynamic_cast<ui::ImageView *>(viewWithTag(tag));
    auto image = gfx::Image::named(name);
    if (!slice || !image)
        return;
    constexpr float toRadians = std::numbers::pi_v<float> / 180;
    gfx::BitmapContext bitmap(int(m_imageSize.w), int(m_imageSize.h));
    bitmap.beginPath();
    bitmap.addArc(m_arcCenter, m_radius, float(int(degree.start)) * toRadians,
                  float(int(degree.end)) * toRadians, false);
    bitmap.lineTo(m_arcCenter);
    bitmap.closePath();
    bitmap.clip();
    bitmap.drawImageRaw({0, 0, m_imageSize.w, m_imageSize.h}, *image);
    slice->setImage(bitmap.makeImage());
}

void TigerSubDetailView::SetTigerData(const base::Ref<StockBasicInf> &record) {
    m_stockInfo = record ? record : base::make<StockBasicInf>();
    m_volLabel->setText(m_stockInfo->FormatValue(kVolumeField));
    m_buyArray = SideRates(m_stockInfo->buyZDRate, m_stockInfo->buyDDRate, m_stockInfo->buyTDDRate);
    m_sellArray = SideRates(m_stockInfo->sellZDRate, m_stockInfo->sellDDRate, m_stockInfo->sellTDDRate);

    // Buy slices run from extra-large to small, sell slices from small to extra-large.
    m_redDegreeArray = accumulate(270, {m_buyArray[3], m_buyArray[2], m_buyArray[1], m_buyArray[0]});
    ui::View::animate(kSliceDuration, 0, ui::Curve::EaseIn, [this] {
        for (int i = 0; i < kClasses; ++i) {
            m_redImageNames[i] = artwork("red", kClasses - 1 - i);
            drawSlice(beginRedTag + i, m_redImageNames[i], m_redDegreeArray[i]);
        }
    });
    m_greenDegreeArray = accumulate(90, m_sellArray);
    ui::View::animate(kSliceDuration, 0, ui::Curve::EaseIn, [this] {
        for (int i = 0; i < kClasses; ++i)
            drawSlice(beginGreenTag + i, artwork("green", i), m_greenDegreeArray[i]);
    });
    m_valueTableView->reloadData();
}

void TigerSubDetailView::clearView() {
    SetTigerData(base::make<StockBasicInf>());
}

void TigerSubDetailView::fill(TigerDetailCell &cell, int section, int row) const {
    if (row < 0 || row >= kClasses)
        return;
    bool buy = section == 0;
    cell.backgroundImage().setImage(
        gfx::Image::named(row % 2 ? "tigercell_bg_light.png" : "tigercell_bg_dark.png"));
    cell.tagLabel().setBackgroundColor((buy ? m_colorBuyArray : m_colorSellArray)[row]);
    cell.titleLabel().setText(m_titleArray[row]);
    int32_t rate = (buy ? m_buyArray : m_sellArray)[row];
    double volume = m_stockInfo ? double(m_stockInfo->vol) : 0;
    cell.valueLabel1().setText(base::str::format("%.f", double(rate) * volume / kWhole));
    cell.valueLabel2().setText(base::str::format("%.2f%%", double(rate) / 100));
}
