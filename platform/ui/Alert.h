#pragma once

#include "ui/Label.h"
#include "ui/View.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

class Alert;

struct AlertDelegate : base::Object {
    virtual base::Opt<void> clicked(Alert &, int) { return base::notImplemented; }
    virtual base::Opt<void> willPresent(Alert &) { return base::notImplemented; }
    virtual base::Opt<void> didPresent(Alert &) { return base::notImplemented; }
    virtual base::Opt<void> willDismiss(Alert &, int) { return base::notImplemented; }
    virtual base::Opt<void> didDismiss(Alert &, int) { return base::notImplemented; }
};

// A drawn alert on the key window's alert layer. show() returns at once (there is no nested event
// loop); the answer arrives through the delegate: willPresent, then didPresent on a coming pass of
// the run loop; a tapped button sends clicked, willDismiss and didDismiss with its index, while
// dismiss() from the program sends only the last two. The cancel button, when there is one, has
// index 0 and the others follow in order. Several alerts stack: the newest shows, and the one
// below comes back when it goes. A visible alert is kept alive by the stack.
class Alert : public View {
public:
    Alert(std::string title, std::string message, base::Weak<AlertDelegate> delegate,
          std::optional<std::string> cancelTitle, std::vector<std::string> otherTitles);

    base::Weak<AlertDelegate> delegate;

    const std::string &title() const { return titleLabel_->text(); }
    const std::string &message() const { return messageLabel_->text(); }
    // Title and message are labels, so a delegate may restyle them in willPresent.
    Label &titleLabel() { return *titleLabel_; }
    Label &messageLabel() { return *messageLabel_; }

    // Adds a button after the others; answers its index.
    int addButton(std::string title);
    std::string buttonTitle(int index) const;
    int buttonCount() const { return int(titles_.size()); }
    // -1 when there is no cancel button.
    int cancelIndex() const { return hasCancel_ ? 0 : -1; }
    // -1 when there are no buttons besides the cancel button.
    int firstOtherIndex() const;
    // Where the button sits, in window coordinates (for taps from tests and hosts).
    gfx::Rect buttonFrame(int index);

    void show();
    void dismiss(int index, bool animated);
    bool isVisible() const;
    // What a tap on the button does: clicked, then the dismissal.
    void press(int index);

    // The alerts on screen, the newest last.
    static std::vector<base::Ref<Alert>> visibleAlerts();
    // Takes every alert off the stack without telling delegates (for hosts that shut down).
    static void discardAll();

    void layoutSubviews() override;

private:
    class ButtonView;
    void didPresent();
    void layoutButtons(float top);
    float measuredHeight();

    base::Ref<Label> titleLabel_, messageLabel_;
    std::vector<std::string> titles_;
    std::vector<base::Ref<ButtonView>> buttons_;
    bool hasCancel_;
};

// A short-lived message shown over the content: a dark rounded box with the text, centred, that
// removes itself after its time. Hosts record every toast.
class Toast {
public:
    static constexpr double DefaultDuration = 2.0;
    // Shows the text in `in` (the key window when nullptr); answers the toast's view.
    static base::Ref<View> show(const std::string &text, View *in = nullptr,
                                double seconds = DefaultDuration);
};

} // namespace ui
