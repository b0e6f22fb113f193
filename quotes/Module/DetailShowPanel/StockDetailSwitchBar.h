#pragma once

#include "Components/CMSlideMenuItem.h"
#include "Module/DetailShowPanel/AddSearchButton.h"
#include "Module/DetailShowPanel/OverlaySearchPopover.h"
#include "ui/Button.h"
#include "ui/ScrollView.h"

#include <memory>
#include <string>
#include <vector>

// What the detail screen hears from its tab strip. Every operation is optional.
class StockDetailSwitchBarDelegate {
public:
    virtual ~StockDetailSwitchBarDelegate() = default;
    // A tab was tapped (also the one already pressed): position 0 to 3, group 0, the strip.
    virtual base::Opt<void> StockDetailBarSelectedIndex(int index, int group, ui::View &sender) {
        (void)index, (void)group, (void)sender;
        return base::notImplemented;
    }
    // The code ("SH600000") picked in the overlay search.
    virtual base::Opt<void> ReturnSearchFieldText(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
    virtual base::Opt<void> ResetTechGraphicState() { return base::notImplemented; }
    virtual base::Opt<void> ZoomInAction() { return base::notImplemented; }
};

// Shares the reset button's ray effect with the full-screen chart's tool bar: a "ray.png" 12
// points beyond the button fading out over 0.6 s.
void playResetRay(ui::Button &button);

// The 40-point strip under the detail screen's header: the tabs "走势", "K线", "F10" and "新闻", the
// overlay-stock search field, the reset button (enabled by the screen while overlays exist) and
// the zoom button that opens the full-screen chart. It decides nothing: every tap goes to the
// delegate, and the screen says which tab looks pressed.
//
// The search field ranks the code library as it is typed (StockSearchRule, text as typed, best 70)
// and shows the hits in a popover under the field; an empty text shows the board list instead,
// which the screen fills once per code ("上证指数", "深证成指", then the stock's boards). A picked
// row dismisses the keypad, goes to the delegate and closes the popover; a tap outside the popover
// clears the field.
class StockDetailSwitchBar : public ui::View,
                             public CMSlideMenuItemDelegate,
                             public AddSearchButtonDelegate,
                             public SearchStockListControllerDelegate {
public:
    static constexpr int normalCount = 4, beginNormalTag = 1700;
    static constexpr float TabWidth = 88, TabPitch = 98, FirstTabX = 16;
    static inline const gfx::Rect SearchFrame{408, 5, 155, 30}, ResetFrame{573, 5, 30, 30},
        ZoomFrame{613, 5, 30, 30};
    static constexpr const char *TabTitles[normalCount] = {"走势", "K线", "F10", "新闻"};

    explicit StockDetailSwitchBar(gfx::Rect frame);
    void setUp() override;

    // Group 0: the tab at the position looks pressed, the others not; other groups nothing.
    void SetSelectedItemIndex(int index, int group);
    ui::Button &resetTlineBtn() { return *m_resetTlineBtn; }
    ui::Button &zoomButton() { return *m_zoomButton; }
    base::Array &stockBoardArray() { return m_stockBoardArray; }
    // Empties the board list (the shown security changed).
    void clearView() { m_stockBoardArray = base::Array(); }
    void reLayout(int orientation) { m_addSearchButton->reLayout(orientation); }

    AddSearchButton &addSearchButton() { return *m_addSearchButton; }
    CMSlideMenuItem &tab(int index) { return *m_tabs.at(size_t(index)); }
    const base::Array &searchResultArray() const { return m_searchResultArray; }
    OverlaySearchPopover &searchPopover() { return *m_searchPopover; }

    base::Weak<StockDetailSwitchBarDelegate> delegate;

    base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) override;
    base::Opt<void> ReturnSearchFieldText(const std::string &text) override;
    base::Opt<void> ReturnSelectedStock(const std::string &code) override;

    // Ranks the code library for the text into the hit list.
    void getSearchResult(const std::string &text);

private:
    void resetAction();
    void zoomInAction();
    void popoverDismissedByTap();

    base::Ref<ui::ScrollView> m_bgScrollView;
    std::vector<base::Ref<CMSlideMenuItem>> m_tabs;
    base::Ref<AddSearchButton> m_addSearchButton;
    base::Ref<ui::Button> m_resetTlineBtn, m_zoomButton;
    std::unique_ptr<OverlaySearchPopover> m_searchPopover;
    base::Array m_searchResultArray;
    base::Array m_stockBoardArray;
};
