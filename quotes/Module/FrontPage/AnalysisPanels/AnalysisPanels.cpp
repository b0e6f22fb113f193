#include "Module/FrontPage/AnalysisPanels/AnalysisPanels.h"

AnalysisWebPanel::AnalysisWebPanel(gfx::Rect frame, const char *pageQuery, const char *detailMarker)
    : HomeWebPanel(frame, pageQuery, BrowserFrame), detailMarker_(detailMarker) {}

void AnalysisWebPanel::setUp() {
    HomeWebPanel::setUp();
    backButton_ = ui::Button::custom(BackButtonFrame);
    backButton_->setBackgroundImage(gfx::Image::named("backButton"));
    backButton_->addTarget(BASE_ACTION(this, BackAction), ui::TouchUpInside);
    addSubview(backButton_);
}

void AnalysisWebPanel::reloadCurrentWebPage() {
    if (!curUrl() || curUrl()->find(detailMarker_) != std::string::npos)
        contentWebView().ReloadCurrentWebPage();
    else
        requestUserKey();
}

void AnalysisWebPanel::BackAction(ui::Button *) {
    contentWebView().BackAction();
}
