#pragma once

#include "ui/Control.h"

namespace ui {

// A row of dots, one per page, the current one bright. A tap left or right of the current dot
// moves one page that way and sends value-changed.
class PageControl : public Control {
public:
    using Control::Control;

    int numberOfPages() const { return pages_; }
    void setNumberOfPages(int pages);
    int currentPage() const { return current_; }
    void setCurrentPage(int page);
    bool hidesForSinglePage() const { return hidesForSinglePage_; }
    void setHidesForSinglePage(bool hides);

    void endTracking(const Touch *touch, const Event *event) override;
    void drawRect(gfx::Context &context, gfx::Rect dirty) override;

private:
    int pages_ = 0, current_ = 0;
    bool hidesForSinglePage_ = false;
};

} // namespace ui
