#pragma once

#include "ui/Gesture.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <string>
#include <vector>

class CMHorizontalPickerView;

// Supplies the number of elements.
class CMHorizontalPickerViewDataSource {
public:
    virtual ~CMHorizontalPickerViewDataSource() = default;
    virtual int numberOfElementsInHorizontalPickerView(CMHorizontalPickerView &picker) = 0;
};

// Supplies each element's width and its title or view, and hears the selection. A delegate
// without widths gets no elements; without titles or views, elements without views.
class CMHorizontalPickerViewDelegate {
public:
    virtual ~CMHorizontalPickerViewDelegate() = default;
    // In whole points.
    virtual base::Opt<int> widthForElementAtIndex(CMHorizontalPickerView &picker, int index) {
        (void)picker, (void)index;
        return base::notImplemented;
    }
    // Every time the picker settles on an element, also the one already selected.
    virtual base::Opt<void> didSelectElementAtIndex(CMHorizontalPickerView &picker, int index) {
        (void)picker, (void)index;
        return base::notImplemented;
    }
    virtual base::Opt<std::string> titleForElementAtIndex(CMHorizontalPickerView &picker, int index) {
        (void)picker, (void)index;
        return base::notImplemented;
    }
    // Asked only when there are no titles; the view keeps the frame the delegate gave it.
    virtual base::Opt<base::Ref<ui::View>> viewForElementAtIndex(CMHorizontalPickerView &picker, int index) {
        (void)picker, (void)index;
        return base::notImplemented;
    }
};

// An element view that shows whether it is the selected one.
class CMHorizontalPickerElementState {
public:
    virtual ~CMHorizontalPickerElementState() = default;
    virtual void setSelectedElement(bool selected) = 0;
};

// The element view the picker makes for a title: the normal colour, or the selected colour while
// it is the selected element.
class CMHorizontalPickerLabel : public ui::Label, public CMHorizontalPickerElementState {
public:
    using ui::Label::Label;

    bool selectedElement() const { return selectedElement_; }
    void setSelectedElement(bool selected) override;
    void setNormalStateColor(base::Ref<gfx::Color> color);
    base::Ref<gfx::Color> selectedStateColor;

private:
    void showColour();

    bool selectedElement_ = false;
    base::Ref<gfx::Color> normalStateColor_;
};

// A one-line strip of elements that the user swipes sideways. Whenever it comes to rest, one
// element lies centred under the selection point; that one is selected and reported. Elements
// abut without gaps; only those in sight exist as views, tagged 10 × index + 10. The indicator bar
// picks a technical indicator with it, the search popover a watch-list group.
class CMHorizontalPickerView : public ui::View {
public:
    static constexpr float DecelerationRate = 0.1f;

    static base::Ref<CMHorizontalPickerView> create(gfx::Rect frame);

    // Setting another source or delegate collects the elements again at once.
    void setDataSource(base::Weak<CMHorizontalPickerViewDataSource> source);
    void setDelegate(base::Weak<CMHorizontalPickerViewDelegate> delegate);
    // Puts every element view aside and collects the elements again; the selection is kept.
    void reloadData();
    // Scrolls the element under the selection point, selects it and reports it; an index outside
    // the elements counts as centred at 0.
    void scrollToElement(int index, bool animated);
    // Any one element view put aside, for a delegate that makes its own; none when there is none.
    base::Ref<ui::View> dequeueReusableView();

    int numberOfElements() const { return numberOfElements_; }
    int currentSelectedIndex() const { return currentSelectedIndex_; }
    gfx::Point selectionPoint() const { return selectionPoint_; }
    void setSelectionPoint(gfx::Point point);
    void setElementFont(base::Ref<gfx::Font> font) { elementFont_ = std::move(font); }
    void setTextColor(base::Ref<gfx::Color> color) { textColor_ = std::move(color); }
    void setSelectedTextColor(base::Ref<gfx::Color> color) { selectedTextColor_ = std::move(color); }
    // The picker's and its strip's colour, and that of element labels made afterwards.
    void setBackgroundColor(base::Ref<gfx::Color> color);

    static int tagForElementAtIndex(int index) { return 10 * index + 10; }
    static int indexForElement(const ui::View &view) { return view.tag / 10 - 1; }
    // The element views of the strip, tagged by index; nothing else may be put into it.
    ui::ScrollView &scrollView() { return *scrollView_; }
    gfx::Rect frameForElementAtIndex(int index) const;
    int centerOfElementAtIndex(int index) const;

    void layoutSubviews() override;

protected:
    explicit CMHorizontalPickerView(gfx::Rect frame);

private:
    struct ScrollEvents;
    struct TapWatcher;

    void initUI();
    void collectData();
    void setTotalWidthOfScrollContent();
    void updateScrollContentInset();
    // The elements with a known width: the count may promise more than the delegate gave.
    int laidOutCount() const;
    int offsetForElementAtIndex(int index) const;
    int nearestElementToPoint(gfx::Point point) const;
    int elementContainingPoint(gfx::Point point) const;
    gfx::Point currentCenter() const;
    void scrollToElementNearestToCenter();
    void scrollViewTapped(ui::GestureRecognizer *recognizer);
    void didScroll();
    base::Ref<ui::View> elementView(int index);

    base::Weak<CMHorizontalPickerViewDataSource> dataSource_;
    base::Weak<CMHorizontalPickerViewDelegate> delegate_;
    base::Ref<ui::ScrollView> scrollView_;
    base::Ref<ScrollEvents> events_;
    base::Ref<TapWatcher> tapWatcher_;
    std::vector<int> elementWidths_;
    std::vector<base::Ref<ui::View>> reusableViews_;
    int numberOfElements_ = 0;
    int currentSelectedIndex_ = 0;
    base::Ref<gfx::Font> elementFont_;
    base::Ref<gfx::Color> textColor_, selectedTextColor_;
    gfx::Point selectionPoint_;
    bool dataLoaded_ = false, contentSizeSet_ = false;
};
