#include "ui/ViewController.h"

#include "base/NotificationCenter.h"
#include "ui/NavigationController.h"
#include "ui/Popover.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

#include <algorithm>

namespace ui {

namespace {

// Every live controller, for memory warnings.
std::vector<ViewController *> &everyController() {
    static std::vector<ViewController *> all;
    return all;
}

// Presented controllers stay alive until dismissed, even when their presenter goes.
std::vector<base::Ref<ViewController>> &presentedOnScreen() {
    static std::vector<base::Ref<ViewController>> shown;
    return shown;
}

void observeMemoryWarnings() {
    static base::Ref<base::Object> observer = [] {
        auto o = base::make<base::Object>();
        base::NotificationCenter::shared().addObserver(
            o, Application::MemoryWarningNotification, [](const base::Notification &) {
                std::vector<base::Ref<ViewController>> alive;
                for (ViewController *c : everyController())
                    if (auto ref = std::dynamic_pointer_cast<ViewController>(c->weak_from_this().lock()))
                        alive.push_back(ref);
                for (auto &c : alive)
                    c->didReceiveMemoryWarning();
            });
        return o;
    }();
}

Window *windowFor(const base::Ref<View> &view) {
    Window *w = view ? view->window() : nullptr;
    return w ? w : Application::shared().keyWindow();
}

} // namespace

ViewController::ViewController() {
    observeMemoryWarnings();
    everyController().push_back(this);
}

ViewController::~ViewController() {
    std::erase(everyController(), this);
    if (presented_)
        presented_->presenting_.reset();
}

View &ViewController::view() {
    return *viewRef();
}

const base::Ref<View> &ViewController::viewRef() {
    if (!view_) {
        loadView();
        if (!view_)
            ViewController::loadView();
        viewDidLoad();
    }
    return view_;
}

void ViewController::setView(base::Ref<View> view) {
    view_ = std::move(view);
}

void ViewController::loadView() {
    view_ = base::make<View>(Screen::main().applicationFrame());
}

void ViewController::didReceiveMemoryWarning() {
    if (!view_ || view_->window())
        return;
    view_->removeFromSuperview();
    view_ = nullptr;
    viewDidUnload();
}

bool ViewController::shouldAutorotateTo(Orientation orientation) {
    return orientation == Orientation::LandscapeLeft || orientation == Orientation::LandscapeRight;
}

bool ViewController::rotationAllowed(Orientation orientation) {
    if (!shouldAutorotateTo(orientation))
        return false;
    if (ViewController *child = visibleChild(); child && !child->rotationAllowed(orientation))
        return false;
    return !presented_ || presented_->rotationAllowed(orientation);
}

void ViewController::setTitle(std::string title) {
    title_ = title;
    navigationItem().setTitle(std::move(title));
}

NavigationItem &ViewController::navigationItem() {
    if (!navigationItem_)
        navigationItem_ = base::make<NavigationItem>(title_);
    return *navigationItem_;
}

void ViewController::setContentSizeInPopover(gfx::Size size) {
    if (size == contentSizeInPopover_)
        return;
    contentSizeInPopover_ = size;
    popoverSizeChanged(true);
}

NavigationController *ViewController::navigationController() const {
    for (ViewController *c = parent_; c; c = c->parent_)
        if (auto *n = dynamic_cast<NavigationController *>(c))
            return n;
    return nullptr;
}

TabBarController *ViewController::tabBarController() const {
    for (ViewController *c = parent_; c; c = c->parent_)
        if (auto *t = dynamic_cast<TabBarController *>(c))
            return t;
    return nullptr;
}

ViewController *ViewController::root() {
    ViewController *c = this;
    while (c->parent_)
        c = c->parent_;
    return c;
}

Popover *ViewController::popover() const {
    return popover_.lock().get();
}

void ViewController::popoverSizeChanged(bool animated) {
    if (Popover *p = root()->popover())
        p->contentSizeChanged(animated);
}

void ViewController::beginAppearance(bool appearing, bool animated) {
    if (appearing) {
        if (isShowing())
            return;
        shouldAutorotateTo(Application::shared().statusBarOrientation());
        state_ = State::Appearing;
        viewWillAppear(animated);
    } else {
        if (!isShowing())
            return;
        state_ = State::Disappearing;
        viewWillDisappear(animated);
    }
    if (ViewController *child = visibleChild())
        child->beginAppearance(appearing, animated);
}

void ViewController::endAppearance(bool animated) {
    if (state_ == State::Appearing) {
        state_ = State::Appeared;
        viewDidAppear(animated);
    } else if (state_ == State::Disappearing) {
        state_ = State::Disappeared;
        viewDidDisappear(animated);
    } else {
        return;
    }
    if (ViewController *child = visibleChild())
        child->endAppearance(animated);
}

void ViewController::presentModal(base::Ref<ViewController> controller, bool animated) {
    if (!controller || controller.get() == this || presented_ || controller->parent_ ||
        controller->presenting_.lock() || controller->isShowing() || controller->popover())
        return;
    Window *window = windowFor(view_);
    if (!window)
        return;
    ViewController &c = *controller;
    presented_ = controller;
    c.presenting_ = weakSelf<ViewController>();
    presentedOnScreen().push_back(controller);

    const bool sheet = c.presentation == Presentation::FormSheet;
    ViewController *covered = sheet ? nullptr : root();
    View &view = c.view();
    gfx::Rect bounds = window->bounds();
    gfx::Rect place = Screen::main().applicationFrame();
    if (sheet) {
        // A dimmed layer over the whole window that keeps touches from what lies below.
        c.modalHost_ = base::make<View>(bounds);
        c.modalHost_->setBackgroundColor(gfx::Color::white(0, 0.4f));
        place = {(bounds.width() - FormSheetSize.w) / 2, (bounds.height() - FormSheetSize.h) / 2,
                 FormSheetSize.w, FormSheetSize.h};
        view.layer().cornerRadius = 6;
        view.clipsToBounds = true;
        c.modalHost_->addSubview(c.viewRef());
    } else {
        c.modalHost_ = c.viewRef();
    }
    view.setFrame(place);

    if (covered)
        covered->beginAppearance(false, animated);
    c.beginAppearance(true, animated);
    window->addSubview(c.modalHost_);

    auto token = c.transitionToken_ = std::make_shared<int>();
    base::Weak<ViewController> weakCovered =
        covered ? covered->weakSelf<ViewController>() : base::Weak<ViewController>();
    auto done = [controller, weakCovered, token, animated](bool) {
        if (controller->transitionToken_ != token)
            return;
        if (auto v = weakCovered.lock())
            v->endAppearance(animated);
        controller->endAppearance(animated);
    };
    if (!animated) {
        done(true);
        return;
    }
    if (c.transition == Transition::CrossDissolve) {
        c.modalHost_->setAlpha(0);
        View::animate(
            CrossDissolveDuration, 0, Curve::EaseInOut, [&] { c.modalHost_->setAlpha(1); }, done);
    } else {
        gfx::Rect from = place.offset(0, bounds.maxY() - place.y());
        view.setFrame(from);
        View::animate(
            CoverVerticalDuration, 0, Curve::EaseOut, [&] { view.setFrame(place); }, done);
    }
}

void ViewController::dismissModal(bool animated) {
    if (presented_) {
        base::Ref<ViewController> controller = std::move(presented_);
        dismiss(controller, this, animated);
    } else if (auto p = presenting_.lock()) {
        p->dismissModal(animated);
    } else if (auto it =
                   std::find(presentedOnScreen().begin(), presentedOnScreen().end(), weak_from_this().lock());
               it != presentedOnScreen().end()) {
        // The presenter is gone; the screen still leaves.
        dismiss(*it, nullptr, animated);
    }
}

void ViewController::dismiss(base::Ref<ViewController> controller, ViewController *presenter, bool animated) {
    ViewController &c = *controller;
    if (c.presented_)
        c.dismissModal(false);
    c.presenting_.reset();

    ViewController *covered =
        c.presentation == Presentation::FormSheet || !presenter ? nullptr : presenter->root();
    if (covered && !(covered->view_ && covered->view_->window()))
        covered = nullptr;
    c.beginAppearance(false, animated);
    if (covered)
        covered->beginAppearance(true, animated);

    auto token = c.transitionToken_ = std::make_shared<int>();
    base::Weak<ViewController> weakCovered =
        covered ? covered->weakSelf<ViewController>() : base::Weak<ViewController>();
    auto done = [controller, weakCovered, token, animated](bool) {
        if (controller->transitionToken_ != token)
            return;
        if (controller->modalHost_)
            controller->modalHost_->removeFromSuperview();
        controller->modalHost_ = nullptr;
        controller->endAppearance(animated);
        if (auto v = weakCovered.lock())
            v->endAppearance(animated);
        std::erase(presentedOnScreen(), controller);
    };
    if (!animated || !c.modalHost_) {
        done(true);
        return;
    }
    View &host = *c.modalHost_;
    if (c.transition == Transition::CrossDissolve) {
        View::animate(
            CrossDissolveDuration, 0, Curve::EaseInOut, [&] { host.setAlpha(0); }, done);
    } else {
        View &view = c.view();
        gfx::Rect to = view.frame().offset(0, host.window() ? host.window()->bounds().maxY() : 768);
        View::animate(
            CoverVerticalDuration, 0, Curve::EaseIn, [&] { view.setFrame(to); }, done);
    }
}

} // namespace ui
