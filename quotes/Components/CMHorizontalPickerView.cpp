#include "Components/CMHorizontalPickerView.h"

#include <algorithm>
#include <cmath>

void CMHorizontalPickerLabel::showColour() {
    const base::Ref<gfx::Color> &colour =
        selectedElement_ && selectedStateColor ? selectedStateColor : normalStateColor_;
    if (colour)
        setTextColor(colour);
}

void CMHorizontalPickerLabel::setSelectedElement(bool selected) {
    if (selected == selectedElement_)
        return;
    selectedElement_ = selected;
    showColour();
    setNeedsLayout();
}

void CMHorizontalPickerLabel::setNormalStateColor(base::Ref<gfx::Color> color) {
    if (color == normalStateColor_)
        return;
    normalStateColor_ = std::move(color);
    if (normalStateColor_)
        setTextColor(normalStateColor_);
    setNeedsLayout();
}

// The inner strip's events, which the picker turns into selections and snaps.
struct CMHorizontalPickerView::ScrollEvents : ui::ScrollViewDelegate {
    base::Weak<CMHorizontalPickerView> picker;

    base::Opt<void> didScroll(ui::ScrollView &) override {
        if (auto p = picker.lock())
            p->didScroll();
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &, bool decelerate) override {
        if (auto p = picker.lock(); p && !decelerate)
            p->scrollToElementNearestToCenter();
        return {};
    }
    base::Opt<void> willBeginDecelerating(ui::ScrollView &) override {
        if (auto p = picker.lock())
            p->setNeedsLayout();
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &) override {
        if (auto p = picker.lock()) {
            p->setNeedsLayout();
            p->scrollToElementNearestToCenter();
        }
        return {};
    }
};

// Remembers where the tapping finger came down: a tap recogniser has no touches left to locate
// once it has recognised the lift, and a tap moves less than its slop anyway.
struct CMHorizontalPickerView::TapWatcher : ui::GestureDelegate {
    base::Weak<ui::View> strip;
    gfx::Point at;

    base::Opt<bool> shouldReceiveTouch(ui::GestureRecognizer &, const ui::Touch &touch) override {
        if (auto view = strip.lock())
            at = touch.location(view.get());
        return true;
    }
};

base::Ref<CMHorizontalPickerView> CMHorizontalPickerView::create(gfx::Rect frame) {
    struct Made : CMHorizontalPickerView {
        explicit Made(gfx::Rect frame) : CMHorizontalPickerView(frame) {}
    };
    base::Ref<CMHorizontalPickerView> picker = base::make<Made>(frame);
    picker->initUI();
    return picker;
}

CMHorizontalPickerView::CMHorizontalPickerView(gfx::Rect frame)
    : ui::View(frame), elementFont_(gfx::Font::system(12)),
      textColor_(gfx::Color::black()), selectionPoint_{frame.width() / 2, 0} {}

void CMHorizontalPickerView::initUI() {
    scrollView_ = base::make<ui::ScrollView>(bounds());
    events_ = base::make<ScrollEvents>();
    events_->picker = self<CMHorizontalPickerView>();
    scrollView_->delegate = events_;
    scrollView_->scrollEnabled = true;
    scrollView_->scrollsToTop = false;
    scrollView_->showsHorizontalScrollIndicator = false;
    scrollView_->showsVerticalScrollIndicator = false;
    scrollView_->bouncesZoom = false;
    scrollView_->alwaysBounceHorizontal = true;
    scrollView_->alwaysBounceVertical = false;
    scrollView_->minimumZoomScale = scrollView_->maximumZoomScale = 1;
    scrollView_->setContentInset({});
    scrollView_->decelerationRate = DecelerationRate;
    auto tap = base::make<ui::TapRecognizer>(BASE_ACTION(this, scrollViewTapped));
    tapWatcher_ = base::make<TapWatcher>();
    tapWatcher_->strip = scrollView_;
    tap->delegate = tapWatcher_;
    scrollView_->addGestureRecognizer(tap);
    addSubview(scrollView_);
}

