#include "Module/NewsViewController/NewsViewController.h"

#include "Components/CMTabBarController/CMTabBarController.h"
#include "DataBase/TradeDataBase/TradeMsgCenter.h"
#include "Module/DetailShowPanel/StockDetailViewController/StockDetailViewController.h"
#include "Module/NewsViewController/NewsArticlePage.h"

#include "gfx/Color.h"
#include "gfx/Image.h"
#include "ui/NavigationController.h"

// The article pane's web delegate: its link rule belongs to the screen.
struct NewsViewController::LinkRelay : ui::WebViewDelegate {
    base::Weak<NewsViewController> screen;
    base::Opt<bool> shouldStartLoad(ui::WebView &, const base::Url &url, ui::NavigationType type) override {
        auto s = screen.lock();
        return s ? s->shouldStartLoad(url, type) : true;
    }
};

NewsViewController::NewsViewController() : linkRelay_(base::make<LinkRelay>()) {}

NewsViewController::~NewsViewController() = default;

void NewsViewController::setUp() {
    CMViewController::setUp();
    linkRelay_->screen = weakSelf<NewsViewController>();
    newsData_ = NewsData::create();
    newsData_->setDelegate(weakSelf<NewsViewController>());
}

void NewsViewController::viewDidLoad() {
    CMViewController::viewDidLoad();
    SetNavigationWithShowSettings(true, false, true);
    SetNavigationWithShowBreakingNews(true);
    SetNavigationWithSearchBar();
    view().setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    if (ui::NavigationController *nav = navigationController())
        nav->navigationBar().setTint(gfx::Color::rgba(0.096f, 0.157f, 0.208f));

    base::Weak<NewsViewController> weak = weakSelf<NewsViewController>();
    newsColumnsView_ = base::make<NewsColumnsView>(kColumnsFrame, weak);
    newsListView_ = base::make<NewsListView>(kListFrame, weak);
    newsContentView_ = base::make<NewsContentView>(kContentFrame);
    newsContentView_->delegate = linkRelay_;
    view().addSubview(newsColumnsView_);
    view().addSubview(newsListView_);
    view().addSubview(newsContentView_);

    activityIndicator_ = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::WhiteLarge);
    gfx::Size size = activityIndicator_->frame().s;
    activityIndicator_->setFrame(
        {(kIndicatorArea.w - size.w) / 2, (kIndicatorArea.h - size.h) / 2, size.w, size.h});
    activityIndicator_->setHidesWhenStopped(false);
    view().addSubview(activityIndicator_);
    requestColumns();
}

void NewsViewController::viewWillAppear(bool animated) {
    CMViewController::viewWillAppear(animated);
    // A column list that failed is asked again each time the tab comes back.
    if (isViewLoaded() && columnsMissing_ && activityIndicator_ && !activityIndicator_->isAnimating())
        requestColumns();
}

bool NewsViewController::shouldAutorotateTo(ui::Orientation orientation) {
    currentOrientation_ = orientation;
    return orientation == ui::Orientation::LandscapeLeft || orientation == ui::Orientation::LandscapeRight;
}

void NewsViewController::viewWillDisappear(bool animated) {
    CMViewController::viewWillDisappear(animated);
    if (auto *tabs = dynamic_cast<CMTabBarController *>(tabBarController()))
        tabs->setPrevOrientation(int(currentOrientation_));
}

void NewsViewController::requestColumns() {
    showIndicator();
    newsData_->reqNewsColumnArray();
}

void NewsViewController::showIndicator() {
    activityIndicator_->start();
    activityIndicator_->setHidden(false);
}

void NewsViewController::hideIndicator() {
    activityIndicator_->setHidden(true);
    activityIndicator_->stop();
}

bool NewsViewController::refreshNewsListWithUrl(const std::string &url) {
    size_t slash = url.rfind('/');
    if (slash == std::string::npos || !newsListView_)
        return false;
    newsListView_->setNewsListUrlPrefix(url.substr(0, slash + 1));
    showIndicator();
    newsData_->reqNewsList(url);
    return true;
}

bool NewsViewController::openColumnList(const std::string &url) {
    if (!refreshNewsListWithUrl(url))
        return false;
    newsListView_->prepareForReload();
    return true;
}

bool NewsViewController::refreshNewsContentWithUrl(const std::string &url) {
    showIndicator();
    newsData_->reqNewsContent(url);
    return true;
}

base::Opt<void> NewsViewController::traderButtonAction(ui::View &) {
    TradeMsgCenter::EnterTradeBar();
    return {};
}

base::Opt<void> NewsViewController::updateNewsColumnArray(const Columns &columns) {
    columnsMissing_ = false;
    newsColumnsView_->updateColumns(columns);
    // The first column's list request turns the indicator again.
    if (columns.empty())
        hideIndicator();
    return {};
}

base::Opt<void> NewsViewController::updateNewsColumnArrayError(const std::string &) {
    hideIndicator();
    return {};
}

base::Opt<void> NewsViewController::updateNewsList(const base::Ref<NewsListInfo> &page) {
    hideIndicator();
    newsListView_->updateWithListInfo(page);
    return {};
}

base::Opt<void> NewsViewController::updateNewsListError(const std::string &) {
    hideIndicator();
    newsListView_->updateWithListError();
    return {};
}

base::Opt<void> NewsViewController::updateNewsContent(const base::Ref<NewsContentInfo> &article) {
    newsContentView_->updateWithNewsContent(article);
    hideIndicator();
    return {};
}

base::Opt<void> NewsViewController::updateNewsContentError(const std::string &) {
    hideIndicator();
    return {};
}

bool NewsViewController::shouldStartLoad(const base::Url &url, ui::NavigationType type) {
    if (type != ui::NavigationType::LinkClicked)
        return true;
    const NewsArticlePage::TouchedLink link = NewsArticlePage::touchedLink(url);
    if (link.load)
        return true;
    ui::NavigationController *nav = navigationController();
    if (!nav || !link.stockCode)
        return false;
    auto detail = base::make<StockDetailViewController>();
    detail->SetStockCodeMarket(*link.stockCode);
    detail->SetCheckStocksArray(base::Array(), 0);
    nav->push(detail, true);
    return false;
}
