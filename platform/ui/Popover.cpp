#include "ui/Popover.h"

#include "base/NotificationCenter.h"
#include "ui/KeyboardHost.h"
#include "ui/NavigationController.h"
#include "ui/Window.h"

#include <algorithm>
#include <array>

namespace ui {

namespace {

std::vector<base::Ref<Popover>> &onScreen() {
    static std::vector<base::Ref<Popover>> popovers;
    return popovers;
}

// A triangle pointing away from the popover's box.
class ArrowView : public View {
public:
    ArrowView() {
        opaque = false;
        userInteractionEnabled = false;
    }
    void setDirection(Arrow arrow) {
        arrow_ = arrow;
        setNeedsDisplay();
    }
    void drawRect(gfx::Context &c, gfx::Rect) override {
        gfx::Rect b = bounds();
        std::array<gfx::Point, 3> p;
        switch (arrow_) {
        case ArrowUp:
            p = {{{b.minX(), b.maxY()}, {b.midX(), b.minY()}, {b.maxX(), b.maxY()}}};
            break;
        case ArrowDown:
            p = {{{b.minX(), b.minY()}, {b.midX(), b.maxY()}, {b.maxX(), b.minY()}}};
            break;
        case ArrowLeft:
            p = {{{b.maxX(), b.minY()}, {b.minX(), b.midY()}, {b.maxX(), b.maxY()}}};
            break;
        default:
            p = {{{b.minX(), b.minY()}, {b.maxX(), b.midY()}, {b.minX(), b.maxY()}}};
            break;
        }
        c.beginPath();
        c.addLines(p);
        c.closePath();
        c.setFill(*frameColor());
        c.fillPath();
    }
    static base::Ref<gfx::Color> frameColor() { return gfx::Color::rgba(0.07f, 0.09f, 0.14f, 0.96f); }

private:
    Arrow arrow_ = ArrowUp;
};

} // namespace

// The dark rounded box: the content sits inside its border, the arrow just outside it.
class Popover::Frame : public View {
public:
    Frame() : arrow(base::make<ArrowView>()) {
        setBackgroundColor(ArrowView::frameColor());
        layer().cornerRadius = CornerRadius;
        layer().shadowOpacity = 0.5f;
        layer().shadowRadius = 8;
        layer().shadowOffset = {0, 4};
        addSubview(arrow);
    }
    base::Ref<ArrowView> arrow;
};

// Covers the window below the popover: a touch there is an outside tap, and goes nowhere else.
class Popover::Catcher : public View {
public:
    Catcher(gfx::Rect frame, Popover &owner) : View(frame), owner_(owner.weakSelf<Popover>()) {
        opaque = false;
    }
    View *hitTest(gfx::Point point, const Event *event) override {
        if (auto owner = owner_.lock())
            for (auto &weak : owner->passthroughViews)
                if (auto v = weak.lock(); v && v->window() == window() &&
                                          v->convert(v->bounds(), nullptr).contains(convert(point, nullptr)))
                    return nullptr;
        return View::hitTest(point, event);
    }
    void touchesBegan(const TouchSet &, const Event &) override {
        if (auto owner = owner_.lock())
            owner->outsideTap();
    }
    // The rest of the touch is swallowed.
    void touchesMoved(const TouchSet &, const Event &) override {}
    void touchesEnded(const TouchSet &, const Event &) override {}
    void touchesCancelled(const TouchSet &, const Event &) override {}

private:
    base::Weak<Popover> owner_;
};

Popover::Popover(base::Ref<ViewController> content)
    : content_(content ? std::move(content) : base::make<ViewController>()) {}

void Popover::setUp() {
    Object::setUp();
    for (const char *name : {KeyboardHost::WillShowNotification, KeyboardHost::WillHideNotification})
        base::NotificationCenter::shared().addObserver(weakSelf(), name, [this](const base::Notification &) {
            if (visible_)
                place(true);
        });
}

Popover::~Popover() {
    if (content_->popover_.lock().get() == this)
        content_->popover_.reset();
}

std::vector<base::Ref<Popover>> Popover::visiblePopovers() {
    return onScreen();
}

gfx::Size Popover::contentSize() const {
    return size_.w > 0 && size_.h > 0 ? size_ : wantedSize();
}

gfx::Size Popover::wantedSize() const {
    if (auto *nav = dynamic_cast<NavigationController *>(content_.get())) {
        gfx::Size s = nav->top()->contentSizeInPopover();
        if (!nav->isNavigationBarHidden())
            s.h += nav->navigationBar().sizeThatFits(s).h;
        return s;
    }
    return content_->contentSizeInPopover();
}

void Popover::setContentSize(gfx::Size size, bool animated) {
    size_ = size;
    if (visible_)
        place(animated);
}

void Popover::contentSizeChanged(bool animated) {
    // The content's own wish, made later than any size set on the popover, wins.
    size_ = {};
    if (visible_)
        place(animated);
}

void Popover::setContent(base::Ref<ViewController> content, bool animated) {
    if (!content || content == content_)
        return;
    if (visible_) {
        content_->beginAppearance(false, false);
        if (content_->isViewLoaded())
            content_->view().removeFromSuperview();
        content_->endAppearance(false);
    }
    if (content_->popover_.lock().get() == this)
        content_->popover_.reset();
    content_ = std::move(content);
    if (visible_) {
        attachContent();
        place(animated);
        content_->beginAppearance(true, false);
        content_->endAppearance(false);
    }
}

void Popover::attachContent() {
    // Loaded first: a size the content sets in viewDidLoad is its wish before any shown size.
    const base::Ref<View> &v = content_->viewRef();
    content_->popover_ = weakSelf<Popover>();
    v->layer().cornerRadius = CornerRadius / 2;
    v->clipsToBounds = true;
    v->autoresizingMask = FlexibleWidth | FlexibleHeight;
    frame_->addSubview(v);
}

void Popover::presentFromRect(gfx::Rect rect, View &in, unsigned permittedArrows, bool animated) {
    Window *window = in.window();
    if (!window)
        return;
    // The anchor's place as it will be drawn, pending layouts included.
    window->layoutIfNeeded();
    anchor_ = in.convert(rect, nullptr);
    permitted_ = permittedArrows & ArrowAny ? permittedArrows & ArrowAny : ArrowAny;
    if (visible_ && window_.lock().get() == window) {
        place(animated);
        return;
    }
    if (visible_)
        dismiss(false);
    window_ = window->weakSelf<Window>();
    if (frame_)
        frame_->removeFromSuperview();
    frame_ = base::make<Frame>();
    catcher_ = base::make<Catcher>(window->bounds(), *this);
    attachContent();
    visible_ = true;
    onScreen().push_back(self<Popover>());
    place(false);
    content_->beginAppearance(true, animated);
    window->popoverLayer().addSubview(catcher_);
    window->popoverLayer().addSubview(frame_);
    if (!animated) {
        content_->endAppearance(false);
        return;
    }
    frame_->setAlpha(0);
    base::Ref<ViewController> content = content_;
    View::animate(
        FadeDuration, [&] { frame_->setAlpha(1); }, [content](bool) { content->endAppearance(true); });
}

void Popover::dismiss(bool animated) {
    if (!visible_)
        return;
    base::Ref<Popover> keep = self<Popover>();
    visible_ = false;
    std::erase(onScreen(), keep);
    catcher_->removeFromSuperview();
    catcher_ = nullptr;
    base::Ref<ViewController> content = content_;
    base::Ref<Frame> frame = frame_;
    content->beginAppearance(false, animated);
    auto end = [content, frame](bool) {
        frame->removeFromSuperview();
        if (content->isViewLoaded() && content->view().superview() == frame.get())
            content->view().removeFromSuperview();
        content->endAppearance(true);
    };
    if (!animated) {
        end(true);
        return;
    }
    frame->userInteractionEnabled = false;
    View::animate(
        FadeDuration, [&] { frame->setAlpha(0); }, end);
}

bool Popover::keepsOpen() const {
    for (ViewController *c = content_.get(); c; c = c->visibleChild())
        for (ViewController *p = c->presentedController(); p; p = p->presentedController())
            if (p->modalInPopover)
                return true;
    return false;
}

void Popover::outsideTap() {
    if (!visible_ || keepsOpen())
        return;
    base::Ref<Popover> keep = self<Popover>();
    auto d = delegate.lock();
    if (d && !d->shouldDismiss(*this).valueOr(true))
        return;
    dismiss(true);
    if (auto alive = delegate.lock())
        alive->didDismiss(*this);
}

void Popover::place(bool animated) {
    auto window = window_.lock();
    if (!window || !frame_)
        return;
    const gfx::Rect area = Screen::main().applicationFrame().inset(Margin, Margin);
    const gfx::Rect a = anchor_;
    const gfx::Size want = wantedSize();
    const gfx::Size given = size_.w > 0 && size_.h > 0 ? size_ : want;
    float w = given.w + 2 * Border, h = given.h + 2 * Border;

    struct Side {
        Arrow arrow;
        float room; // along the direction the popover extends from the anchor
        bool vertical;
    };
    const Side sides[] = {{ArrowUp, area.maxY() - a.maxY() - ArrowDepth, true},
                          {ArrowDown, a.minY() - ArrowDepth - area.minY(), true},
                          {ArrowLeft, area.maxX() - a.maxX() - ArrowDepth, false},
                          {ArrowRight, a.minX() - ArrowDepth - area.minX(), false}};
    auto shown = [&](const Side &s) {
        // The share of the popover that would show on that side.
        float along = s.vertical ? h : w, across = s.vertical ? w : h;
        float acrossRoom = s.vertical ? area.width() : area.height();
        return std::clamp(s.room / along, 0.f, 1.f) * std::clamp(acrossRoom / across, 0.f, 1.f);
    };
    const Side *chosen = nullptr;
    for (const Side &s : sides)
        if ((permitted_ & s.arrow) && shown(s) >= 1) {
            chosen = &s;
            break;
        }
    if (!chosen)
        for (const Side &s : sides)
            if ((permitted_ & s.arrow) && (!chosen || shown(s) > shown(*chosen)))
                chosen = &s;
    arrow_ = chosen->arrow;
    if (chosen->vertical) {
        h = std::clamp(h, 2 * Border, std::max(2 * Border, chosen->room));
        w = std::min(w, area.width());
    } else {
        w = std::clamp(w, 2 * Border, std::max(2 * Border, chosen->room));
        h = std::min(h, area.height());
    }
    const float inset = CornerRadius + ArrowWidth / 2;
    gfx::Rect box;
    switch (arrow_) {
    case ArrowUp:
    case ArrowDown: {
        float x = std::clamp(a.midX() - w / 2, area.minX(), area.maxX() - w);
        float y = arrow_ == ArrowUp ? a.maxY() + ArrowDepth : a.minY() - ArrowDepth - h;
        box = {x, y, w, h};
        tip_ = {std::clamp(a.midX(), x + inset, x + w - inset), arrow_ == ArrowUp ? a.maxY() : a.minY()};
        break;
    }
    default: {
        float y = std::clamp(a.midY() - h / 2, area.minY(), area.maxY() - h);
        float x = arrow_ == ArrowLeft ? a.maxX() + ArrowDepth : a.minX() - ArrowDepth - w;
        box = {x, y, w, h};
        tip_ = {arrow_ == ArrowLeft ? a.maxX() : a.minX(), std::clamp(a.midY(), y + inset, y + h - inset)};
        break;
    }
    }
    if (KeyboardHost::shared().isVisible()) {
        // Up out of the keyboard's way, as far as the top margin allows, then shorter.
        const float limit = KeyboardHost::endFrame().minY() - Margin;
        const float rise = std::clamp(box.maxY() - limit, 0.f, std::max(0.f, box.minY() - area.minY()));
        box = box.offset(0, -rise);
        tip_.y -= rise;
        if (box.maxY() > limit)
            box.s.h = std::max(2 * Border, limit - box.minY());
        h = box.height();
    }
    box_ = box;

    gfx::Rect arrowFrame;
    gfx::Point t{tip_.x - box.x(), tip_.y - box.y()};
    switch (arrow_) {
    case ArrowUp:
        arrowFrame = {t.x - ArrowWidth / 2, -ArrowDepth, ArrowWidth, ArrowDepth};
        break;
    case ArrowDown:
        arrowFrame = {t.x - ArrowWidth / 2, h, ArrowWidth, ArrowDepth};
        break;
    case ArrowLeft:
        arrowFrame = {-ArrowDepth, t.y - ArrowWidth / 2, ArrowDepth, ArrowWidth};
        break;
    default:
        arrowFrame = {w, t.y - ArrowWidth / 2, ArrowDepth, ArrowWidth};
        break;
    }
    frame_->arrow->setDirection(arrow_);
    gfx::Rect contentFrame{Border, Border, w - 2 * Border, h - 2 * Border};
    auto apply = [&] {
        frame_->setFrame(box);
        frame_->arrow->setFrame(arrowFrame);
        if (content_->isViewLoaded())
            content_->view().setFrame(contentFrame);
    };
    if (animated)
        View::animate(ResizeDuration, apply);
    else
        apply();
}

} // namespace ui
