#include "Module/NewsViewController/InfoBombDetailViewController.h"

#include "Module/NewsViewController/NewsArticlePage.h"

#include "gfx/Color.h"
#include "gfx/Image.h"

void InfoBombDetailViewController::setUp() {
    ui::ViewController::setUp();
    newsData_ = NewsData::create();
    newsData_->setDelegate(weakSelf<InfoBombDetailViewController>());
    setContentSizeInPopover(kContentSize);
}

void InfoBombDetailViewController::viewDidLoad() {
    ui::ViewController::viewDidLoad();
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    contentWebView_ = base::make<ui::WebView>(gfx::Rect{{0, 0}, kContentSize});
    contentWebView_->setBackgroundColor(gfx::Color::clear());
    contentWebView_->opaque = false;
    contentWebView_->scrollView().bounces = false;
    view().addSubview(contentWebView_);
    indView_ = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::White);
    gfx::Size size = indView_->frame().s;
    indView_->setFrame({(kContentSize.w - size.w) / 2, (kContentSize.h - size.h) / 2, size.w, size.h});
    view().addSubview(indView_);
}

void InfoBombDetailViewController::setContentUrl(const std::string &url) {
    contentUrl_ = url;
    view();
    newsData_->reqNewsContent(url);
    indView_->start();
}

std::vector<std::string> InfoBombDetailViewController::articleBlocks(const NewsContentInfo &article) {
    using Page = NewsArticlePage;
    return {Page::block(TitleFontSize, Page::escape(article.title.value_or("")), true),
            Page::block(TimeFontSize,
                        Page::escape(article.otime.value_or("")) + "  " +
                            Page::escape(article.source.value_or("")),
                        true),
            Page::block(ContentFontSize, article.content.value_or(""), false)};
}

base::Opt<void> InfoBombDetailViewController::updateNewsContent(const base::Ref<NewsContentInfo> &article) {
    indView_->stop();
    // A reply the host's document could not give keeps the page shown: no placeholder texts.
    if (!article)
        return {};
    if (std::optional<NewsArticlePage::Page> page =
            NewsArticlePage::fromTemplate(TemplateName, articleBlocks(*article)))
        contentWebView_->loadHtml(std::move(page->html), page->baseUrl);
    return {};
}

base::Opt<void> InfoBombDetailViewController::updateNewsContentError(const std::string &) {
    indView_->stop();
    return {};
}
