#pragma once

#include "DataBase/DataBase.h"
#include "ui/Application.h"

// The application delegate: starts the user files and the quote connection at launch and tells the
// rest of the application when it becomes active or resigns.
class QVNSolvaneMobileAppDelegate : public ui::ApplicationDelegate, public DataBaseDelegate {
public:
    bool didFinishLaunching(ui::Application &application, const base::Dict &options) override;
    base::Opt<void> didBecomeActive(ui::Application &application) override;
    base::Opt<void> willResignActive(ui::Application &application) override;

    // Login progress is not shown.
    base::Opt<void> ReportInitProgress(float, const std::string &) override { return {}; }
};
