#include "ui/KeyboardHost.h"

#include "base/NotificationCenter.h"
#include "base/RunLoop.h"
#include "ui/Host.h"

namespace ui {

KeyboardHost &KeyboardHost::shared() {
    static KeyboardHost host;
    return host;
}

void KeyboardHost::post(const char *name) {
    gfx::Rect f = endFrame();
    base::Dict info;
    info.set(FrameEndKey, base::Array{f.x(), f.y(), f.width(), f.height()});
    info.set(DurationKey, Duration);
    base::NotificationCenter::shared().post(name, nullptr, std::move(info));
}

void KeyboardHost::inputBegan(Responder &input, gfx::Rect caret, bool secure) {
    input_ = &input;
    if (Host *host = Host::current())
        host->startTextInput(caret, secure);
    if (visible_)
        return;
    visible_ = true;
    unsigned run = ++generation_;
    post(WillShowNotification);
    base::RunLoop::main().performAfter(Duration, base::Action("keyboardDidShow", [this, run](base::Object *) {
                                           if (run == generation_)
                                               post(DidShowNotification);
                                       }));
}

void KeyboardHost::caretMoved(Responder &input, gfx::Rect caret, bool secure) {
    if (input_ != &input)
        return;
    if (Host *host = Host::current())
        host->startTextInput(caret, secure);
}

void KeyboardHost::inputEnded(Responder &input) {
    if (input_ != &input)
        return;
    input_ = nullptr;
    if (switching_)
        return;
    if (Host *host = Host::current())
        host->stopTextInput();
    hide();
}

void KeyboardHost::hide() {
    if (!visible_)
        return;
    visible_ = false;
    unsigned run = ++generation_;
    post(WillHideNotification);
    base::RunLoop::main().performAfter(Duration, base::Action("keyboardDidHide", [this, run](base::Object *) {
                                           if (run == generation_)
                                               post(DidHideNotification);
                                       }));
}

} // namespace ui
