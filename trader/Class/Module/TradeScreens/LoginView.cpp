#include "Class/Module/TradeScreens/LoginView.h"

namespace {

const gfx::Rect kCancelFrame{280, 270, 60, 36};

} // namespace

LoginView::LoginView(gfx::Rect frame) : ui::View(frame), m_cancelBtn(ui::Button::custom(kCancelFrame)) {
    m_cancelBtn->setTitle("取消");
    m_cancelBtn->addTarget(base::Action("cancelTapped", [this](base::Object *) { cancelTapped(); }),
                           ui::TouchUpInside);
    addSubview(m_cancelBtn);
}

void LoginView::SetCancelTarget(base::Weak<base::Object> target, std::function<void()> cancelAction) {
    m_cancelTarget = std::move(target);
    m_cancelAction = std::move(cancelAction);
}

void LoginView::close() {
    auto keep = self<LoginView>();
    if (auto bg = m_bgView.lock())
        bg->removeFromSuperview();
    removeFromSuperview();
}

void LoginView::cancelTapped() {
    auto keep = self<LoginView>();
    close();
    if (m_cancelAction && m_cancelTarget.lock())
        m_cancelAction();
}
