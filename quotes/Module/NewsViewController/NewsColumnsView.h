#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsColumnItemInfo.h"

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <vector>

class NewsViewController;

// The bar of news columns across the top of the news screen: one button per column in a
// horizontal strip, the chosen one highlighted, arrows at the ends while the strip has more to
// scroll that way. New columns select the first; every tap (also on the chosen column) asks the
// screen for that column's list from its first page.
class NewsColumnsView : public ui::View {
public:
    static constexpr float TitleFontSize = 18, TitlePadding = 20, ButtonInset = 4;

    NewsColumnsView(gfx::Rect frame, base::Weak<NewsViewController> controller);
    void setUp() override;

    // Shows the columns and opens the first; the array already shown changes nothing.
    void updateColumns(const std::vector<base::Ref<NewsColumnItemInfo>> &columns);
    void onButtonClicked(ui::Button &button);
    void procButtonClickedAtIndex(size_t index);
    // Shows each arrow while the strip can scroll that way.
    void changeScrollTipStatus(ui::ScrollView &scrollView);

    // For the screen and tests.
    ui::ScrollView &scrollView() { return *scrollView_; }
    const std::vector<base::Ref<ui::Button>> &buttons() const { return _buttons; }
    ui::ImageView &leftTip() { return *leftTip_; }
    ui::ImageView &rightTip() { return *rightTip_; }

private:
    struct ScrollLink;

    base::Ref<ui::Button> createButtonWithTitle(const std::string &title);

    base::Weak<NewsViewController> weakRefController;
    base::Ref<ui::ScrollView> scrollView_;
    base::Ref<ScrollLink> scrollLink_;
    base::Ref<ui::ImageView> leftTip_, rightTip_;
    std::vector<base::Ref<NewsColumnItemInfo>> _columns;
    std::vector<base::Ref<ui::Button>> _buttons;
};
