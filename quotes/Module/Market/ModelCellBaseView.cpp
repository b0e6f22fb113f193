#include "Module/Market/ModelCellBaseView.h"

#include "Common/StylePool.h"

void MiniMinLineImageView::setUp() {
    ui::ImageView::setUp();
    userInteractionEnabled = false;
    addGestureRecognizer(base::make<ui::TapRecognizer>(BASE_ACTION(this, handleTapEvent)));
}

void MiniMinLineImageView::handleTapEvent() {
    if (auto d = delegate.lock())
        d->OnClickImageView();
}

void ModelCellBaseView::initMiniImageView(gfx::Rect rect) {
    if (!m_miniImageView) {
        m_miniImageView = base::make<MiniMinLineImageView>(gfx::Rect{}, StylePool::Instance().imgMiniWaiting);
        m_miniImageView->setContentMode(ui::ImageView::Mode::Center);
        m_miniImageView->clipsToBounds = true;
        contentView().addSubview(m_miniImageView);
    }
    float h = rect.height();
    m_miniImageView->setFrame({TrendX, 0.1f * h, TrendWidth, 0.8f * h});
}

void ModelCellBaseView::showMView(const base::Ref<MiniMinLineView> &mview) {
    if (m_miniImageView) {
        m_miniImageView->setImage(mview && mview->image() ? mview->image()
                                                          : StylePool::Instance().imgMiniWaiting);
        return;
    }
    miniViewObj = mview;
    setNeedsDisplay();
}

base::Opt<void> ModelCellBaseView::OnClickImageView() {
    if (auto d = delegate.lock(); d && indexPath)
        d->ReturnSelectedCell(nullptr, *indexPath);
    return {};
}
