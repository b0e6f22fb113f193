#pragma once

#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include "ui/ActivityIndicator.h"
#include "ui/ViewController.h"
#include "web/WebView.h"

#include <string>

// The article of one information mine, pushed by the mine list inside its 320 × 340 popover. The
// article is asked once, when its address is set, and shown in the bundle's
// "bomb_content_template" page: the title (12 points) and "time  source" (10 points) centred over
// the body (11 points). Title, time and source are shown as written; the body is the host's
// markup, and its links load in place. The indicator turns until the reply; a failure or a reply
// without an article leaves the page as it was, blank before a first article.
class InfoBombDetailViewController : public ui::ViewController, public NewsDataDelegate {
public:
    static constexpr gfx::Size kContentSize{320, 340};
    static constexpr const char *TemplateName = "bomb_content_template";
    static constexpr float TitleFontSize = 12, TimeFontSize = 10, ContentFontSize = 11;

    void setUp() override;
    void viewDidLoad() override;

    // Keeps the address and asks its article.
    void setContentUrl(const std::string &url);

    base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &article) override;
    base::Opt<void> updateNewsContentError(const std::string &failMsg) override;

    // The blocks of the template's three places for an article.
    static std::vector<std::string> articleBlocks(const NewsContentInfo &article);

    // For tests.
    const std::string &contentUrl() const { return contentUrl_; }
    ui::WebView *contentWebView() const { return contentWebView_.get(); }
    ui::ActivityIndicator *indicator() const { return indView_.get(); }

private:
    base::Ref<ui::WebView> contentWebView_;
    base::Ref<ui::ActivityIndicator> indView_;
    base::Ref<NewsData> newsData_;
    std::string contentUrl_;
};
