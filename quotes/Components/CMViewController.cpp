#include "Components/CMViewController.h"

#include "Common/TimeFunc.h"
#include "Components/CMAlarmViewController/CMAlarmViewController.h"
#include "DataBase/DataBase.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/NavToolBarModule/BreakNewsViewController/BreakNewsViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/NotificationCenter.h"
#include "gfx/Font.h"
#include "ui/NavigationController.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBarController.h"

namespace {

// The breaking-news store; none before the coordinator is initialized.
RealNews *breakingNews() {
    const base::Ref<NetDataCenter> &layer = DataBase::sharedDataBase()->IO_NetDataCenter();
    return layer ? layer->IO_RealNewsJP.get() : nullptr;
}

void markBreakingNewsShown(bool shown) {
    if (RealNews *news = breakingNews())
        news->isShowingPopover = shown;
}

base::Ref<ui::Popover> popoverWithRoot(base::Ref<ui::ViewController> root) {
    return base::make<ui::Popover>(base::make<ui::NavigationController>(std::move(root)));
}

ui::NavigationController *navigationOf(ui::Popover &popover) {
    return dynamic_cast<ui::NavigationController *>(&popover.content());
}

} // namespace

// Hears the search field and the popovers this screen is the delegate of, for as long as the
// screen lives.
struct CMViewController::Relay : ui::PopoverDelegate {
    struct Field : ui::TextFieldDelegate {
        base::Weak<CMViewController> screen;
        base::Opt<void> didBeginEditing(ui::TextField &field) override {
            if (auto s = screen.lock())
                s->textFieldDidBeginEditing(field);
            return {};
        }
        base::Opt<void> didEndEditing(ui::TextField &field) override {
            if (auto s = screen.lock())
                s->textFieldDidEndEditing(field);
            return {};
        }
    };

    base::Weak<CMViewController> screen;
    base::Ref<Field> field = base::make<Field>();

    base::Opt<void> didDismiss(ui::Popover &popover) override {
        if (auto s = screen.lock())
            s->popoverControllerDidDismissPopover(popover);
        return {};
    }
};

CMViewController::CMViewController() : m_relay(base::make<Relay>()) {}

CMViewController::~CMViewController() {
    base::NotificationCenter::shared().removeObserver(m_relay.get());
    RemoveNaviButtons();
    // The shared breaking-news popover shown from this screen outlives it: close it now, so that
    // new breaking news is not filed away for a list nobody sees.
    const base::Ref<ui::Popover> &news = DataManager::sharedDataManager().gBreakingNewsPopoverVC;
    if (news && news->delegate.lock() == m_relay) {
        news->delegate.reset();
        if (news->isVisible())
            news->dismiss(false);
        markBreakingNewsShown(false);
    }
}

void CMViewController::setUp() {
    ui::ViewController::setUp();
    m_relay->screen = weakSelf<CMViewController>();
    m_relay->field->screen = m_relay->screen;
}

void CMViewController::viewDidUnload() {
    ui::ViewController::viewDidUnload();
    if (_searchBarTextField)
        _searchBarTextField->removeFromSuperview();
    _searchBarTextField.reset();
    m_speechButton.reset();
}

ui::View *CMViewController::naviBar() const {
    ui::NavigationController *nav = navigationController();
    return nav ? &nav->navigationBar() : nullptr;
}

base::Ref<ui::Button>
CMViewController::addBarButton(gfx::Rect frame, const char *image,
                               std::function<void(CMViewController &, ui::View &)> action) {
    auto button = ui::Button::custom(frame);
    button->setImage(gfx::Image::named(image));
    base::Weak<CMViewController> weak = weakSelf<CMViewController>();
    ui::Button *sender = button.get();
    button->addTarget(base::Action(weak, image,
                                   [weak, sender, action](base::Object *) {
                                       if (auto self = weak.lock())
                                           action(*self, *sender);
                                   }),
                      ui::TouchUpInside);
    if (ui::View *bar = naviBar())
        bar->addSubview(button);
    return button;
}

// --- Set-up of the bar

void CMViewController::SetNavigationWithShowSettings(bool showSettings, bool showHelp, bool showTrader) {
    if (!navigationItem().titleView())
        navigationItem().setTitleView(base::make<ui::ImageView>(gfx::Image::named("logo_cn")));
    if (showHelp)
        m_helpButton =
            addBarButton(kHelpFrame, "help", [](CMViewController &s, ui::View &b) { s.helpButtonAction(b); });
    if (showTrader) {
        gfx::Rect frame = kTraderFrame;
        if (showHelp)
            frame.o.x = kTraderXBesideHelp;
        m_traderButton = addBarButton(frame, "trader_ico",
                                      [](CMViewController &s, ui::View &b) { s.traderButtonAction(b); });
    }
    if (showSettings) {
        auto control = base::make<ui::SegmentedControl>(gfx::Rect{0, 0, kSettingsControlWidth, 30});
        control->momentary = true;
        control->style = ui::SegmentedControl::Style::Bar;
        control->insertSegment(gfx::Image::named("settings"), 0);
        control->setWidth(kSettingsSegmentWidth, 0);
        base::Weak<CMViewController> weak = weakSelf<CMViewController>();
        ui::SegmentedControl *sender = control.get();
        control->addTarget(base::Action(weak, "settingsButtonAction",
                                        [weak, sender](base::Object *) {
                                            if (auto self = weak.lock())
                                                self->settingsButtonAction(*sender);
                                        }),
                           ui::ValueChanged);
        navigationItem().setLeftItem(ui::BarButtonItem::custom(control));
    }
}

