#include "ui/NavigationController.h"

#include <algorithm>

namespace ui {

// Lays out the bar and the top screen when the navigation controller's view changes size.
class NavigationController::ContainerView : public View {
public:
    ContainerView(gfx::Rect frame, NavigationController &owner) : View(frame), owner_(&owner) {}
    void layoutSubviews() override {
        if (owner_)
            owner_->layout();
    }
    NavigationController *owner_;
};

NavigationController::NavigationController(base::Ref<ViewController> root)
    : bar_(base::make<NavigationBar>(
          gfx::Rect{0, 0, Screen::main().applicationFrame().width(), NavigationBar::Height})) {
    stack_.push_back(root ? std::move(root) : base::make<ViewController>());
    adopt(*stack_.front());
}

void NavigationController::setUp() {
    ViewController::setUp();
    bar_->setItems({stack_.front()->navigationItem().self<NavigationItem>()});
    base::Weak<NavigationController> weak = weakSelf<NavigationController>();
    bar_->onBack = [weak] {
        if (auto n = weak.lock())
            n->pop(true);
    };
}

NavigationController::~NavigationController() {
    for (auto &c : stack_)
        if (c->parent() == this)
            release(*c);
    if (auto *container = dynamic_cast<ContainerView *>(viewIfLoaded()))
        container->owner_ = nullptr;
}

void NavigationController::loadView() {
    auto container = base::make<ContainerView>(Screen::main().applicationFrame(), *this);
    container->clipsToBounds = true;
    container->addSubview(bar_);
    setView(container);
    const base::Ref<View> &topView = top()->viewRef();
    topView->autoresizingMask = FlexibleWidth | FlexibleHeight;
    topView->setFrame(contentFrame());
    container->insertSubview(topView, 0);
}

gfx::Rect NavigationController::contentFrame() {
    gfx::Rect b = view().bounds();
    float bar = barHidden_ ? 0 : bar_->sizeThatFits(b.s).h;
    return {0, bar, b.width(), b.height() - bar};
}

void NavigationController::layout() {
    gfx::Rect b = view().bounds();
    bar_->setHidden(barHidden_);
    bar_->setFrame({0, 0, b.width(), bar_->sizeThatFits(b.s).h});
    if (!slideEnd_ && top()->isViewLoaded() && top()->view().superview() == &view())
        top()->view().setFrame(contentFrame());
}

ViewController *NavigationController::visible() const {
    ViewController *t = top();
    return t->presentedController() ? t->presentedController() : t;
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
    if (hidden == barHidden_)
        return;
    barHidden_ = hidden;
    if (isViewLoaded()) {
        if (animated)
            View::animate(0.2, [&] { layout(); });
        else
            layout();
    }
    popoverSizeChanged(animated);
}

void NavigationController::push(base::Ref<ViewController> controller, bool animated) {
    if (!controller || controller->parent() || controller->presentingController() || controller->popover() ||
        std::find(stack_.begin(), stack_.end(), controller) != stack_.end())
        return;
    finishSlide();
    base::Ref<ViewController> old = stack_.back();
    stack_.push_back(controller);
    adopt(*controller);
    bar_->pushItem(controller->navigationItem().self<NavigationItem>());
    if (isViewLoaded())
        show(old, *controller, true, animated);
    popoverSizeChanged(animated);
}

base::Ref<ViewController> NavigationController::pop(bool animated) {
    auto popped = popDownTo(stack_.size() - 1, animated);
    return popped.empty() ? nullptr : popped.back();
}

std::vector<base::Ref<ViewController>> NavigationController::popToRoot(bool animated) {
    return popDownTo(1, animated);
}

std::vector<base::Ref<ViewController>> NavigationController::popTo(ViewController &controller,
                                                                   bool animated) {
    auto it = std::find_if(stack_.begin(), stack_.end(), [&](auto &c) { return c.get() == &controller; });
    if (it == stack_.end())
        return {};
    return popDownTo(size_t(it - stack_.begin()) + 1, animated);
}

std::vector<base::Ref<ViewController>> NavigationController::popDownTo(size_t keep, bool animated) {
    if (keep == 0 || keep >= stack_.size())
        return {};
    finishSlide();
    std::vector<base::Ref<ViewController>> popped(stack_.begin() + long(keep), stack_.end());
    stack_.resize(keep);
    std::vector<base::Ref<NavigationItem>> items;
    for (auto &c : stack_)
        items.push_back(c->navigationItem().self<NavigationItem>());
    bar_->setItems(items);
    // The screens between stay off the window; only the old top slides out.
    for (size_t i = 0; i + 1 < popped.size(); ++i)
        release(*popped[i]);
    if (isViewLoaded())
        show(popped.back(), *top(), false, animated);
    else
        release(*popped.back());
    popoverSizeChanged(animated);
    return popped;
}

void NavigationController::show(base::Ref<ViewController> outgoing, ViewController &incoming, bool forward,
                                bool animated) {
    const bool popping = !forward;
    const bool showing = isShowing();
    base::Ref<ViewController> in = incoming.self<ViewController>();
    if (auto d = delegate.lock())
        d->willShow(*this, incoming, animated);
    gfx::Rect place = contentFrame();
    const base::Ref<View> &inView = incoming.viewRef();
    inView->setFrame(place);
    inView->autoresizingMask = FlexibleWidth | FlexibleHeight;
    if (showing) {
        outgoing->beginAppearance(false, animated);
        incoming.beginAppearance(true, animated);
    }
    view().insertSubviewBelow(inView, bar_.get());

    auto token = std::make_shared<bool>(false);
    base::Weak<NavigationController> weak = weakSelf<NavigationController>();
    slideEnd_ = [weak, outgoing, in, popping, animated, token] {
        auto self = weak.lock();
        if (*token || !self)
            return;
        *token = true;
        self->slideEnd_ = nullptr;
        if (outgoing->isViewLoaded() && outgoing->view().superview() == self->viewIfLoaded())
            outgoing->view().removeFromSuperview();
        if (popping && outgoing->parent() == self.get())
            release(*outgoing);
        outgoing->endAppearance(animated);
        in->endAppearance(animated);
        if (auto d = self->delegate.lock())
            d->didShow(*self, *in, animated);
    };
    if (!animated) {
        finishSlide();
        return;
    }
    float shift = place.width() * (forward ? 1 : -1);
    inView->setFrame(place.offset(shift, 0));
    View &outView = outgoing->view();
    View::animate(
        SlideDuration, 0, Curve::EaseInOut,
        [&] {
            inView->setFrame(place);
            outView.setFrame(place.offset(-shift, 0));
        },
        [weak, token](bool) {
            if (auto self = weak.lock(); self && !*token)
                self->finishSlide();
        });
}

void NavigationController::finishSlide() {
    if (auto end = std::move(slideEnd_))
        end();
}

} // namespace ui
