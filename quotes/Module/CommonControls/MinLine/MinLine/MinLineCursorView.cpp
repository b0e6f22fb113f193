#include "MinLineCursorView.h"

#include "MinLineView.h"

MinLineCursorView::MinLineCursorView(gfx::Rect frame, base::Weak<MinLineView> controller)
    : KLineViewBase(frame), m_controller(std::move(controller)) {
    tag = Tag;
}

void MinLineCursorView::setUp() {
    KLineViewBase::setUp();
    addTap();
    addPan();
}

void MinLineCursorView::showView(gfx::Point point) {
    m_cursorTouch = point;
    setHidden(false);
    setNeedsDisplay();
}

void MinLineCursorView::showViewAgain(gfx::Point point) {
    m_cursorTouch = point;
    setNeedsDisplay();
}

void MinLineCursorView::drawRect(gfx::Context &context, gfx::Rect) {
    auto controller = m_controller.lock();
    if (controller && !isHidden())
        controller->mobj()->drawCursor(context, bounds(), m_cursorTouch);
}

void MinLineCursorView::singleTap() {
    setHidden(true);
    if (auto controller = m_controller.lock())
        controller->setNeedsDisplay();
}

void MinLineCursorView::handlePanFrom(ui::PanRecognizer *recognizer) {
    if (!recognizer || recognizer->state() != ui::GestureState::Changed)
        return;
    m_cursorTouch = recognizer->location(this);
    setNeedsDisplay();
}