void CMViewController::SetNavigationWithShowBreakingNews(bool show) {
    if (!show)
        return;
    m_breakingNewsButton = addBarButton(kBreakingNewsFrame, "breakingNews",
                                        [](CMViewController &s, ui::View &b) { s.breakingNewsAction(b); });
    m_breakingNewsButton->setImage(nullptr);
    m_breakingNewsButton->addSubview(
        base::make<ui::ImageView>(kBreakingNewsImageFrame, gfx::Image::named("breakingNews")));
}

void CMViewController::SetNavigationWithShowStockAlarm(bool show) {
    if (show)
        m_stockAlarmButton =
            addBarButton(kAlarmFrame, "Alarm", [](CMViewController &s, ui::View &b) { s.alarmAction(b); });
}

void CMViewController::SetNavigationWithSearchBar() {
    _searchBarTextFieldEditing = false;
    if (_searchBarTextField)
        return;
    base::NotificationCenter::shared().addObserver(m_relay, ui::TextField::TextDidChangeNotification,
                                                   [screen = m_relay->screen](const base::Notification &n) {
                                                       if (auto s = screen.lock())
                                                           s->textFieldDidChange(n);
                                                   });
    auto field = base::make<ui::TextField>(kSearchFieldFrame);
    field->setBackground(gfx::Image::named("search_bg.png"));
    field->setPlaceholder(kSearchPlaceholder);
    field->setBackgroundColor(gfx::Color::clear());
    field->setTextColor(gfx::Color::black());
    field->setFont(gfx::Font::system(15));
    field->setContentVerticalAlignment(ui::TextField::VAlign::Center);
    field->setLeftView(base::make<ui::ImageView>(gfx::Image::named("search_icon")),
                       ui::TextField::ViewMode::Always);
    m_speechButton = ui::Button::custom(kSpeechButtonFrame);
    m_speechButton->setImage(gfx::Image::named("speech_ico"));
    base::Weak<CMViewController> weak = weakSelf<CMViewController>();
    m_speechButton->addTarget(base::Action(weak, "speechButtonAction",
                                           [weak](base::Object *) {
                                               if (auto self = weak.lock())
                                                   self->speechButtonAction();
                                           }),
                              ui::TouchUpInside);
    field->setRightView(m_speechButton, ui::TextField::ViewMode::Always);
    field->keyboardType = ui::TextField::Keyboard::NamePhonePad;
    field->tag = kSearchFieldTag;
    field->delegate = m_relay->field;
    _searchBarTextField = field;
    if (ui::View *bar = naviBar())
        bar->addSubview(field);
}

void CMViewController::RemoveNaviButtons() {
    for (auto *button : {&m_helpButton, &m_traderButton, &m_breakingNewsButton})
        if (*button)
            (*button)->removeFromSuperview();
}

// --- Popovers

void CMViewController::settingsButtonAction(ui::View &sender) {
    base::Ref<ui::Popover> &shared = DataManager::sharedDataManager().gSettingsPopoverVC;
    if (!shared) {
        auto settings = base::make<SettingsViewController>();
        settings->delegate = weakSelf<CMViewController>();
        settings->setContentSizeInPopover(kSettingsPopoverSize);
        shared = popoverWithRoot(settings);
    }
    shared->presentFromRect(kSettingsAnchor, sender, ui::ArrowUp, true);
}

base::Opt<void> CMViewController::ReturnLogoutAction() {
    if (auto &shared = DataManager::sharedDataManager().gSettingsPopoverVC)
        shared->dismiss(true);
    return {};
}

void CMViewController::breakingNewsAction(ui::View &sender) {
    std::vector<std::string> items = breakingNews() ? breakingNews()->array : std::vector<std::string>();
    base::Ref<ui::Popover> &shared = DataManager::sharedDataManager().gBreakingNewsPopoverVC;
    if (shared) {
        if (ui::NavigationController *nav = navigationOf(*shared))
            for (BreakNewsViewController *list : nav->controllersOf<BreakNewsViewController>())
                if (!list->isRequestingBreakNews())
                    list->SetNewsArray(items);
    } else {
        auto list = base::make<BreakNewsViewController>();
        list->SetNewsArray(items);
        shared = popoverWithRoot(list);
    }
    // Whoever shows it hears its dismissal; the delegate goes with that screen.
    shared->delegate = m_relay;
    shared->presentFromRect(sender.bounds(), sender, ui::ArrowUp, true);
    markBreakingNewsShown(true);
}

