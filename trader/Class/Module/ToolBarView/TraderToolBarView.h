#pragma once

#include "Class/Module/ToolBarView/TradeBaseView/TradeBaseView.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"

#include "ui/Alert.h"
#include "ui/ScrollView.h"
#include "ui/ViewController.h"

#include <string>

// The narrow bar at the right edge of the screen that a user logged in to a broker trades from:
// seven function buttons (funds, buy, sell, cancel, entrust query, deal query, bank transfer), a
// settings button and an exit button. It opens one panel at a time to its left and ties the panels
// to the trade message centre's auto-lock: the lock timer runs only while no panel is open, and
// when it fires the bar closes (LockToolBar).
//
// The application delegate makes the bar, owns it and closes it (DismissTraderToolBarWithSubiew).
// A function button with the trade connection down closes the bar and posts "LaunchTrader", which
// brings the login form; settings and exit work without a connection. Closing slides the open
// panel out first, then the bar; a closed bar is never shown again.
class TraderToolBarView : public ui::View, public TradeBaseViewDelegate, public TradeMsgCenterDelegate {
public:
    static constexpr double kSlideDuration = 0.15;
    static constexpr int kFirstFunctionTag = 100;
    static constexpr int kFunctionCount = 7;
    static constexpr int kSettingsTag = 130;
    static constexpr int kTransferTag = 106;
    static constexpr int kExitAlertTag = 100;
    static constexpr const char *kExitQuestion = "确定要退出委托?";

    // One function button: its caption and image, and the panel it opens.
    struct FunctionButton {
        int tag;
        const char *caption;
        const char *image;
        gfx::Rect panelFrame;
        const char *panelTitle;
    };
    static const FunctionButton kButtons[kFunctionCount];
    static inline const gfx::Rect kSettingsFrame{654, 65, 320, 654};

    explicit TraderToolBarView(gfx::Rect frame);
    ~TraderToolBarView() override;
    void setUp() override;

    // Adds the bar to the parent's view and slides it in; nothing without a parent.
    void ShowTraderToolBar();
    // Slides the bar out; at the end it leaves its view and raises its hidden flag.
    void DismissTraderToolBar();
    // Closes for good: the open panel slides out first, then the bar.
    void DismissTraderToolBarWithSubiew();
    // Opens the panel of button 100 + index as a press would; nothing when it is open already.
    void PopSpecialTradeModel(int index);
    // Hands a holding to the open order panel, if that is what is open.
    void SetTradeCode(const std::string &code, const std::string &name, const std::string &price,
                      const std::string &vol);

    // The buttons.
    void traderButtonAction(int tag);
    void setttingsAction();
    void closeAction();
    void alertView(ui::Alert &alert, int buttonIndex);

    base::Opt<void> ShowResponse() override { return {}; }
    base::Opt<void> ShowFinishedAnimationResponse() override;
    base::Opt<void> DismissResponse() override;
    base::Opt<void> DismissFinishedAnimationResponse() override;
    void LockToolBar() override;

    // The controller whose view hosts the bar and its panels; not retained.
    void setParentHandler(base::Weak<ui::ViewController> parent) { m_parentHandler = std::move(parent); }
    // The bar's own flag: false from creation until its slide-out has ended (the view's hidden
    // state is another matter).
    bool isToolBarHidden() const { return m_isHidden; }
    void setIsHidden(bool hidden) { m_isHidden = hidden; }

    base::Ref<TradeBaseView> prevView() const { return m_prevView.lock(); }
    int prevType() const { return m_prevType; }
    bool isClose() const { return m_isClose; }
    ui::ScrollView &toolBarScrollView() { return *m_toolBarScrollView; }
    // The buttons by tag (100–106, 130), the exit button by -1.
    ui::Button *button(int tag) const;

private:
    struct AlertRelay;
    struct SlideRelay;
    void slideEnded();
    void initData();
    void initUI(gfx::Rect frame);
    void openPanel(int tag, bool stopLockWhenDown);
    void showPanel(base::Ref<TradeBaseView> panel, int tag, const char *title);
    void dismissOpenPanel();
    // The open panel slides out and the bar after it, or the bar at once.
    void closeAll();

    base::Ref<ui::ScrollView> m_toolBarScrollView;
    base::Weak<TradeBaseView> m_prevView;
    int16_t m_prevType = -1;
    bool m_isClose = false;
    bool m_isHidden = false;
    bool m_dismissing = false;
    base::Weak<ui::ViewController> m_parentHandler;
    base::Ref<AlertRelay> m_alertRelay;
    base::Ref<SlideRelay> m_slideRelay;
    std::vector<base::Ref<ui::Button>> m_buttons;
    base::Ref<ui::Button> m_settingsButton, m_exitButton;
};
