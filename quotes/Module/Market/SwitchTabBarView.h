#pragma once

#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/View.h"

#include <array>
#include <cstdint>

// Hears the tab the user picked on the strip.
class SwitchTabBarViewDelegate {
public:
    virtual ~SwitchTabBarViewDelegate() = default;
    virtual base::Opt<void> SelectedTabIndex(int index) {
        (void)index;
        return base::notImplemented;
    }
};

// The strip of the market screen's seven tabs ("指数" to "外汇", tags 1001 to 1007) under the
// navigation bar: the selected tab has a white caption over a highlight that slides to it, the
// others grey captions.
class SwitchTabBarView : public ui::View {
public:
    static constexpr int TabCount = 7;
    static constexpr int FirstTag = 1001;
    static constexpr double MoveSeconds = 0.05;
    static constexpr std::array<const char *, TabCount> Captions = {"指数", "板块", "股票", "基金",
                                                                    "商品", "债券", "外汇"};

    explicit SwitchTabBarView(gfx::Rect frame);
    void setUp() override;

    void TabItemAction(ui::Button *button);
    // Moves the highlight to the tab without telling the delegate.
    void SetCurrSelectedTab(int index);
    void layoutSubviews() override;

    ui::Button *buttonAt(int index);
    ui::ImageView &buttonImage() { return *m_buttonImage; }
    int selIndex() const { return m_selIndex; }

    base::Weak<SwitchTabBarViewDelegate> delegate;

private:
    void SetupTabBarButtons(gfx::Rect frame);
    gfx::Rect buttonFrame(int index) const;
    void moveHighlight();

    base::Ref<ui::ImageView> m_buttonImage;
    int m_selIndex = FirstTag;
};
