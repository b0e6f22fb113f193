#include "Module/FreeFrontPage/TopNewsTitleView.h"

#include "Common/Gdip.h"
#include "gfx/Context.h"

TopNewsTitleView::TopNewsTitleView(gfx::Rect frame) : ui::View(frame) {
    clearsContextBeforeDrawing = true;
    multipleTouchEnabled = true;
}

void TopNewsTitleView::setBgImg(base::Ref<gfx::Image> image) {
    bgImg_ = std::move(image);
    setNeedsDisplay();
}

void TopNewsTitleView::setDspTitle(std::string title) {
    dspTitle_ = std::move(title);
    setNeedsDisplay();
}

void TopNewsTitleView::setDspFont(base::Ref<gfx::Font> font) {
    dspFont_ = std::move(font);
    setNeedsDisplay();
}

void TopNewsTitleView::setDspClr(base::Ref<gfx::Color> color) {
    dspClr_ = std::move(color);
    setNeedsDisplay();
}

void TopNewsTitleView::drawRect(gfx::Context &context, gfx::Rect) {
    const gfx::Rect b = bounds();
    if (bgImg_)
        context.drawImage(b, *bgImg_);
    if (dspFont_ && dspClr_)
        Gdip::drawStrInRect(context, dspTitle_, {TextInset, 0, b.width() - 2 * TextInset, b.height()},
                            *dspFont_, *dspClr_, true, 0);
}
