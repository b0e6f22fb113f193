#pragma once

#include "Components/CMSlideMenuItem.h"
#include "Module/DetailShowPanel/AddSearchButton.h"
#include "Module/DetailShowPanel/OverlaySearchPopover.h"
#include "ui/Button.h"
#include "ui/Label.h"

#include <memory>
#include <string>
#include <vector>

// What the full-screen chart hears from its tool bar. Every operation is optional.
class FullScreenToolBarViewDelegate {
public:
    virtual ~FullScreenToolBarViewDelegate() = default;
    virtual base::Opt<void> StockDetailBarSelectedIndex(int index, int group, ui::View &sender) {
        (void)index, (void)group, (void)sender;
        return base::notImplemented;
    }
    virtual base::Opt<void> ReturnSearchFieldText(const std::string &code) {
        (void)code;
        return base::notImplemented;
    }
    virtual base::Opt<void> ResetTechGraphicState() { return base::notImplemented; }
    virtual base::Opt<void> ZoomOutAction(ui::Button &sender) {
        (void)sender;
        return base::notImplemented;
    }
};

// The 50-point tool bar of the full-screen chart: the security's name, code, last price and change
// (white whatever the sign), the tabs "走势" and "K线", the overlay search field, the reset button and
// the zoom-out button. The search works as on the detail screen's tab strip except that every text
// is searched, the empty one finding nothing (there is no board list), and a pick dismisses the
// keypad and the popover before it is reported.
class FullScreenToolBarView : public ui::View,
                              public CMSlideMenuItemDelegate,
                              public AddSearchButtonDelegate,
                              public SearchStockListControllerDelegate {
public:
    static constexpr int normalCount = 2, beginNormalTag = 1700;
    static inline const gfx::Rect TabFrames[normalCount] = {{300, 0, 88, 40}, {406, 0, 88, 40}};
    static constexpr const char *TabTitles[normalCount] = {"走势", "K线"};
    static inline const gfx::Rect SearchFrame{512, 5, 155, 30}, ResetFrame{914, 5, 30, 30},
        ZoomOutFrame{964, 5, 30, 30};

    explicit FullScreenToolBarView(gfx::Rect frame);
    void setUp() override;

    void SetSelectedItemIndex(int index, int group);
    void reLayout(int orientation) { m_addSearchButton->reLayout(orientation); }

    ui::Label &nameLabel() { return *m_nameLabel; }
    ui::Label &codeLabel() { return *m_codeLabel; }
    ui::Label &lastLabel() { return *m_lastLabel; }
    ui::Label &rangeLabel() { return *m_rangeLabel; }
    AddSearchButton &addSearchButton() { return *m_addSearchButton; }
    ui::Button &resetButton() { return *m_resetButton; }
    ui::Button &zoomOutButton() { return *m_zoomOutButton; }
    CMSlideMenuItem &tab(int index) { return *m_tabs.at(size_t(index)); }
    const base::Array &searchResultArray() const { return m_searchResultArray; }
    OverlaySearchPopover &searchPopover() { return *m_searchPopover; }

    base::Weak<FullScreenToolBarViewDelegate> delegate;

    base::Opt<void> ReturnSelectedItem(CMSlideMenuItem &item) override;
    base::Opt<void> ReturnSearchFieldText(const std::string &text) override;
    base::Opt<void> ReturnSelectedStock(const std::string &code) override;

private:
    base::Ref<ui::Label> m_nameLabel, m_codeLabel, m_lastLabel, m_rangeLabel;
    std::vector<base::Ref<CMSlideMenuItem>> m_tabs;
    base::Ref<AddSearchButton> m_addSearchButton;
    base::Ref<ui::Button> m_resetButton, m_zoomOutButton;
    std::unique_ptr<OverlaySearchPopover> m_searchPopover;
    base::Array m_searchResultArray;
};
