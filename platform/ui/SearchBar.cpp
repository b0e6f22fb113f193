#include "ui/SearchBar.h"

#include "base/NotificationCenter.h"

namespace ui {

namespace {

constexpr float Margin = 6;

// The results-list button: a small list drawn inside the field.
class ResultsButton : public Control {
public:
    ResultsButton() : Control({0, 0, 28, 24}) {}
    void drawRect(gfx::Context &c, gfx::Rect) override {
        gfx::Rect b = bounds();
        c.setFill(isHighlighted() ? *gfx::Color::darkGray() : *gfx::Color::gray());
        for (int i = -1; i <= 1; ++i)
            c.fillRect({b.midX() - 7, b.midY() + float(i) * 5 - 1, 14, 2});
    }
    void stateChanged() override { setNeedsDisplay(); }
};

} // namespace

// The field's delegate and change observer, reporting to the bar while it lives.
struct SearchBar::Relay : TextFieldDelegate {
    SearchBar *bar = nullptr;

    base::Opt<void> didBeginEditing(TextField &) override {
        if (auto d = bar ? bar->delegate.lock() : nullptr)
            d->didBeginEditing(*bar);
        return {};
    }
    base::Opt<void> didEndEditing(TextField &) override {
        if (auto d = bar ? bar->delegate.lock() : nullptr)
            d->didEndEditing(*bar);
        return {};
    }
    void changed() {
        if (auto d = bar ? bar->delegate.lock() : nullptr)
            d->textDidChange(*bar, bar->text());
    }
};

SearchBar::SearchBar(gfx::Rect frame)
    : View(frame), field_(base::make<TextField>()), cancel_(Button::custom()),
      results_(base::make<ResultsButton>()), relay_(base::make<Relay>()) {
    relay_->bar = this;
    field_->setBorderStyle(TextField::Border::RoundedRect);
    field_->setFont(gfx::Font::system(14));
    field_->delegate = relay_;
    addSubview(field_);
    base::NotificationCenter::shared().addObserver(
        relay_, TextField::TextDidChangeNotification,
        [relay = relay_.get()](const base::Notification &) { relay->changed(); }, field_);

    cancel_->setTitle("取消");
    cancel_->setTitleColor(gfx::Color::white());
    cancel_->setBackgroundColor(gfx::Color::rgba(0.25f, 0.3f, 0.38f, 1));
    cancel_->layer().cornerRadius = 5;
    cancel_->setHidden(true);
    cancel_->addTarget(base::Action("cancel",
                                    [relay = relay_.get()](base::Object *) {
                                        if (SearchBar *bar = relay->bar)
                                            if (auto d = bar->delegate.lock())
                                                d->cancelClicked(*bar);
                                    }),
                       TouchUpInside);
    addSubview(cancel_);

    results_->addTarget(base::Action("results",
                                     [relay = relay_.get()](base::Object *) {
                                         if (SearchBar *bar = relay->bar)
                                             if (auto d = bar->delegate.lock())
                                                 d->resultsListClicked(*bar);
                                     }),
                        TouchUpInside);
}

SearchBar::~SearchBar() {
    relay_->bar = nullptr;
    base::NotificationCenter::shared().removeObserver(relay_.get());
}

void SearchBar::setBarStyle(Style style) {
    style_ = style;
    setNeedsDisplay();
}

void SearchBar::setShowsCancelButton(bool shows) {
    cancel_->setHidden(!shows);
    setNeedsLayout();
}

void SearchBar::setShowsSearchResultsButton(bool shows) {
    field_->setRightView(shows ? results_ : nullptr, TextField::ViewMode::Always);
}

void SearchBar::layoutSubviews() {
    gfx::Rect b = bounds();
    float right = cancel_->isHidden() ? Margin : CancelWidth + 2 * Margin;
    field_->setFrame(
        {Margin, Margin, std::max(0.f, b.width() - Margin - right), std::max(0.f, b.height() - 2 * Margin)});
    cancel_->setFrame(
        {b.width() - CancelWidth - Margin, Margin, CancelWidth, std::max(0.f, b.height() - 2 * Margin)});
}

void SearchBar::drawRect(gfx::Context &c, gfx::Rect) {
    gfx::Rect b = bounds();
    c.setFill(style_ == Style::Black ? *gfx::Color::rgba(0.12f, 0.12f, 0.13f, 1)
                                     : *gfx::Color::rgba(0.66f, 0.72f, 0.78f, 1));
    c.fillRect(b);
    c.setFill(*gfx::Color::white(0, 0.4f));
    c.fillRect({0, b.height() - 1, b.width(), 1});
}

} // namespace ui
