#pragma once

#include "ui/Button.h"
#include "ui/View.h"

#include <functional>

// The broker login form, shown over the current screen above a dimming view. The form closes
// itself (login success or cancel) and takes its dimming view along; a cancel also calls the
// cancel action set by whoever showed it. The form's fields and the login itself belong to the
// trading screens; this is the part the trade message centre drives.
class LoginView : public ui::View {
public:
    explicit LoginView(gfx::Rect frame);

    ui::Button &cancelBtn() { return *m_cancelBtn; }
    void setBgView(base::Weak<ui::View> bgView) { m_bgView = std::move(bgView); }
    // The operation called on `target`, while it lives, when the user cancels the form.
    void SetCancelTarget(base::Weak<base::Object> target, std::function<void()> cancelAction);

    // Removes the form and its dimming view.
    void close();

private:
    void cancelTapped();

    base::Ref<ui::Button> m_cancelBtn;
    base::Weak<ui::View> m_bgView;
    base::Weak<base::Object> m_cancelTarget;
    std::function<void()> m_cancelAction;
};
