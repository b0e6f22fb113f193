#include "ui/PickerView.h"

#include <algorithm>
#include <cmath>

namespace ui {

// One component: a vertical scroll view whose content is the rows, drawn by the wheel itself,
// with insets that let the first and last rows come to the centre band.
class PickerView::Wheel : public ScrollView {
public:
    Wheel(PickerView &picker, int component) : picker_(&picker), component_(component) {
        showsVerticalScrollIndicator = false;
        decelerationRate = FastRate;
        content_ = base::make<Rows>(*this);
        addSubview(content_);
    }

    std::vector<std::string> titles;
    float rowHeight = DefaultRowHeight;

    int rows() const { return int(titles.size()); }
    int rowAtCentre() const {
        if (titles.empty())
            return -1;
        return std::clamp(int(std::lround((contentOffset().y + contentInset().top) / rowHeight)), 0,
                          rows() - 1);
    }
    gfx::Point offsetFor(int row) const { return {0, float(row) * rowHeight - contentInset().top}; }

    void fill(std::vector<std::string> newTitles, float height) {
        titles = std::move(newTitles);
        rowHeight = height > 0 ? height : DefaultRowHeight;
        float band = std::max(0.f, (bounds().height() - rowHeight) / 2);
        setContentInset({band, 0, band, 0});
        setContentSize({bounds().width(), rowHeight * float(rows())});
        content_->setFrame({0, 0, bounds().width(), rowHeight * float(rows())});
        content_->setNeedsDisplay();
    }

    // Turns to the row; with a report the picker hears of it once the wheel is there.
    void turnTo(int row, bool animated, bool report) {
        if (titles.empty())
            return;
        row = std::clamp(row, 0, rows() - 1);
        reportWhenDone_ = report;
        gfx::Point target = offsetFor(row);
        if (animated && target != contentOffset()) {
            setContentOffset(target, true);
            return;
        }
        setContentOffset(target);
        finish();
    }

    void finish() {
        if (std::exchange(reportWhenDone_, false))
            picker_->settled(component_, rowAtCentre());
    }

    // Snapping and reporting when the wheel comes to rest.
    struct Settler : ScrollViewDelegate {
        Wheel *wheel = nullptr;
        base::Opt<void> didEndDragging(ScrollView &, bool decelerate) override {
            if (!decelerate && wheel)
                wheel->turnTo(wheel->rowAtCentre(), true, true);
            return {};
        }
        base::Opt<void> didEndDecelerating(ScrollView &) override {
            if (wheel)
                wheel->turnTo(wheel->rowAtCentre(), true, true);
            return {};
        }
        base::Opt<void> didEndScrollingAnimation(ScrollView &) override {
            if (wheel)
                wheel->finish();
            return {};
        }
    };

private:
    // The rows' titles; a tap on a row turns it to the centre.
    class Rows : public View {
    public:
        explicit Rows(Wheel &wheel) : wheel_(&wheel) {}
        void drawRect(gfx::Context &c, gfx::Rect) override {
            auto font = gfx::Font::boldSystem(std::min(20.f, wheel_->rowHeight * 0.5f));
            c.setFill(*gfx::Color::black());
            for (int i = 0; i < wheel_->rows(); ++i) {
                float h = wheel_->rowHeight, top = float(i) * h + (h - font->lineHeight()) / 2;
                c.drawText(wheel_->titles[size_t(i)], gfx::Rect{8, top, bounds().width() - 16, h}, *font,
                           gfx::LineBreak::TruncateTail, gfx::Align::Center);
            }
        }
        void touchesBegan(const TouchSet &, const Event &) override {}
        void touchesEnded(const TouchSet &touches, const Event &) override {
            if (!touches.empty())
                wheel_->turnTo(int(touches.front()->location(this).y / wheel_->rowHeight), true, true);
        }

    private:
        Wheel *wheel_;
    };

