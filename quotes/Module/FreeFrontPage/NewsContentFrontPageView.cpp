#include "Module/FreeFrontPage/NewsContentFrontPageView.h"

#include "Common/Gdip.h"
#include "Common/UtilUI.h"
#include "Module/NewsViewController/NewsArticlePage.h"
#include "gfx/Context.h"

// The web view's link rule belongs to the pop-up.
struct NewsContentFrontPageView::LinkRelay : ui::WebViewDelegate {
    base::Weak<NewsContentFrontPageView> panel;
    base::Opt<bool> shouldStartLoad(ui::WebView &, const base::Url &url, ui::NavigationType type) override {
        auto p = panel.lock();
        return p ? p->shouldStartLoad(url, type) : true;
    }
};

// Every recogniser of the pop-up sees every touch, begins always and recognises beside any other,
// so that the article's links and scrolling keep working under the host's recognisers.
struct NewsContentFrontPageView::GestureRelay : ui::GestureDelegate {
    base::Opt<bool> shouldBegin(ui::GestureRecognizer &) override { return true; }
    base::Opt<bool> shouldReceiveTouch(ui::GestureRecognizer &, const ui::Touch &) override { return true; }
    base::Opt<bool> simultaneously(ui::GestureRecognizer &, ui::GestureRecognizer &) override { return true; }
};

NewsContentFrontPageView::NewsContentFrontPageView(gfx::Rect frame) : ui::View(frame) {}

NewsContentFrontPageView::~NewsContentFrontPageView() {
    if (auto host = host_.lock()) {
        host->removeGestureRecognizer(recognizer_.get());
        host->removeGestureRecognizer(recognizerPan_.get());
    }
}

void NewsContentFrontPageView::setUp() {
    ui::View::setUp();
    clearsContextBeforeDrawing = true;
    opaque = false;
    setBackgroundColor(gfx::Color::clear());
    layer().cornerRadius = CornerRadius;
    layer().masksToBounds = true;
    layer().backgroundColor = gfx::Color::rgba(0.45f, 0.6f, 0.88f, 0.2f);

    linkRelay_ = base::make<LinkRelay>();
    linkRelay_->panel = weakSelf<NewsContentFrontPageView>();
    gestureRelay_ = base::make<GestureRelay>();

    placeRects();
    webV_ = base::make<ui::WebView>(rtWebV_);
    webV_->opaque = false;
    webV_->setBackgroundColor(gfx::Color::clear());
    webV_->delegate = linkRelay_;
    addSubview(webV_);

    closeBtn_ = base::make<ui::Button>(gfx::Rect{}, ui::Button::Type::Custom);
    closeBtn_->setImage(UtilUI::imageNamed("clear.png"));
    closeBtn_->addTarget(BASE_ACTION(this, closeAction), ui::TouchUpInside);
    addSubview(closeBtn_);

    waitingAlert_ = base::make<CMWaitingAlertView>(gfx::Rect{0, 0, WaitingSize, WaitingSize});

    // The host's recognisers must not take the touches from the article's links and scrolling.
    recognizer_ = base::make<ui::TapRecognizer>(BASE_ACTION(this, freeFrontPageTaped));
    recognizer_->cancelsTouchesInView = false;
    recognizer_->delegate = gestureRelay_;
    recognizerPan_ = base::make<ui::PanRecognizer>(BASE_ACTION(this, freeFrontPageTaped));
    recognizerPan_->cancelsTouchesInView = false;
    recognizerPan_->delegate = gestureRelay_;
    closeBtnPan_ = base::make<ui::PanRecognizer>(BASE_ACTION(this, cloaseBtnPan));
    closeBtnPan_->delegate = gestureRelay_;
    closeBtn_->addGestureRecognizer(recognizer_);
    closeBtn_->addGestureRecognizer(closeBtnPan_);
    layoutSubviews();
}

void NewsContentFrontPageView::placeRects() {
    const float w = bounds().width(), h = bounds().height();
    rtTitle_ = {PanelInset, PanelInset, w - 2 * PanelInset, TitleBarHeight};
    rtWebV_ = {WebInsetX, WebTop, w - 2 * WebInsetX, h - WebTop - WebInsetX};
}

void NewsContentFrontPageView::layoutSubviews() {
    const float w = bounds().width(), h = bounds().height();
    placeRects();
    webV_->setFrame(rtWebV_);
    closeBtn_->setFrame({w - CloseRightGap, PanelInset, CloseSize, CloseSize});
    waitingAlert_->setFrame({(w - WaitingSize) / 2, (h - WaitingSize) / 2, WaitingSize, WaitingSize});
}

