#pragma once

#include "gfx/Color.h"
#include "gfx/Font.h"
#include "gfx/Image.h"
#include "ui/View.h"

#include <string>

// The title bar of a free home page column: a background picture filling the bar, when there is
// one, under a left-aligned title, vertically centred, 5 points in from either side.
class TopNewsTitleView : public ui::View {
public:
    static constexpr float TextInset = 5, TitleFontSize = 17;

    explicit TopNewsTitleView(gfx::Rect frame = {});

    void setBgImg(base::Ref<gfx::Image> image);
    void setDspTitle(std::string title);
    void setDspFont(base::Ref<gfx::Font> font);
    void setDspClr(base::Ref<gfx::Color> color);
    const base::Ref<gfx::Image> &bgImg() const { return bgImg_; }
    const std::string &dspTitle() const { return dspTitle_; }

    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    base::Ref<gfx::Image> bgImg_;
    std::string dspTitle_;
    base::Ref<gfx::Font> dspFont_ = gfx::Font::boldSystem(TitleFontSize);
    base::Ref<gfx::Color> dspClr_ = gfx::Color::white();
};