void CMHorizontalPickerView::setDataSource(base::Weak<CMHorizontalPickerViewDataSource> source) {
    const bool same = !source.owner_before(dataSource_) && !dataSource_.owner_before(source);
    dataSource_ = std::move(source);
    if (!same)
        collectData();
}

void CMHorizontalPickerView::setDelegate(base::Weak<CMHorizontalPickerViewDelegate> delegate) {
    const bool same = !delegate.owner_before(delegate_) && !delegate_.owner_before(delegate);
    delegate_ = std::move(delegate);
    if (!same)
        collectData();
}

void CMHorizontalPickerView::collectData() {
    dataLoaded_ = contentSizeSet_ = false;
    if (auto source = dataSource_.lock())
        numberOfElements_ = source->numberOfElementsInHorizontalPickerView(*this);
    elementWidths_.clear();
    if (auto owner = delegate_.lock())
        for (int i = 0; i < numberOfElements_; ++i) {
            base::Opt<int> width = owner->widthForElementAtIndex(*this, i);
            if (!width)
                break;
            elementWidths_.push_back(*width);
        }
    setTotalWidthOfScrollContent();
    updateScrollContentInset();
    dataLoaded_ = true;
}

int CMHorizontalPickerView::laidOutCount() const {
    return std::min(numberOfElements_, int(elementWidths_.size()));
}

void CMHorizontalPickerView::setTotalWidthOfScrollContent() {
    int total = 0;
    for (int i = 0; i < laidOutCount(); ++i)
        total += elementWidths_[size_t(i)];
    scrollView_->setContentSize({float(total), bounds().height()});
    contentSizeSet_ = true;
}

void CMHorizontalPickerView::updateScrollContentInset() {
    const int count = laidOutCount();
    if (count == 0)
        return;
    const float first = float(elementWidths_.front()) / 2,
                last = float(elementWidths_[size_t(count - 1)]) / 2;
    scrollView_->setContentInset(
        {0, selectionPoint_.x - first, 0, scrollView_->frame().width() - selectionPoint_.x - last});
}

void CMHorizontalPickerView::setSelectionPoint(gfx::Point point) {
    if (point == selectionPoint_)
        return;
    selectionPoint_ = point;
    updateScrollContentInset();
}

void CMHorizontalPickerView::setBackgroundColor(base::Ref<gfx::Color> color) {
    ui::View::setBackgroundColor(color);
    scrollView_->setBackgroundColor(std::move(color));
}

int CMHorizontalPickerView::offsetForElementAtIndex(int index) const {
    int offset = 0;
    for (int i = 0; i < index && i < laidOutCount(); ++i)
        offset += elementWidths_[size_t(i)];
    return offset;
}

gfx::Rect CMHorizontalPickerView::frameForElementAtIndex(int index) const {
    const float width = index >= 0 && index < laidOutCount() ? float(elementWidths_[size_t(index)]) : 0;
    return {float(offsetForElementAtIndex(index)), 0, width, frame().height()};
}

int CMHorizontalPickerView::centerOfElementAtIndex(int index) const {
    if (index < 0 || index >= laidOutCount())
        return 0;
    return offsetForElementAtIndex(index) + elementWidths_[size_t(index)] / 2;
}

gfx::Point CMHorizontalPickerView::currentCenter() const {
    return {scrollView_->contentOffset().x + selectionPoint_.x, 0};
}

int CMHorizontalPickerView::nearestElementToPoint(gfx::Point point) const {
    const int count = laidOutCount();
    for (int i = 0; i < count; ++i) {
        const gfx::Rect frame = frameForElementAtIndex(i);
        if (frame.contains(point))
            return i;
        if (point.x < frame.x())
            return std::max(i - 1, 0);
        if (i == count - 1)
            return i;
    }
    return 0;
}