void CMViewController::alarmAction(ui::View &sender) {
    auto popover = popoverWithRoot(base::make<CMAlarmViewController>());
    popover->delegate = m_relay;
    popover->presentFromRect(sender.bounds(), sender, ui::ArrowUp, true);
}

void CMViewController::popoverControllerDidDismissPopover(ui::Popover &popover) {
    if (&popover == DataManager::sharedDataManager().gBreakingNewsPopoverVC.get())
        markBreakingNewsShown(false);
    else if (&popover == m_searchPopoverController.get())
        clearSearchField();
}

void CMViewController::speechButtonAction() {
    if (auto *starter = dynamic_cast<CMSpeechStarter *>(tabBarController()))
        starter->StartSpeech(weakSelf<CMViewController>());
}

void CMViewController::ReturnSpeechSearchResult(const std::string &text) {
    if (!_searchBarTextField)
        return;
    _searchBarTextField->setText(text);
    SearchMyStockPopoverShow();
    textChanged(*_searchBarTextField);
}

// --- Search

void CMViewController::textFieldDidBeginEditing(ui::TextField &) {
    _searchBarTextFieldEditing = true;
    SearchMyStockPopoverShow();
}

void CMViewController::textFieldDidEndEditing(ui::TextField &) {
    _searchBarTextFieldEditing = false;
}

void CMViewController::textFieldDidChange(const base::Notification &notification) {
    auto *field = dynamic_cast<ui::TextField *>(notification.object.get());
    if (field && _searchBarTextFieldEditing)
        textChanged(*field);
}

void CMViewController::textChanged(ui::TextField &field) {
    if (!m_searchPopoverController)
        return;
    ui::NavigationController *nav = navigationOf(*m_searchPopoverController);
    if (!nav)
        return;
    std::string text = field.text();
    for (SearchMyStockContentController *search : nav->controllersOf<SearchMyStockContentController>()) {
        if (!text.empty())
            search->SetCurrentWithResultViewed(text);
        else
            search->SetCurrentWithRecentViewed();
    }
}

void CMViewController::SearchMyStockPopoverShow() {
    if (m_searchPopoverController) {
        if (ui::NavigationController *nav = navigationOf(*m_searchPopoverController))
            if (auto *search =
                    dynamic_cast<SearchMyStockContentController *>(nav->viewControllers().front().get())) {
                search->ReloadSearchData();
                search->SetCurrentWithRecentViewed();
            }
    } else {
        auto search = base::make<SearchMyStockContentController>();
        search->delegate = weakSelf<CMViewController>();
        m_searchPopoverController = popoverWithRoot(search);
        m_searchPopoverController->delegate = m_relay;
    }
    presentSearchPopover();
}

void CMViewController::presentSearchPopover() {
    if (_searchBarTextField && _searchBarTextField->window())
        m_searchPopoverController->presentFromRect(_searchBarTextField->bounds(), *_searchBarTextField,
                                                   ui::ArrowUp, true);
}

void CMViewController::clearSearchField() {
    if (!_searchBarTextField)
        return;
    _searchBarTextField->setText("");
    _searchBarTextField->resignFirstResponder();
}

base::Opt<void> CMViewController::ReturnSelectedStock(const std::string &, const std::string &code) {
    if (m_searchPopoverController)
        m_searchPopoverController->dismiss(true);
    clearSearchField();
    ui::NavigationController *nav = navigationController();
    if (!nav)
        return {};
    if (nav->viewControllers().size() >= 2)
        if (auto *detail = dynamic_cast<StockDetailViewController *>(nav->top())) {
            detail->SetStockCodeMarket(code);
            return {};
        }
    pushDetail(*nav, code);
    return {};
}

// --- Screen services

void CMViewController::PushStockVC(const std::string &code) {
    ui::NavigationController *nav = navigationController();
    if (nav)
        pushDetail(*nav, code);
}

void CMViewController::pushDetail(ui::NavigationController &nav, const std::string &code) {
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(code);
    nav.push(detail, true);
}

void CMViewController::setViewDisappearTick() {
    viewDisappearTick = TimeFunc::getCurTick();
}

bool CMViewController::dataHasOverTime() const {
    return viewDisappearTick > 0 && TimeFunc::getCurTick() - viewDisappearTick > kDataOverTime;
}

void CMViewController::startWaitingAlert(gfx::Rect rect) {
    if (m_waitingAlert.lock())
        return;
    auto alert = base::make<CMWaitingAlertView>(rect);
    alert->StartAlertWithInfo(kWaitingText, kWaitingFontSize);
    view().addSubview(alert);
    m_waitingAlert = alert;
}

void CMViewController::stopWaitingAlert() {
    if (auto alert = m_waitingAlert.lock()) {
        alert->StopWaitingAlert();
        alert->removeFromSuperview();
    }
    m_waitingAlert.reset();
}
