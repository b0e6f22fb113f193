#pragma once

#include "Module/CommonControls/KLine/BaseClass/KLineViewBase.h"

class KLineView;

// The transparent cross-hair overlay over a candlestick view: drawing only the cross-hair keeps a
// moving finger from redrawing the whole chart. Hidden while no cross-hair is shown. A tap hides it;
// one finger moves the cross-hair; two fingers scroll the chart under it.
class KLineCursorView : public KLineViewBase {
public:
    static constexpr int Tag = 200;

    static base::Ref<KLineCursorView> create(gfx::Rect frame, const base::Ref<KLineView> &controller);

    // Stores the point, shows the overlay and redraws it.
    void showView(gfx::Point point);
    // Stores the point and redraws.
    void showViewAgain(gfx::Point point);
    gfx::Point cursorTouch() const { return m_cursorTouch; }

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;
    void singleTap() override;
    void handlePanFrom(ui::PanRecognizer *recognizer) override;
    void handleDblPanFrom(ui::PanRecognizer *recognizer) override;

protected:
    explicit KLineCursorView(gfx::Rect frame);

private:
    base::Weak<KLineView> m_controller;
    gfx::Point m_cursorTouch;
};
