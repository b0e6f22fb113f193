#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/View.h"

#include <string>
#include <vector>

// What the owner of a page tab strip hears of a new selection, in this order. Both optional: the
// home page takes the button, the decision page the index and title.
class FrontSwitchTabBarViewDelegate {
public:
    virtual ~FrontSwitchTabBarViewDelegate() = default;
    // The selected button; its tag is FirstTag plus the tab index.
    virtual base::Opt<void> SelectedTabItem(ui::Button &button) {
        (void)button;
        return base::notImplemented;
    }
    virtual base::Opt<void> frontSwitchTabBarView_didSelectTabItem(int index, const std::string &title) {
        (void)index, (void)title;
        return base::notImplemented;
    }
};

// The strip of page tabs at the top of the home and decision pages: one text button per title
// across the width (15 points margin at each end, 10 between tabs) with dotted separators in the
// gaps, and a small triangle that slides under the selected tab. The selected tab is disabled, so
// it shows the selected colour and cannot be tapped. A selection is reported once: choosing the
// tab whose title was reported last again reports nothing (the marker still slides). Each strip
// keeps its own last title, so two strips with equal titles report independently. The owner calls
// SetButtonArray once; an empty title array lays out nothing.
class FrontSwitchTabBarView : public ui::View {
public:
    static constexpr int FirstTag = 100;
    static constexpr float Margin = 15, Gap = 10;
    static constexpr gfx::Size MarkerSize{25, 10};
    static constexpr gfx::Size SeparatorSize{1, 10};
    static constexpr float EdgeLine = 2;
    static constexpr double MarkerSeconds = 0.3;
    static constexpr float TitleFontSize = 16;

    explicit FrontSwitchTabBarView(gfx::Rect frame);
    void setUp() override;

    // Makes the buttons and separators and puts the strip on tab 0 without telling the delegate.
    void SetButtonArray(const std::vector<std::string> &titles);
    // Selects the tab as a tap would; an index without a tab changes nothing.
    void SetCurrSelectedTab(int index);
    void SelectedItemAction(ui::Button *button);
    void layoutSubviews() override;

    // The width of each of `count` tabs in a strip `width` wide.
    static float tabWidth(float width, size_t count);

    ui::Button *buttonAt(int index) const;
    size_t tabCount() const { return tabArray_.size(); }
    const std::vector<base::Ref<ui::ImageView>> &dotLineArray() const { return dotLineArray_; }
    ui::ImageView &buttonImage() { return *buttonImage_; }
    int selectedTag() const { return SelectedTag; }
    const std::string &preTitle() const { return preTitle_; }

    base::Weak<FrontSwitchTabBarViewDelegate> delegate;

private:
    gfx::Rect markerFrame(const ui::Button &button) const;
    void layoutTabs();

    base::Ref<ui::ImageView> backgroundImage_, upLine_, downLine_, buttonImage_;
    std::vector<base::Ref<ui::Button>> tabArray_;
    std::vector<base::Ref<ui::ImageView>> dotLineArray_;
    int SelectedTag = 0;
    std::string preTitle_;
    bool hasPreTitle_ = false;
};
