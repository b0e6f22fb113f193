#pragma once

#include "ui/Application.h"
#include "ui/NavigationItem.h"
#include "ui/Responder.h"
#include "ui/View.h"

#include <string>
#include <vector>

namespace ui {

class NavigationController;
class Popover;
class TabBarController;

// What a tab shows in the tab bar.
struct TabBarItem {
    std::string title;
    base::Ref<gfx::Image> image;
    int tag = 0;
};

// Owns one screen's view and answers for it. The view is made on first access (loadView, then
// viewDidLoad), never by a container's set-up, and may be unloaded again by a memory warning while
// it is out of every window.
//
// Containers, the window and the presentation of modal screens and popovers tell a controller when
// its view enters or leaves the window, in the platform's order: just before a view enters, the
// controller is asked shouldAutorotateTo with the current orientation (screens lay out there), then
// viewWillAppear; viewDidAppear when the view is in place (after any animation). Leaving sends
// viewWillDisappear and viewDidDisappear the same way. A container passes each call on to the child
// it shows. A controller is told each change once: a second "appear" while it shows is not sent.
//
// Presenting never waits: presentModal returns at once and the presented controller's own code
// answers later. Misuse (presenting a controller that is already shown or has a parent, presenting
// while something is presented) does nothing.
class ViewController : public Responder {
public:
    enum class Presentation { FullScreen = 0, FormSheet = 2 };
    enum class Transition { CoverVertical = 0, CrossDissolve = 2 };
    // The size of a form sheet, centred in the window.
    static constexpr gfx::Size FormSheetSize{540, 620};
    static constexpr double CrossDissolveDuration = 0.3, CoverVerticalDuration = 0.3;

    ViewController();
    ~ViewController() override;

    // The view, loaded when needed.
    View &view();
    const base::Ref<View> &viewRef();
    bool isViewLoaded() const { return view_ != nullptr; }
    View *viewIfLoaded() const { return view_.get(); }
    // Sets the view from loadView (or replaces it).
    void setView(base::Ref<View> view);

    // Makes the view; the default is a plain view of the application frame.
    virtual void loadView();
    virtual void viewDidLoad() {}
    virtual void viewDidUnload() {}
    virtual void viewWillAppear(bool) {}
    virtual void viewDidAppear(bool) {}
    virtual void viewWillDisappear(bool) {}
    virtual void viewDidDisappear(bool) {}
    // Sent to every controller on a memory warning. The base unloads a loaded view that is in no
    // window and then sends viewDidUnload; overrides call it.
    virtual void didReceiveMemoryWarning();
    // Whether the screen may show in the orientation; screens lay themselves out here. The base
    // answers yes for the two landscape orientations.
    virtual bool shouldAutorotateTo(Orientation orientation);

    std::string title() const { return title_; }
    void setTitle(std::string title);
    TabBarItem &tabBarItem() { return tabBarItem_; }
    NavigationItem &navigationItem();

    // The size wanted when shown in a popover; a change resizes a visible popover showing it.
    gfx::Size contentSizeInPopover() const { return contentSizeInPopover_; }
    void setContentSizeInPopover(gfx::Size size);

    // The container holding this controller, and the nearest navigation and tab-bar controllers above.
    ViewController *parent() const { return parent_; }
    NavigationController *navigationController() const;
    TabBarController *tabBarController() const;
    // The child whose view the container shows now; nullptr for a plain screen.
    virtual ViewController *visibleChild() const { return nullptr; }

    Presentation presentation = Presentation::FullScreen;
    Transition transition = Transition::CoverVertical;
    // When shown from a popover's content, outside taps leave that popover open.
    bool modalInPopover = false;
    void presentModal(base::Ref<ViewController> controller, bool animated);
    // Dismisses what this controller presents, or this controller when it is the one presented.
    void dismissModal(bool animated);
    ViewController *presentingController() const { return presenting_.lock().get(); }
    ViewController *presentedController() const { return presented_.get(); }

    // Whether the view is in the window and told so (appeared, or appearing).
    bool isShowing() const { return state_ == State::Appearing || state_ == State::Appeared; }

    // Appearance, as containers, windows, modal screens and popovers send it: the will-half (the
    // rotation question first when appearing) and the did-half, each passed on to the shown child.
    void beginAppearance(bool appearing, bool animated);
    void endAppearance(bool animated);

    // Asks this controller, then the child it shows and what it presents, down the chain; false
    // at the first that refuses.
    bool rotationAllowed(Orientation orientation);
    // The top of the chain of containers above this controller.
    ViewController *root();
    // The popover this controller is the content of, if any.
    Popover *popover() const;

protected:
    // Containers adopt and release children.
    void adopt(ViewController &child) { child.parent_ = this; }
    static void release(ViewController &child) { child.parent_ = nullptr; }
    // Called when a shown child's popover size matters (a push or pop inside a popover).
    void popoverSizeChanged(bool animated);

private:
    friend class Popover;
    enum class State { Disappeared, Appearing, Appeared, Disappearing };
    static void dismiss(base::Ref<ViewController> controller, ViewController *presenter, bool animated);

    base::Ref<View> view_;
    std::string title_;
    TabBarItem tabBarItem_;
    base::Ref<NavigationItem> navigationItem_;
    gfx::Size contentSizeInPopover_{320, 1100};
    ViewController *parent_ = nullptr;
    base::Ref<ViewController> presented_;
    base::Weak<ViewController> presenting_;
    base::Ref<View> modalHost_;
    base::Weak<Popover> popover_;
    // Identifies the running presentation or dismissal, so that a late completion of an earlier
    // one does nothing.
    std::shared_ptr<int> transitionToken_;
    State state_ = State::Disappeared;
};

} // namespace ui
