#include "KLineCursorView.h"

#include "KLineView.h"

base::Ref<KLineCursorView> KLineCursorView::create(gfx::Rect frame, const base::Ref<KLineView> &controller) {
    struct Made : KLineCursorView {
        explicit Made(gfx::Rect frame) : KLineCursorView(frame) {}
    };
    base::Ref<KLineCursorView> view = base::make<Made>(frame);
    view->m_controller = controller;
    view->addTap();
    view->addPan();
    view->addDblPan();
    return view;
}

KLineCursorView::KLineCursorView(gfx::Rect frame) : KLineViewBase(frame) {
    tag = Tag;
    multipleTouchEnabled = true;
}

void KLineCursorView::showView(gfx::Point point) {
    m_cursorTouch = point;
    setHidden(false);
    setNeedsDisplay();
}

void KLineCursorView::showViewAgain(gfx::Point point) {
    m_cursorTouch = point;
    setNeedsDisplay();
}

void KLineCursorView::drawRect(gfx::Context &context, gfx::Rect) {
    if (isHidden())
        return;
    if (auto controller = m_controller.lock())
        controller->drawCursor(context, bounds(), m_cursorTouch);
}

void KLineCursorView::singleTap() {
    setHidden(true);
    if (auto controller = m_controller.lock())
        controller->setNeedsDisplay();
}

void KLineCursorView::handlePanFrom(ui::PanRecognizer *recognizer) {
    if (recognizer->state() != ui::GestureState::Changed)
        return;
    showViewAgain(recognizer->location(this));
}

void KLineCursorView::handleDblPanFrom(ui::PanRecognizer *recognizer) {
    auto controller = m_controller.lock();
    if (!controller)
        return;
    const gfx::Point point = panPoint(*recognizer);
    controller->followPan(recognizer->state(), point, panOrigin());
    controller->setNeedsDisplay();
    setNeedsDisplay();
}
