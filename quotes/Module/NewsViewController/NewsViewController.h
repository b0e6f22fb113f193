#pragma once

#include "Components/CMViewController.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"
#include "Module/NewsViewController/NewsColumnsView.h"
#include "Module/NewsViewController/NewsContentView.h"
#include "Module/NewsViewController/NewsListView.h"

#include "ui/ActivityIndicator.h"

#include <string>

// The news tab: the bar of news columns across the top, the chosen column's article list on the
// left and the chosen article on the right, all from the news host through the screen's own news
// facade. The columns are asked once, when the view is built (and again when the tab reappears
// after that request failed); the first column's list and its first article follow at once, the
// rest follows the user's taps and pulls. A link in an article whose last path component is
// "@<word>=<code>" opens that security's detail screen; "@" links without a code do nothing; any
// other link loads in the article pane. The large indicator turns while a request is out.
class NewsViewController : public CMViewController, public NewsDataDelegate {
public:
    static inline const gfx::Rect kColumnsFrame{0, 0, 1024, 52};
    static inline const gfx::Rect kListFrame{0, 48, 310, 592};
    static inline const gfx::Rect kContentFrame{310, 48, 714, 592};
    // The indicator is centred at (512, 330).
    static constexpr gfx::Size kIndicatorArea{1024, 660};

    NewsViewController();
    ~NewsViewController() override;
    void setUp() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    // Landscape only; the orientation asked about is handed to the tab bar when the screen goes.
    bool shouldAutorotateTo(ui::Orientation orientation) override;
    void viewWillDisappear(bool animated) override;

    // Asks a list page; false (and nothing asked) for an address without "/".
    bool refreshNewsListWithUrl(const std::string &url);
    // A column chosen: its list from the first page, replacing the shown one.
    bool openColumnList(const std::string &url);
    bool refreshNewsContentWithUrl(const std::string &url);
    base::Opt<void> traderButtonAction(ui::View &sender) override;

    base::Opt<void> updateNewsColumnArray(const Columns &columns) override;
    base::Opt<void> updateNewsColumnArrayError(const std::string &failMsg) override;
    base::Opt<void> updateNewsList(const base::Ref<NewsListInfo> &page) override;
    base::Opt<void> updateNewsListError(const std::string &failMsg) override;
    base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &article) override;
    base::Opt<void> updateNewsContentError(const std::string &failMsg) override;

    // The article pane's navigation rule: false for a link it handles itself.
    bool shouldStartLoad(const base::Url &url, ui::NavigationType type);

    // For tests.
    NewsColumnsView *newsColumnsView() const { return newsColumnsView_.get(); }
    NewsListView *newsListView() const { return newsListView_.get(); }
    NewsContentView *newsContentView() const { return newsContentView_.get(); }
    ui::ActivityIndicator *activityIndicator() const { return activityIndicator_.get(); }
    NewsData &newsData() const { return *newsData_; }

private:
    struct LinkRelay;

    void requestColumns();
    void showIndicator();
    void hideIndicator();

    base::Ref<NewsColumnsView> newsColumnsView_;
    base::Ref<NewsListView> newsListView_;
    base::Ref<NewsContentView> newsContentView_;
    base::Ref<ui::ActivityIndicator> activityIndicator_;
    base::Ref<NewsData> newsData_;
    base::Ref<LinkRelay> linkRelay_;
    ui::Orientation currentOrientation_ = ui::Orientation::LandscapeRight;
    // The column list is still to come: its request failed, or it has not been made.
    bool columnsMissing_ = true;
};