void NewsContentFrontPageView::drawRect(gfx::Context &context, gfx::Rect) {
    const float w = bounds().width(), h = bounds().height();
    context.setFill(*gfx::Color::rgba(0.25f, 0.38f, 0.59f, 0.9f));
    Gdip::drawRoundedRect(context, {PanelInset, PanelInset, w - 2 * PanelInset, h - 2 * PanelInset},
                          *gfx::Color::rgba(0.25f, 0.38f, 0.59f, 0.8f));
    const gfx::Rect t = rtTitle_;
    if (auto left = UtilUI::imageNamed("frontPageTitleBG_L.png"))
        context.drawImage({t.x(), t.y(), TitleCapWidth, t.height()}, *left);
    if (auto middle = UtilUI::imageNamed("frontPageTitleBG_M.png"))
        context.drawImage({t.x() + TitleCapWidth, t.y(), t.width() - 2 * TitleCapWidth, t.height()}, *middle);
    if (auto right = UtilUI::imageNamed("frontPageTotleBG_R.png"))
        context.drawImage({t.maxX() - TitleCapWidth, t.y(), TitleCapWidth, t.height()}, *right);
    if (titleFont && titleClr)
        Gdip::drawStrInRect(context, title, t, *titleFont, *titleClr, true, 1);
}

void NewsContentFrontPageView::addTapGestureRecognizerToSuperView(ui::View *view) {
    if (!view)
        return;
    view->addGestureRecognizer(recognizer_);
    view->addGestureRecognizer(recognizerPan_);
    host_ = view->weakSelf<ui::View>();
}

void NewsContentFrontPageView::refreshData(const std::string &address) {
    // A fresh facade: a reply still on its way for the headline before reaches nobody.
    newsData_ = NewsData::create();
    newsData_->setDelegate(weakSelf<NewsContentFrontPageView>());
    loadBlocks({});
    newsData_->reqNewsContent(address);
    insertSubviewAbove(waitingAlert_, webV_.get());
    waitingAlert_->StartAlert();
}

base::Opt<void> NewsContentFrontPageView::updateNewsContent(const base::Ref<NewsContentInfo> &article) {
    updateWithNewsContent(article);
    stopWaiting();
    return {};
}

base::Opt<void> NewsContentFrontPageView::updateNewsContentError(const std::string &) {
    loadBlocks({NewsArticlePage::block(titleFontSize, FailedText, true)});
    stopWaiting();
    return {};
}

void NewsContentFrontPageView::stopWaiting() {
    waitingAlert_->StopWaitingAlert();
    waitingAlert_->removeFromSuperview();
}

void NewsContentFrontPageView::updateWithNewsContent(const base::Ref<NewsContentInfo> &article) {
    using Page = NewsArticlePage;
    NewsContentInfo none;
    const NewsContentInfo &a = article ? *article : none;
    loadBlocks({Page::block(titleFontSize, Page::escape(a.title.value_or("")), true),
                Page::block(sourceFontSize,
                            "（来自：" + Page::escape(a.source.value_or("")) + "  " +
                                Page::escape(a.otime.value_or("")) + "）",
                            true),
                Page::block(contentFontSize, a.content.value_or(""), false)});
    setNeedsDisplay();
}

void NewsContentFrontPageView::loadBlocks(const std::vector<std::string> &blocks) {
    if (std::optional<NewsArticlePage::Page> page = NewsArticlePage::fromTemplate(TemplateName, blocks))
        webV_->loadHtml(blocks.empty() ? std::string() : std::move(page->html), page->baseUrl);
}

bool NewsContentFrontPageView::shouldStartLoad(const base::Url &url, ui::NavigationType type) {
    if (type != ui::NavigationType::LinkClicked)
        return true;
    const NewsArticlePage::TouchedLink link = NewsArticlePage::touchedLink(url);
    if (link.stockCode)
        if (auto host = delegate.lock())
            host->newsContentFrontPageView_didClickStockCode(*link.stockCode);
    return link.load;
}

void NewsContentFrontPageView::closeAction(ui::Button *) {
    close();
}

void NewsContentFrontPageView::freeFrontPageTaped(ui::GestureRecognizer *sender) {
    if (!sender)
        return;
    const bool tapEnded = sender == recognizer_.get() && sender->state() == ui::GestureState::Ended;
    const bool dragBegan = sender == recognizerPan_.get() && sender->state() == ui::GestureState::Began;
    if (!tapEnded && !dragBegan)
        return;
    const gfx::Point at = sender->location(this);
    if (!bounds().contains(at) || closeBtn_->frame().contains(at))
        close();
}

void NewsContentFrontPageView::cloaseBtnPan(ui::GestureRecognizer *sender) {
    if (sender && sender->state() == ui::GestureState::Ended &&
        closeBtn_->bounds().contains(sender->location(closeBtn_.get())))
        close();
}

void NewsContentFrontPageView::close() {
    if (auto host = host_.lock()) {
        host->removeGestureRecognizer(recognizer_.get());
        host->removeGestureRecognizer(recognizerPan_.get());
    }
    host_.reset();
    stopWaiting();
    loadBlocks({});
    removeFromSuperview();
}
