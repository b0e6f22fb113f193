#include "ui/Alert.h"

#include "base/RunLoop.h"
#include "ui/Application.h"
#include "ui/Host.h"
#include "ui/Window.h"

#include <algorithm>

namespace ui {

namespace {

constexpr float Width = 284, Padding = 16, ButtonHeight = 43, Gap = 8;

std::vector<base::Ref<Alert>> &stack() {
    static std::vector<base::Ref<Alert>> alerts;
    return alerts;
}

} // namespace

class Alert::ButtonView : public View {
public:
    ButtonView(Alert &alert, int index, const std::string &title, bool cancel)
        : alert_(&alert), index_(index), label_(base::make<Label>()) {
        layer().cornerRadius = 6;
        layer().borderWidth = 1;
        layer().borderColor = gfx::Color::white(1, 0.6f);
        label_->setText(title);
        label_->setFont(cancel ? gfx::Font::boldSystem(17) : gfx::Font::system(17));
        label_->setTextColor(gfx::Color::white());
        label_->setTextAlignment(gfx::Align::Center);
        label_->autoresizingMask = FlexibleWidth | FlexibleHeight;
        setPressed(false);
    }
    void attach() { addSubview(label_); }
    void layoutSubviews() override { label_->setFrame(bounds()); }
    void touchesBegan(const TouchSet &, const Event &) override { setPressed(true); }
    void touchesMoved(const TouchSet &touches, const Event &) override { setPressed(inside(touches)); }
    void touchesCancelled(const TouchSet &, const Event &) override { setPressed(false); }
    void touchesEnded(const TouchSet &touches, const Event &) override {
        setPressed(false);
        if (inside(touches))
            alert_->press(index_);
    }

private:
    bool inside(const TouchSet &touches) const {
        return !touches.empty() && bounds().contains(touches.front()->location(this));
    }
    void setPressed(bool pressed) {
        setBackgroundColor(pressed ? gfx::Color::rgba(0.35f, 0.45f, 0.7f, 1) : gfx::Color::white(1, 0.15f));
    }
    Alert *alert_;
    int index_;
    base::Ref<Label> label_;
};

Alert::Alert(std::string title, std::string message, base::Weak<AlertDelegate> delegate,
             std::optional<std::string> cancelTitle, std::vector<std::string> otherTitles)
    : View(gfx::Rect{0, 0, Width, 0}), delegate(std::move(delegate)), titleLabel_(base::make<Label>()),
      messageLabel_(base::make<Label>()), hasCancel_(cancelTitle.has_value()) {
    setBackgroundColor(gfx::Color::rgba(0.05f, 0.1f, 0.3f, 0.92f));
    layer().cornerRadius = 10;
    layer().borderWidth = 2;
    layer().borderColor = gfx::Color::white(0.9f, 1);
    titleLabel_->setText(std::move(title));
    titleLabel_->setFont(gfx::Font::boldSystem(18));
    messageLabel_->setText(std::move(message));
    messageLabel_->setFont(gfx::Font::system(16));
    for (Label *l : {titleLabel_.get(), messageLabel_.get()}) {
        l->setTextColor(gfx::Color::white());
        l->setTextAlignment(gfx::Align::Center);
        l->setNumberOfLines(0);
    }
    if (cancelTitle)
        titles_.push_back(std::move(*cancelTitle));
    for (auto &t : otherTitles)
        titles_.push_back(std::move(t));
}

int Alert::addButton(std::string title) {
    titles_.push_back(std::move(title));
    return int(titles_.size()) - 1;
}

std::string Alert::buttonTitle(int index) const {
    return index >= 0 && index < buttonCount() ? titles_[size_t(index)] : std::string();
}

int Alert::firstOtherIndex() const {
    int first = hasCancel_ ? 1 : 0;
    return first < buttonCount() ? first : -1;
}

gfx::Rect Alert::buttonFrame(int index) {
    layoutIfNeeded();
    if (index < 0 || size_t(index) >= buttons_.size())
        return {};
    return buttons_[size_t(index)]->convert(buttons_[size_t(index)]->bounds(), nullptr);
}

float Alert::measuredHeight() {
    float inner = Width - 2 * Padding;
    float h = Padding;
    for (Label *l : {titleLabel_.get(), messageLabel_.get()})
        if (!l->text().empty())
            h += l->sizeThatFits({inner, 1e6f}).h + Gap;
    int n = buttonCount();
    int rows = n == 2 ? 1 : n;
    return h + float(rows) * (ButtonHeight + Gap) + Padding - Gap;
}

void Alert::layoutSubviews() {
    const float inner = Width - 2 * Padding;
    float y = Padding;
    for (Label *l : {titleLabel_.get(), messageLabel_.get()}) {
        if (l->text().empty()) {
            l->setFrame({});
            continue;
        }
        float h = l->sizeThatFits({inner, 1e6f}).h;
        l->setFrame({Padding, y, inner, h});
        y += h + Gap;
    }
    layoutButtons(y);
}

void Alert::layoutButtons(float top) {
    const float inner = Width - 2 * Padding;
    const size_t n = buttons_.size();
    if (n == 2) {
        float w = (inner - Gap) / 2;
        // Side by side, the cancel button on the left.
        for (size_t i = 0; i < 2; ++i)
            buttons_[i]->setFrame({Padding + float(i) * (w + Gap), top, w, ButtonHeight});
        return;
    }
    // Stacked, the cancel button last.
    float y = top;
    for (size_t i = hasCancel_ ? 1 : 0; i < n; ++i, y += ButtonHeight + Gap)
        buttons_[i]->setFrame({Padding, y, inner, ButtonHeight});
    if (hasCancel_ && n > 0)
        buttons_[0]->setFrame({Padding, y, inner, ButtonHeight});
}

bool Alert::isVisible() const {
    auto &s = stack();
    return std::any_of(s.begin(), s.end(), [&](auto &a) { return a.get() == this; });
}

std::vector<base::Ref<Alert>> Alert::visibleAlerts() {
    return stack();
}

void Alert::show() {
    if (isVisible())
        return;
    base::Ref<Alert> self = this->self<Alert>();
    if (buttons_.empty()) {
        for (int i = 0; i < buttonCount(); ++i) {
            auto b = base::make<ButtonView>(*this, i, titles_[size_t(i)], hasCancel_ && i == 0);
            b->attach();
            buttons_.push_back(b);
        }
        addSubview(titleLabel_);
        addSubview(messageLabel_);
        for (auto &b : buttons_)
            addSubview(b);
    }
    if (!stack().empty())
        stack().back()->setHidden(true);
    stack().push_back(self);
    if (auto d = delegate.lock())
        d->willPresent(*this);
    Window *window = Application::shared().keyWindow();
    gfx::Size area = window ? window->bounds().s : Screen::main().windowSize();
    float h = measuredHeight();
    setFrame({(area.w - Width) / 2, (area.h - h) / 2, Width, h});
    setHidden(false);
    if (window)
        window->alertLayer().addSubview(self);
    setNeedsLayout();
    if (Host *host = Host::current())
        host->alertShown(*this);
    base::RunLoop::main().performAfter(
        0, base::Action(weakSelf(), "didPresent", [this](base::Object *) { didPresent(); }));
}

void Alert::didPresent() {
    if (!isVisible())
        return;
    if (auto d = delegate.lock())
        d->didPresent(*this);
}

void Alert::press(int index) {
    if (!isVisible() || index < 0 || index >= buttonCount())
        return;
    base::Ref<Alert> keep = self<Alert>();
    if (auto d = delegate.lock())
        d->clicked(*this, index);
    dismiss(index, true);
}

void Alert::dismiss(int index, bool) {
    if (!isVisible())
        return;
    base::Ref<Alert> keep = self<Alert>();
    base::RunLoop::main().cancelPerforms(this, "didPresent");
    if (auto d = delegate.lock())
        d->willDismiss(*this, index);
    auto &s = stack();
    bool wasTop = s.back() == keep;
    std::erase(s, keep);
    removeFromSuperview();
    if (wasTop && !s.empty())
        s.back()->setHidden(false);
    if (Host *host = Host::current())
        host->alertDismissed(*this, index);
    if (auto d = delegate.lock())
        d->didDismiss(*this, index);
}

void Alert::discardAll() {
    auto alerts = std::move(stack());
    stack().clear();
    for (auto &a : alerts) {
        base::RunLoop::main().cancelPerforms(a.get(), "didPresent");
        a->removeFromSuperview();
    }
}

base::Ref<View> Toast::show(const std::string &text, View *in, double seconds) {
    if (!in)
        in = Application::shared().keyWindow();
    auto label = base::make<Label>();
    label->setText(text);
    label->setFont(gfx::Font::system(16));
    label->setTextColor(gfx::Color::white());
    label->setTextAlignment(gfx::Align::Center);
    label->setNumberOfLines(0);
    gfx::Size area = in ? in->bounds().s : Screen::main().windowSize();
    gfx::Size s = label->sizeThatFits({std::min(area.w - 40, 400.f), 1e6f});
    auto box =
        base::make<View>(gfx::Rect{(area.w - s.w) / 2 - 16, (area.h - s.h) / 2 - 12, s.w + 32, s.h + 24});
    box->setBackgroundColor(gfx::Color::white(0, 0.75f));
    box->layer().cornerRadius = 8;
    box->userInteractionEnabled = false;
    label->setFrame({16, 12, s.w, s.h});
    box->addSubview(label);
    if (in)
        in->addSubview(box);
    if (Host *host = Host::current())
        host->toastShown(text, *box);
    std::weak_ptr<View> weak = box;
    base::RunLoop::main().performAfter(seconds, base::Action("removeToast", [weak](base::Object *) {
                                           if (auto v = weak.lock())
                                               v->removeFromSuperview();
                                       }));
    return box;
}

} // namespace ui
