#pragma once

#include "Module/FreeFrontPage/NewsListTblCell.h"
#include "Module/FreeFrontPage/TopNewsTitleView.h"

#include "Components/PullingRefreshTableView.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsData.h"

#include <cstdint>
#include <vector>

class NewsSideBarView;

// The owner of a news side bar hears which headline was touched.
class NewsSideBarViewOperation {
public:
    virtual ~NewsSideBarViewOperation() = default;
    // `userInfo` holds the headline's article address under "urlKey".
    virtual void newsSideBarViewItemClick(NewsSideBarView &sideBar, const base::Dict &userInfo) = 0;
};

// The "今日头条" column of the free home page: a title bar over today's headlines from the news
// host, one 80-point row each. It loads them when made, again when the user pulls the list down
// (the list then ignores touches until the reply), and on the owner's periodic tick once more than
// 300 s have passed since the last load began or headlines last came; a pull thus also postpones
// the next timed load. A reply replaces the list (one without headlines empties it); a failed load
// keeps it. There are no further pages: pulling up loads nothing. Touching a headline with an
// article address hands that address to the owner; one without does nothing.
class NewsSideBarView : public ui::View, public NewsDataDelegate, public PullingRefreshTableViewDelegate {
public:
    static constexpr const char *Title = "今日头条";
    static constexpr const char *UrlKey = "urlKey";
    static constexpr float TitleHeight = 36;
    // A timed load waits for more than this many seconds since the last one.
    static constexpr int64_t ReloadAfterSeconds = 300;

    explicit NewsSideBarView(gfx::Rect frame);
    void setUp() override;
    void layoutSubviews() override;

    base::Weak<NewsSideBarViewOperation> delegate;

    void refreshAction(base::Object *sender);
    void refreshOnTimer(base::Object *sender);

    base::Opt<void> updateNewsTopLineArray(const Headlines &headlines) override;
    base::Opt<void> updateNewsTopLineArrayError(const std::string &message) override;

    void pullingTableViewDidStartRefreshing(PullingRefreshTableView &table) override;
    base::Opt<void> pullingTableViewDidStartLoading(PullingRefreshTableView &table) override;
    base::Opt<base::Date> pullingTableViewRefreshingFinishedDate() override;

    // The clock the timed load reads: whole seconds since the calendar epoch, never going back
    // while the process lives.
    static int64_t clockSeconds();
    // When the last load began or headlines last came, on that clock; 0 before any.
    static int64_t lastLoadSeconds();

    TopNewsTitleView &topNewTitleV() { return *topNewTitleV_; }
    PullingRefreshTableView &newsListV() { return *newsListV_; }
    const Headlines &newsListData() const { return newsListData_; }

private:
    struct Rows;
    friend struct Rows;

    void didSelectRow(size_t row);
    // A load has ended either way: the list takes touches again and offers no further page.
    void endLoading();

    base::Ref<TopNewsTitleView> topNewTitleV_;
    base::Ref<PullingRefreshTableView> newsListV_;
    base::Ref<Rows> rows_;
    base::Ref<NewsData> newsData_;
    Headlines newsListData_;
};