    PickerView *picker_;
    int component_;
    base::Ref<Rows> content_;
    bool reportWhenDone_ = false;
};

PickerView::PickerView(gfx::Rect frame)
    : View(frame.isEmpty() ? gfx::Rect{frame.o, {320, DefaultHeight}} : frame) {
    clipsToBounds = true;
}

PickerView::~PickerView() = default;

void PickerView::setShowsSelectionIndicator(bool shows) {
    indicator_ = shows;
    setNeedsDisplay();
}

int PickerView::numberOfRows(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[size_t(component)]->rows() : 0;
}

ScrollView *PickerView::wheel(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[size_t(component)].get() : nullptr;
}

void PickerView::build() {
    loaded_ = true;
    std::vector<int> selected;
    for (int c = 0; c < numberOfComponents(); ++c)
        selected.push_back(selectedRow(c));
    for (auto &w : wheels_)
        w->removeFromSuperview();
    wheels_.clear();
    settlers_.clear();
    auto source = dataSource.lock();
    int count = source ? std::clamp(source->numberOfComponents(*this), 0, 5) : 0;
    for (int c = 0; c < count; ++c) {
        auto w = base::make<Wheel>(*this, c);
        auto settler = base::make<Wheel::Settler>();
        settler->wheel = w.get();
        w->delegate = settler;
        settlers_.push_back(settler);
        wheels_.push_back(w);
        addSubview(w);
    }
    layoutSubviews();
    // A new wheel starts at its first row; a rebuilt one keeps its row where it still exists.
    for (int c = 0; c < count; ++c)
        selectRow(c < int(selected.size()) ? std::max(0, selected[size_t(c)]) : 0, c, false);
    setNeedsDisplay();
}

void PickerView::reloadAllComponents() {
    build();
}

void PickerView::reloadComponent(int component) {
    if (component < 0 || component >= numberOfComponents())
        return;
    int row = selectedRow(component);
    layoutSubviews();
    selectRow(row, component, false);
}

void PickerView::layoutSubviews() {
    if (!loaded_) {
        build();
        return;
    }
    auto source = dataSource.lock();
    auto d = delegate.lock();
    gfx::Rect b = bounds();
    int count = numberOfComponents();
    float free = b.width() - 2 * Margin;
    std::vector<float> widths;
    for (int c = 0; c < count; ++c)
        widths.push_back(d ? d->width(*this, c).valueOr(free / float(count)) : free / float(count));
    float total = 0;
    for (float w : widths)
        total += w;
    float x = std::max(Margin, (b.width() - total) / 2);
    for (int c = 0; c < count; ++c) {
        Wheel &w = *wheels_[size_t(c)];
        w.setFrame({x, 0, widths[size_t(c)], b.height()});
        x += widths[size_t(c)];
        std::vector<std::string> titles;
        int rows = source ? std::max(0, source->numberOfRows(*this, c)) : 0;
        for (int r = 0; r < rows; ++r)
            titles.push_back(d ? d->title(*this, r, c).valueOr("") : "");
        w.fill(std::move(titles), d ? d->rowHeight(*this, c).valueOr(DefaultRowHeight) : DefaultRowHeight);
    }
}

void PickerView::selectRow(int row, int component, bool animated) {
    if (!loaded_)
        build();
    if (component >= 0 && component < numberOfComponents())
        wheels_[size_t(component)]->turnTo(row, animated, false);
}

int PickerView::selectedRow(int component) const {
    return component >= 0 && component < numberOfComponents() ? wheels_[size_t(component)]->rowAtCentre()
                                                              : -1;
}

void PickerView::settled(int component, int row) {
    base::Ref<View> keep = self<View>();
    if (auto d = delegate.lock())
        d->didSelect(*this, row, component);
}

void PickerView::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    c.setFill(*gfx::Color::rgba(0.2f, 0.21f, 0.25f, 1));
    c.fillRect(b);
    // The wheels' faces: light in the middle, darker towards the rims.
    for (auto &w : wheels_) {
        gfx::Rect f = w->frame().inset(2, 8);
        c.setFill(*gfx::Color::rgba(0.93f, 0.93f, 0.95f, 1));
        c.fillRect(f);
    }
    if (indicator_ && !wheels_.empty()) {
        float h = wheels_.front()->rowHeight;
        c.setFill(*gfx::Color::rgba(0.55f, 0.6f, 0.9f, 0.45f));
        c.fillRect({Margin / 2, (b.height() - h) / 2, b.width() - Margin, h});
    }
}

} // namespace ui
