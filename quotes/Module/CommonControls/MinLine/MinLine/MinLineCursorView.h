#pragma once

#include "Module/CommonControls/KLine/BaseClass/KLineViewBase.h"

class MinLineView;

// The transparent overlay of the intraday chart view that draws its cross-hair, so that moving
// the cross-hair redraws only the hair, its tags and the information panel. It covers the chart
// view, starts hidden and takes only the touches that land on it: a tap hides it (the chart's
// level-2 title returns to the latest minute), a pan moves the hair with the finger.
class MinLineCursorView : public KLineViewBase {
public:
    static constexpr int Tag = 400;

    MinLineCursorView(gfx::Rect frame, base::Weak<MinLineView> controller);
    void setUp() override;

    // Puts the hair at the point (in the chart view's space), shows it and redraws.
    void showView(gfx::Point point);
    // Moves the shown hair.
    void showViewAgain(gfx::Point point);

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void singleTap() override;
    void handlePanFrom(ui::PanRecognizer *recognizer) override;

    gfx::Point cursorTouch() const { return m_cursorTouch; }

private:
    base::Weak<MinLineView> m_controller;
    gfx::Point m_cursorTouch;
};
