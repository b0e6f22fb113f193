#pragma once

#include "Components/PullingRefreshTableView.h"
#include "Module/NewsDataBaseMgnt/NewsData/NewsListInfo.h"

#include "ui/View.h"

#include <optional>
#include <string>

class NewsViewController;

// The news screen's list of one column's articles: a pull-to-refresh table, one 100-point row per
// entry. Pulling down asks the column's first page again and replaces the list; pulling up asks
// the next page and appends it. Page links are relative to the column's directory
// (newsListUrlPrefix). A page whose next page is also the last arms the end; the page after it
// ends the list, and the table then offers no more pulling up. Touching a row other than the one
// shown opens its article through the screen; a reload opens the first entry's article.
class NewsListView : public ui::View, public PullingRefreshTableViewDelegate {
public:
    static constexpr float RowHeight = 100, CellWidth = 280, CellHeight = 90;
    static constexpr const char *CellIdentifier = "CellIdentifier";

    NewsListView(gfx::Rect frame, base::Weak<NewsViewController> controller);
    void setUp() override;
    // The table fills the view whatever its frame.
    void layoutSubviews() override;

    // Takes the directory of a new list address; a new directory starts a new list.
    void setNewsListUrlPrefix(const std::string &prefix);
    // A column chosen again: its next reply replaces the list, whose end is no longer known.
    void prepareForReload();
    // A page has come (or none could be read): merged or replacing, as the pending request said.
    void updateWithListInfo(const base::Ref<NewsListInfo> &page);
    // The pending request failed: the list stays, the table takes touches again.
    void updateWithListError();

    void pullingTableViewDidStartRefreshing(PullingRefreshTableView &table) override;
    base::Opt<void> pullingTableViewDidStartLoading(PullingRefreshTableView &table) override;
    base::Opt<base::Date> pullingTableViewRefreshingFinishedDate() override;

    // For the screen and tests.
    PullingRefreshTableView &listView() { return *_listView; }
    const NewsListInfo &newsListInfo() const { return *_newsListInfo; }
    const std::string &newsListUrlPrefix() const { return newsListUrlPrefix_; }
    size_t currentSelectedRow() const { return currentSelectedRow_; }
    bool isReload() const { return isReload_; }
    bool isLoadEnd() const { return isLoadEnd_; }

private:
    struct Rows;
    struct Taps;
    friend struct Rows;
    friend struct Taps;

    // A tap on a row: refused on the shown row, else that row becomes the shown one.
    bool willSelectRow(size_t row);
    void didSelectRow(size_t row);
    // Asks the screen for a page of the list; false when it asked nothing.
    bool requestPage(const std::optional<std::string> &page);
    void clearEndFlags();

    base::Weak<NewsViewController> weakRefController;
    base::Ref<PullingRefreshTableView> _listView;
    base::Ref<Rows> rows_;
    base::Ref<Taps> taps_;
    base::Ref<NewsListInfo> _newsListInfo = base::make<NewsListInfo>();
    size_t currentSelectedRow_ = 0;
    bool isReload_ = true;
    bool isWillLoadEnd_ = false;
    bool isLoadEnd_ = false;
    std::string newsListUrlPrefix_;
};
