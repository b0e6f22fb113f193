#include "Module/FrontPage/SynthesizedView/SynthesizedView.h"

#include "Common/ServerConfig.h"

SynthesizedView::SynthesizedView(gfx::Rect frame) : HomeWebPanel(frame, PageQuery, BrowserFrame) {}

void SynthesizedView::setUp() {
    indexSideBannerView_ = base::make<IndexSideBannerView>(BannerFrame);
    indexSideBannerView_->delegate = weakSelf<SynthesizedView>();
    addSubview(indexSideBannerView_);
    HomeWebPanel::setUp();
}

void SynthesizedView::reloadCurrentWebPage() {
    if (!curUrl() || curUrl()->find(OwnPageMark) != std::string::npos)
        requestUserKey();
    else
        contentWebView().ReloadCurrentWebPage();
}

void SynthesizedView::loadDecided(ui::WebView &webView, ui::NavigationType type) {
    if (type != ui::NavigationType::LinkClicked)
        return;
    std::string headline = ServerConfig::urlFor(ServerConfig::NewsServerKey, HeadlinePage);
    if (headline.empty() || *curUrl() != headline)
        return;
    webView.stopLoading();
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ReturnNewsFuncID(*curUrl());
}

base::Opt<void> SynthesizedView::ReturnSelStockCode(const std::string &code, int index,
                                                    const std::vector<std::string> &codes) {
    if (auto d = delegate.lock())
        d->ReturnSynthesizeStockCode(code, index, codes);
    return {};
}
