#pragma once

#include "Components/CMSlideMenuItem.h"
#include "ui/ImageView.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <string>
#include <vector>

class CMSlideMenuView;

// What the owner of a tab strip hears. Optional.
class CMSlideMenuViewDelegate {
public:
    virtual ~CMSlideMenuViewDelegate() = default;
    // The tapped tab's index (its tag less 1300) and the strip.
    virtual base::Opt<void> ReturnSelectedIndex(int index, CMSlideMenuView &sender) {
        (void)index, (void)sender;
        return base::notImplemented;
    }
};

// A row of tabs in a horizontally scrolling strip, exactly one of them pressed once the user has
// tapped one. The right-hand panel of the stock detail screen switches its pages with it.
class CMSlideMenuView : public ui::View, public CMSlideMenuItemDelegate {
public:
    static constexpr int BeginTag = 1300;
    static constexpr float ItemWidth = 45, ItemHeight = 30, ItemSpace = 10;

    static base::Ref<CMSlideMenuView> create(gfx::Rect frame);

    // One tab of 45 × 30 per title, 10 points apart, centred vertically; none pressed yet.
    void SetMenuItemArray(const std::vector<std::string> &titles);
    // Tab i at (w·i + s·(i + 1), t), w wide and as high as the strip less 2t; the left value is
    // not used.
    void SetMenuItemWidth(float width, float topSpace, float leftSpace, float space);
    // Presses the tab of the index and releases the others; an index outside the tabs releases all.
    void SetSelectedItemIndex(int index);

    int count() const { return count_; }
    // The tab of an index, or nullptr.
    CMSlideMenuItem *item(int index) const;
    ui::ScrollView &bgScrollView() { return *bgScrollView_; }
    ui::ImageView &backgroundImage() { return *backgroundImage_; }
    // Given to tabs made afterwards.
    base::Ref<gfx::Image> normalImage, pressedImage;
    base::Weak<CMSlideMenuViewDelegate> delegate;

    base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) override;
    void layoutSubviews() override;

protected:
    explicit CMSlideMenuView(gfx::Rect frame);

private:
    void initUI(gfx::Rect rect);

    base::Ref<ui::ImageView> backgroundImage_;
    base::Ref<ui::ScrollView> bgScrollView_;
    std::vector<base::Ref<CMSlideMenuItem>> items_;
    int count_ = 0;
};
