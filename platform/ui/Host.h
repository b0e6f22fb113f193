#pragma once

#include "gfx/Geometry.h"

#include <string>

namespace ui {

class Alert;
class View;

// What presents the application: the SDL window or the offscreen host of the tests. The view
// system tells it what it cannot do itself; every operation has a harmless default so that code
// runs without any host at all.
class Host {
public:
    virtual ~Host() = default;

    // The one installed host, or nullptr.
    static Host *current();
    // Installs `host` (not owned); nullptr removes it.
    static void setCurrent(Host *host);

    // Hands an address to the system's browser; false when nothing can open it.
    virtual bool openUrl(const std::string &) { return false; }
    // An alert went on screen or left it.
    virtual void alertShown(Alert &) {}
    virtual void alertDismissed(Alert &, int) {}
    // A short-lived message went on screen in `view`.
    virtual void toastShown(const std::string &, View &) {}
    // Gives the display back before the process ends.
    virtual void shutdown() {}
    // Something on screen changed since the last frame: a host that sleeps while nothing happens
    // schedules one.
    virtual void setNeedsFrame() {}

    // A text input became first responder or its caret moved (window coordinates): typed text is
    // wanted, with the input method's window beside the caret; a secure input wants no input method.
    virtual void startTextInput(gfx::Rect, bool) {}
    // No text input is first responder any more.
    virtual void stopTextInput() {}
    // The system clipboard; by default one kept in the process.
    virtual void setClipboardText(const std::string &text) { clipboard_ = text; }
    virtual std::string clipboardText() const { return clipboard_; }

private:
    std::string clipboard_;
};

} // namespace ui
