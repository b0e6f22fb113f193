#include "Module/NavToolBarModule/SearchMyStockPopover/SearchBarTitleView.h"

#include "gfx/Font.h"
#include "gfx/Text.h"
#include "ui/Label.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float kTitleSize = 16, kMeasureSize = 14;

} // namespace

SearchBarTitleView::SearchBarTitleView(gfx::Rect frame) : ui::View(frame) {
    float w = frame.width();
    auto label = base::make<ui::Label>(gfx::Rect{0, 5, 100, 32});
    label->setText(kAddTitle);
    label->setTextColor(gfx::Color::white());
    label->setFont(gfx::Font::boldSystem(kTitleSize));
    label->setTextAlignment(gfx::Align::Center);
    label->setBackgroundColor(gfx::Color::clear());
    addSubview(label);

    base::Ref<gfx::Image> ground = gfx::Image::named("searchStock_bg.png");
    m_backgroundImage = base::make<ui::ImageView>(gfx::Rect{110, 5, w - 90, 32},
                                                  ground ? ground->stretchable(5, 5) : nullptr);
    addSubview(m_backgroundImage);

    base::Ref<gfx::Image> left = gfx::Image::named("left_orient.png"),
                          right = gfx::Image::named("right_orient.png");
    float arrow = left ? left->size().w : 0;
    m_leftArrow = base::make<ui::ImageView>(left);
    m_leftArrow->sizeToFit();
    m_leftArrow->setCenter({arrow + 115, 21});
    m_rightArrow = base::make<ui::ImageView>(right);
    m_rightArrow->sizeToFit();
    // Right of the picker, but never past the bar's edge, where the popover would cut it.
    m_rightArrow->setCenter({std::min(w + 15 - arrow, w - m_rightArrow->bounds().width() / 2), 21});

    m_myStockPickerView = CMHorizontalPickerView::create(gfx::Rect{120, 5, w - 120, 32});
    m_myStockPickerView->setBackgroundColor(gfx::Color::clear());
    m_myStockPickerView->setElementFont(gfx::Font::boldSystem(kTitleSize));
    m_myStockPickerView->setTextColor(gfx::Color::gray());
    m_myStockPickerView->setSelectedTextColor(gfx::Color::rgba(0, 128 / 255.f, 236 / 255.f));
    m_myStockPickerView->setSelectionPoint({60, 0});
    addSubview(m_myStockPickerView);
    addSubview(m_leftArrow);
    addSubview(m_rightArrow);
}

void SearchBarTitleView::setUp() {
    ui::View::setUp();
    auto self = this->self<SearchBarTitleView>();
    m_myStockPickerView->setDataSource(base::Weak<CMHorizontalPickerViewDataSource>(self));
    m_myStockPickerView->setDelegate(base::Weak<CMHorizontalPickerViewDelegate>(self));
}

void SearchBarTitleView::SetPickerDataArray(base::Array groups) {
    m_dataArray = std::move(groups);
    m_myStockPickerView->reloadData();
    int index = m_myStockPickerView->currentSelectedIndex();
    if (index >= int(m_dataArray.size()))
        index = int(m_dataArray.size()) - 1;
    m_myStockPickerView->scrollToElement(index, true);
}

int SearchBarTitleView::numberOfElementsInHorizontalPickerView(CMHorizontalPickerView &) {
    return int(m_dataArray.size());
}

base::Opt<std::string> SearchBarTitleView::titleForElementAtIndex(CMHorizontalPickerView &, int index) {
    return m_dataArray.at(size_t(index))["ModelName"].stringValue();
}

base::Opt<int> SearchBarTitleView::widthForElementAtIndex(CMHorizontalPickerView &, int index) {
    std::string name = m_dataArray.at(size_t(index))["ModelName"].stringValue();
    if (name.empty())
        return 40;
    return int(std::ceil(gfx::measure(name, *gfx::Font::boldSystem(kMeasureSize)).w)) + 40;
}

base::Opt<void> SearchBarTitleView::didSelectElementAtIndex(CMHorizontalPickerView &, int index) {
    base::Value group = m_dataArray.at(size_t(index));
    if (auto d = delegate.lock())
        d->ReturnSelectedModelName(group["ModelName"].stringValue(), group["ModelFileName"].stringValue());
    return {};
}
