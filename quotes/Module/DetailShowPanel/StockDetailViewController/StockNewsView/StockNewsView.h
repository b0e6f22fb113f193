#pragma once

#include "Module/DetailShowPanel/StockDetailViewController/StockNewsView/StockNewsSectionHeaderView.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"
#include "Module/NewsViewController/NewsContentView.h"

#include "ui/ActivityIndicator.h"
#include "ui/TableView.h"
#include "ui/View.h"

#include <string>

// The detail screen's news tab: one security's news in its four categories (company news,
// announcements, information mines, research), each under a header that opens and closes it, in a
// list on the left; the chosen article on the right. The detail screen makes it once and calls
// updateStockNews with the shown security when it makes it, when the security changes and when the
// tab is chosen.
//
// A reply opens the first category only and asks its first article; opening another category keeps
// the open ones and asks its first article, closing one asks nothing; a tapped row asks its own.
// Categories the host left empty or out open to no rows. Article links load in the article pane.
// The indicator turns while the categories are asked; a failure stops it and keeps what is shown.
//
// Each security is asked through a facade of its own: the one of the security before is dropped
// with whatever it still had in flight, so its late list or article never shows under the new one.
class StockNewsView : public ui::View, public NewsDataDelegate, public StockNewsSectionHeaderViewDelegate {
public:
    static inline const gfx::Rect kListFrame{0, 0, 190, 515};
    static inline const gfx::Rect kContentFrame{190, 0, 578, 515};
    static constexpr float kHeaderHeight = 32, kRowHeight = 70;
    static constexpr float kCellWidth = 190, kCellHeight = 70;
    // The indicator is centred at (512, 330).
    static constexpr gfx::Size kIndicatorArea{1024, 660};
    static constexpr const char *kCellIdentifier = "CellIdentifier";
    // Keys of a category dictionary: the fetcher's, and the one this view adds.
    static constexpr const char *kName = "Name", *kItems = "Items", *kExpanded = "Expanded";

    explicit StockNewsView(gfx::Rect frame);
    void setUp() override;

    // Asks the security's news; another security than the last one is asked afresh.
    void updateStockNews(const std::string &code);
    // Shows the category's first article when the category is open and has one.
    void selectFirstRowInSection(int index);

    base::Opt<void> updateStockNewsList(const base::Array &categories) override;
    base::Opt<void> updateStockNewsListError(const std::string &failMsg) override;
    base::Opt<void> updateNewsContent(const base::Ref<NewsContentInfo> &article) override;
    base::Opt<void> updateNewsContentError(const std::string &failMsg) override;
    base::Opt<void> stockNewsSectionHeaderView(StockNewsSectionHeaderView &header, bool expanded,
                                               int index) override;

    // For the detail screen and tests.
    const std::string &stockCode() const { return stockCode_; }
    ui::TableView &newsListView() { return *newsListView_; }
    NewsContentView &newsContentView() { return *newsContentView_; }
    ui::ActivityIndicator &activityIndicator() { return *activityIndicator_; }
    const base::Array &stockNewsList() const { return stockNewsList_; }
    NewsData *stockNewsData() const { return stockNewsData_.get(); }

private:
    struct Rows;
    struct Taps;

    // The entries of an open category; none for a closed or empty one.
    const base::Array *openItems(int section) const;
    void openArticle(ui::IndexPath path);
    void hideIndicator();

    base::Ref<ui::TableView> newsListView_;
    base::Ref<NewsContentView> newsContentView_;
    base::Ref<ui::ActivityIndicator> activityIndicator_;
    base::Ref<NewsData> stockNewsData_;
    base::Ref<Rows> rows_;
    base::Ref<Taps> taps_;
    base::Array stockNewsList_;
    std::string stockCode_;
};
