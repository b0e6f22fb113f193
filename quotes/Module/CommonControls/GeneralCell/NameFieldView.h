#pragma once

#include "base/Timer.h"
#include "ui/Gesture.h"
#include "ui/Label.h"
#include "ui/View.h"

// The name-and-code column of a quote row: the security's name over its code. A long press widens
// the name to 180 points on a grey ground for 1.5 s, so that a name cut by a narrow column can be
// read whole. A pending restore keeps the view alive until it has run; a view that goes earlier
// cancels it.
class NameFieldView : public ui::View {
public:
    static constexpr float TipWidth = 180;
    static constexpr double TipSeconds = 1.5;
    static constexpr double PressSeconds = 0.5;
    static constexpr double AnimationSeconds = 0.25;

    explicit NameFieldView(gfx::Rect frame);
    ~NameFieldView() override;
    void setUp() override;

    void longPressEvent();
    // Narrows the name back to the view's width.
    void showTip();

    ui::Label &StocknameLabel() { return *m_stocknameLabel; }
    ui::Label &StockcodeLabel() { return *m_stockcodeLabel; }
    ui::LongPressRecognizer &longPressRecognizer() { return *m_longPressRecognizer; }

private:
    base::Ref<ui::Label> m_stocknameLabel, m_stockcodeLabel;
    base::Ref<ui::LongPressRecognizer> m_longPressRecognizer;
    base::Weak<base::Timer> m_timer;
};
