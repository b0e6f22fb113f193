#include "ui/StatusBar.h"

#include "base/Date.h"
#include "base/DateFormatter.h"
#include "base/NotificationCenter.h"
#include "gfx/Font.h"
#include "ui/Application.h"

#include <cmath>

namespace ui {

StatusBar::StatusBar() : View({0, 0, float(Screen::main().windowSize().w), Height}) {
    setBackgroundColor(gfx::Color::black());
    userInteractionEnabled = false;
    autoresizingMask = FlexibleWidth;
    clock_ = base::make<Label>(gfx::Rect{0, 0, bounds().width(), Height});
    clock_->setFont(gfx::Font::boldSystem(14));
    clock_->setTextColor(gfx::Color::white());
    clock_->setBackgroundColor(gfx::Color::clear());
    clock_->setTextAlignment(gfx::Align::Center);
    clock_->autoresizingMask = FlexibleWidth;
    addSubview(clock_);
    activity_ = base::make<ActivityIndicator>(ActivityIndicator::Style::White);
    activity_->setFrame({6, 2, 16, 16});
    addSubview(activity_);
}

StatusBar::~StatusBar() {
    base::NotificationCenter::shared().removeObserver(this);
    if (minuteTimer_)
        minuteTimer_->invalidate();
}

void StatusBar::setUp() {
    View::setUp();
    base::Weak<StatusBar> weak = weakSelf<StatusBar>();
    base::NotificationCenter::shared().addObserver(weak, Application::NetworkActivityChangedNotification,
                                                   [weak](const base::Notification &) {
                                                       if (auto alive = weak.lock())
                                                           alive->showActivity();
                                                   });
    showTime();
    showActivity();
}

// Shows the time and sleeps until the next minute begins.
void StatusBar::showTime() {
    base::Date now = base::Date::now();
    clock_->setText(base::DateFormatter("HH:mm").string(now));
    double intoMinute = std::fmod(now.since1970(), 60.0);
    base::Weak<StatusBar> weak = weakSelf<StatusBar>();
    minuteTimer_ =
        base::Timer::scheduled(60.0 - intoMinute, false, base::Action("showTime", [weak](base::Object *) {
                                   if (auto alive = weak.lock())
                                       alive->showTime();
                               }));
}

void StatusBar::showActivity() {
    if (Application::shared().networkActivityIndicatorVisible())
        activity_->start();
    else
        activity_->stop();
}

} // namespace ui