int CMHorizontalPickerView::elementContainingPoint(gfx::Point point) const {
    for (int i = 0; i < laidOutCount(); ++i)
        if (frameForElementAtIndex(i).contains(point))
            return i;
    return -1;
}

void CMHorizontalPickerView::scrollToElement(int index, bool animated) {
    const float x = std::trunc(float(centerOfElementAtIndex(index)) - selectionPoint_.x);
    scrollView_->setContentOffset({x, 0}, animated);
    currentSelectedIndex_ = index;
    if (auto owner = delegate_.lock())
        owner->didSelectElementAtIndex(*this, index);
}

void CMHorizontalPickerView::scrollToElementNearestToCenter() {
    scrollToElement(nearestElementToPoint(currentCenter()), true);
}

void CMHorizontalPickerView::didScroll() {
    setNeedsLayout();
    currentSelectedIndex_ = nearestElementToPoint(currentCenter());
}

void CMHorizontalPickerView::scrollViewTapped(ui::GestureRecognizer *recognizer) {
    if (!recognizer || recognizer->state() != ui::GestureState::Ended)
        return;
    const int index = elementContainingPoint(tapWatcher_->at);
    if (index >= 0)
        scrollToElement(index, true);
}

void CMHorizontalPickerView::reloadData() {
    for (const base::Ref<ui::View> &view : std::vector(scrollView_->subviews())) {
        reusableViews_.push_back(view);
        view->removeFromSuperview();
    }
    collectData();
    setNeedsLayout();
}

base::Ref<ui::View> CMHorizontalPickerView::dequeueReusableView() {
    if (reusableViews_.empty())
        return nullptr;
    base::Ref<ui::View> view = reusableViews_.back();
    reusableViews_.pop_back();
    return view;
}

base::Ref<ui::View> CMHorizontalPickerView::elementView(int index) {
    auto owner = delegate_.lock();
    if (!owner)
        return nullptr;
    if (base::Opt<std::string> title = owner->titleForElementAtIndex(*this, index)) {
        auto label = base::make<CMHorizontalPickerLabel>(frameForElementAtIndex(index));
        label->setTextAlignment(gfx::Align::Center);
        label->setBackgroundColor(backgroundColor());
        label->setText(*title);
        label->setFont(elementFont_);
        label->setNormalStateColor(textColor_);
        label->selectedStateColor = selectedTextColor_;
        label->setSelectedElement(index == currentSelectedIndex_);
        label->setShadowColor(gfx::Color::black());
        label->setShadowOffset({1, 1});
        return label;
    }
    if (base::Opt<base::Ref<ui::View>> view = owner->viewForElementAtIndex(*this, index))
        return *view;
    return nullptr;
}

void CMHorizontalPickerView::layoutSubviews() {
    if (!dataLoaded_)
        collectData();
    if (!contentSizeSet_)
        setTotalWidthOfScrollContent();

    const gfx::Rect visible = bounds();
    for (const base::Ref<ui::View> &view : std::vector(scrollView_->subviews())) {
        if (!scrollView_->convert(view->frame(), this).intersects(visible)) {
            reusableViews_.push_back(view);
            view->removeFromSuperview();
        } else if (auto *state = dynamic_cast<CMHorizontalPickerElementState *>(view.get())) {
            state->setSelectedElement(indexForElement(*view) == currentSelectedIndex_);
        }
    }

    const float offset = scrollView_->contentOffset().x;
    const int first = nearestElementToPoint({offset, 0});
    const int last = nearestElementToPoint({offset + visible.width(), 0});
    for (int i = first; i <= last && i < laidOutCount(); ++i) {
        const int tag = tagForElementAtIndex(i);
        const auto &shown = scrollView_->subviews();
        if (std::any_of(shown.begin(), shown.end(),
                        [tag](const base::Ref<ui::View> &v) { return v->tag == tag; }))
            continue;
        if (base::Ref<ui::View> view = elementView(i)) {
            view->tag = tag;
            scrollView_->addSubview(view);
        }
    }
}
