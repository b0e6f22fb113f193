#pragma once

#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/View.h"

// A small panel announcing a newly arrived breaking-news item over the main view. It removes
// itself 3 s after it is made, or at once when its close button is tapped; the creator only adds
// it to a view and lets go of it.
class BreakingNewsTipView : public ui::View {
public:
    static constexpr double ShowSeconds = 3.0;

    static base::Ref<BreakingNewsTipView> create(gfx::Rect frame);

    ui::Label &titleLabel() { return *titleLabel_; }
    ui::Label &dateTimeLabel() { return *dateTimeLabel_; }
    ui::Label &newsLabel() { return *newsLabel_; }
    ui::Button &closeBtn() { return *closeBtn_; }

    void dismiss();

protected:
    explicit BreakingNewsTipView(gfx::Rect frame);

private:
    void initData();
    void initUI(gfx::Rect rect);
    void dismissAction(ui::Button *sender);

    base::Ref<ui::Button> closeBtn_;
    base::Ref<ui::Label> titleLabel_, dateTimeLabel_, newsLabel_;
};
