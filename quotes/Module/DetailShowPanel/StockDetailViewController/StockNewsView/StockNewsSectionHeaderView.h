#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <string>

class StockNewsSectionHeaderView;

// What the header of a stock news category tells its owner.
class StockNewsSectionHeaderViewDelegate {
public:
    virtual ~StockNewsSectionHeaderViewDelegate() = default;
    // The header was tapped: its category is now expanded or not.
    virtual base::Opt<void> stockNewsSectionHeaderView(StockNewsSectionHeaderView &header, bool expanded,
                                                       int index) {
        (void)header, (void)expanded, (void)index;
        return base::notImplemented;
    }
};

// The header of one category of a security's news: the category's title in white on its bar,
// after an arrow pointing right while the category is closed and down while it is open. A tap
// anywhere on it opens or closes the category and tells the delegate.
class StockNewsSectionHeaderView : public ui::View {
public:
    static constexpr float kArrowX = 5, kTitleGap = 5;
    static constexpr const char *kArrowRight = "stock_news_category_arrow_right.png";
    static constexpr const char *kArrowDown = "stock_news_category_arrow_down.png";

    StockNewsSectionHeaderView(gfx::Rect frame, std::string title, int index);
    void setUp() override;

    bool isExpanded() const { return _isExpanded; }
    void setIsExpanded(bool expanded);
    int index() const { return _index; }
    // The tap's action: flips the state and tells the delegate.
    void onSectionHeaderClicked();

    // Not retained.
    base::Weak<StockNewsSectionHeaderViewDelegate> delegate;

    // For tests.
    ui::ImageView &arrowView() { return *arrowView_; }
    ui::Label &titleLabel() { return *titleLabel_; }
    ui::Button &button() { return *button_; }

private:
    std::string title_;
    int _index;
    bool _isExpanded = false;
    base::Ref<ui::ImageView> arrowView_;
    base::Ref<ui::Label> titleLabel_;
    base::Ref<ui::Button> button_;
};
