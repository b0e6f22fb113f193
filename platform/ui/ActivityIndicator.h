#pragma once

#include "base/Timer.h"
#include "ui/View.h"

namespace ui {

// Twelve spokes turning while it animates; hidden while stopped unless told otherwise.
class ActivityIndicator : public View {
public:
    enum class Style { WhiteLarge, White, Gray };

    explicit ActivityIndicator(Style style = Style::White);
    ~ActivityIndicator() override;

    Style style() const { return style_; }
    void start();
    void stop();
    bool isAnimating() const { return timer_ != nullptr; }
    bool hidesWhenStopped() const { return hidesWhenStopped_; }
    void setHidesWhenStopped(bool hides);

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    Style style_;
    bool hidesWhenStopped_ = true;
    int phase_ = 0;
    base::Ref<base::Timer> timer_;
};

} // namespace ui
