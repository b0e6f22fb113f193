#pragma once

#include "Components/CMWaitingAlertView.h"
#include "Module/NavToolBarModule/SearchMyStockPopover/SearchMyStockContentController.h"
#include "Module/NavToolBarModule/SettingsViewController/SettingsViewController.h"

#include "base/NotificationCenter.h"
#include "base/Value.h"
#include "ui/Button.h"
#include "ui/Popover.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

#include <string>

class CMViewController;
namespace ui {
class NavigationController;
}

// The container that records a voice search for a screen and hands the text back through
// ReturnSpeechSearchResult (the tab-bar controller).
class CMSpeechStarter {
public:
    virtual ~CMSpeechStarter() = default;
    virtual void StartSpeech(base::Weak<CMViewController> receiver) = 0;
};

// The base of every top-level screen (home, market lists, watch-list, news, decision, the stock
// detail screen). It puts the shared navigation bar together on the screen's navigation
// controller (logo, settings, breaking news, alarm, help, trade button, search field with its
// speech button), owns the screen's stock search popover and opens what a search picks, shows one
// waiting indicator, and tells a screen that reappears whether its data went stale.
//
// Buttons and the search field are views added to the navigation controller's bar, so every screen
// of a stack sees its root's and a pushed screen lays its own over them; RemoveNaviButtons takes a
// screen's own off again when it goes. The settings and breaking-news popovers are one each for the
// whole run, kept by DataManager; the alarm popover is new on every press.
//
// Without a navigation controller the bar operations, taps and pushes do nothing.
class CMViewController : public ui::ViewController,
                         public SettingsViewControllerDelegate,
                         public SearchMyStockContentControllerDelegate {
public:
    // Bar geometry, in the bar's coordinates.
    static inline const gfx::Rect kBreakingNewsFrame{65, 0, 26, 44};
    static inline const gfx::Rect kBreakingNewsImageFrame{0, 9, 26, 26};
    static inline const gfx::Rect kAlarmFrame{101, 9, 26, 26};
    static inline const gfx::Rect kHelpFrame{770, 9, 26, 26};
    static inline const gfx::Rect kTraderFrame{770, 9, 26, 26};
    static constexpr float kTraderXBesideHelp = 724;
    static inline const gfx::Rect kSearchFieldFrame{814, 7, 200, 30};
    static inline const gfx::Rect kSpeechButtonFrame{0, 0, 26, 26};
    static constexpr float kSettingsControlWidth = 60, kSettingsSegmentWidth = 40;
    static inline const gfx::Rect kSettingsAnchor{0, 0, 26, 13};
    static constexpr gfx::Size kSettingsPopoverSize{320, 400};
    static constexpr int kSearchFieldTag = 3001;
    static constexpr const char *kSearchPlaceholder = "股票、期货、外汇...";
    static constexpr const char *kWaitingText = "加载中...";
    static constexpr float kWaitingFontSize = 12;
    // Data older than this (seconds since the screen was left) is requested again.
    static constexpr double kDataOverTime = 5.0;

    CMViewController();
    ~CMViewController() override;
    void setUp() override;
    void viewDidUnload() override;

    // Set-up of the bar; each flag counts only when true.
    void SetNavigationWithShowSettings(bool showSettings, bool showHelp, bool showTrader);
    void SetNavigationWithShowBreakingNews(bool show);
    void SetNavigationWithShowStockAlarm(bool show);
    // Makes the search field once; later calls only clear the editing flag.
    void SetNavigationWithSearchBar();
    // Takes the help, trade and breaking-news buttons of this screen off the bar.
    void RemoveNaviButtons();

    void settingsButtonAction(ui::View &sender);
    void breakingNewsAction(ui::View &sender);
    void alarmAction(ui::View &sender);
    void speechButtonAction();
    void ReturnSpeechSearchResult(const std::string &text);
    // Any popover this screen is the delegate of, closed by a tap outside it: the breaking-news
    // popover is unmarked, the search popover empties the field.
    virtual void popoverControllerDidDismissPopover(ui::Popover &popover);

    // The trade and help buttons are connected only when the screen implements these.
    virtual base::Opt<void> traderButtonAction(ui::View &) { return base::notImplemented; }
    virtual base::Opt<void> helpButtonAction(ui::View &) { return base::notImplemented; }

    void textFieldDidBeginEditing(ui::TextField &field);
    void textFieldDidEndEditing(ui::TextField &field);
    void textFieldDidChange(const base::Notification &notification);
    void textChanged(ui::TextField &field);
    void SearchMyStockPopoverShow();

    // Pushes a stock detail screen for the code; the detail screen re-targets itself instead.
    virtual void PushStockVC(const std::string &code);
    void setViewDisappearTick();
    // True when the screen was left more than five seconds ago.
    bool dataHasOverTime() const;
    void startWaitingAlert(gfx::Rect rect);
    void stopWaitingAlert();

    base::Opt<void> ReturnLogoutAction() override;
    base::Opt<void> ReturnSelectedStock(const std::string &name, const std::string &code) override;

    base::Dict navDic;
    double viewDisappearTick = 0;
    void setViewDisappearTick(double tick) { viewDisappearTick = tick; }
    const base::Ref<ui::Popover> &searchPopoverController() const { return m_searchPopoverController; }
    void setSearchPopoverController(base::Ref<ui::Popover> popover) {
        m_searchPopoverController = std::move(popover);
    }

    // For screens and tests: the parts this screen added; empty until made.
    ui::TextField *searchBarTextField() const { return _searchBarTextField.get(); }
    bool searchBarTextFieldEditing() const { return _searchBarTextFieldEditing; }
    ui::Button *helpButton() const { return m_helpButton.get(); }
    ui::Button *traderButton() const { return m_traderButton.get(); }
    ui::Button *breakingNewsButton() const { return m_breakingNewsButton.get(); }
    ui::Button *stockAlarmButton() const { return m_stockAlarmButton.get(); }
    ui::Button *speechButton() const { return m_speechButton.get(); }
    CMWaitingAlertView *waitingAlert() const { return m_waitingAlert.lock().get(); }

private:
    struct Relay;
    // The bar of the navigation controller, or nullptr without one.
    ui::View *naviBar() const;
    base::Ref<ui::Button> addBarButton(gfx::Rect frame, const char *image,
                                       std::function<void(CMViewController &, ui::View &)> action);
    void presentSearchPopover();
    void clearSearchField();
    static void pushDetail(ui::NavigationController &nav, const std::string &code);

    base::Weak<CMWaitingAlertView> m_waitingAlert;
    base::Ref<ui::Popover> m_searchPopoverController;
    base::Ref<ui::TextField> _searchBarTextField;
    bool _searchBarTextFieldEditing = false;
    base::Ref<ui::Button> m_helpButton, m_traderButton, m_breakingNewsButton, m_stockAlarmButton,
        m_speechButton;
    base::Ref<Relay> m_relay;
};
