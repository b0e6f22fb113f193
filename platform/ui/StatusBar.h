#pragma once

#include "base/Timer.h"
#include "ui/ActivityIndicator.h"
#include "ui/Label.h"
#include "ui/View.h"

namespace ui {

// The band above the application's frame where the tablet shows its status bar: the time of day
// in the middle, turned to the next minute as the clock passes it, and at the left the network
// activity indicator, spinning while the application says the network is in use
// (Application::setNetworkActivityIndicatorVisible). The application adds it to its window, above
// the screens, whose frames start below it (or cover it, as the splash does).
class StatusBar : public View {
public:
    static constexpr float Height = 20;

    StatusBar();
    ~StatusBar() override;
    void setUp() override;

    const Label &clockLabel() const { return *clock_; }
    const ActivityIndicator &activityIndicator() const { return *activity_; }

private:
    void showTime();
    void showActivity();

    base::Ref<Label> clock_;
    base::Ref<ActivityIndicator> activity_;
    base::Ref<base::Timer> minuteTimer_;
};

} // namespace ui
