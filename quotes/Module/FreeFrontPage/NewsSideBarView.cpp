#include "Module/FreeFrontPage/NewsSideBarView.h"

#include "Common/UtilUI.h"
#include "base/Clock.h"
#include "gfx/Color.h"

#include <cmath>

namespace {

// One value for the whole process, as every side bar shares the news host's headlines.
int64_t &lastLoad() {
    static int64_t seconds = 0;
    return seconds;
}

} // namespace

// The table's rows and taps; scrolling also drives its pulling strips.
struct NewsSideBarView::Rows : ui::TableDataSource, ui::TableDelegate {
    base::Weak<NewsSideBarView> owner;

    int numberOfRows(ui::TableView &, int) override {
        auto bar = owner.lock();
        return bar ? int(bar->newsListData_.size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        const float width = table.bounds().width();
        auto cell = std::dynamic_pointer_cast<NewsListTblCell>(
            table.dequeueReusableCell(NewsListTblCell::ReuseIdentifier));
        if (!cell)
            cell = base::make<NewsListTblCell>(width);
        auto bar = owner.lock();
        if (bar && size_t(path.row) < bar->newsListData_.size())
            cell->configure(*bar->newsListData_[size_t(path.row)], width);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override {
        return NewsListTblCell::RowHeight;
    }
    base::Opt<void> didSelectRow(ui::TableView &table, ui::IndexPath path) override {
        if (auto bar = owner.lock())
            bar->didSelectRow(size_t(path.row));
        table.deselectRow(path, true);
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &scrollView) override {
        if (auto bar = owner.lock())
            bar->newsListV_->tableViewDidScroll(scrollView);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &scrollView, bool) override {
        if (auto bar = owner.lock())
            bar->newsListV_->tableViewDidEndDragging(scrollView);
        return {};
    }
};

NewsSideBarView::NewsSideBarView(gfx::Rect frame) : ui::View(frame) {}

void NewsSideBarView::setUp() {
    ui::View::setUp();
    const gfx::Rect b = bounds();
    topNewTitleV_ = base::make<TopNewsTitleView>(gfx::Rect{0, 0, b.width(), TitleHeight});
    topNewTitleV_->setBackgroundColor(gfx::Color::clear());
    topNewTitleV_->opaque = false;
    topNewTitleV_->setDspTitle(Title);
    topNewTitleV_->setBgImg(UtilUI::imageNamed("HeaderSelectedBG.png"));
    addSubview(topNewTitleV_);

    rows_ = base::make<Rows>();
    rows_->owner = weakSelf<NewsSideBarView>();
    newsListV_ = PullingRefreshTableView::create(
        {0, TitleHeight, b.width(), std::floor(b.height() - TitleHeight)}, weakSelf<NewsSideBarView>());
    newsListV_->dataSource = rows_;
    newsListV_->delegate = rows_;
    newsListV_->rowHeight = NewsListTblCell::RowHeight;
    newsListV_->setBackgroundColor(gfx::Color::rgba(5 / 255.f, 61 / 255.f, 88 / 255.f));
    newsListV_->separatorColor = gfx::Color::pattern(UtilUI::imageNamed("seperator_bg.png"));
    newsListV_->setEnableFooterPull(false);
    newsListV_->autoScrollToNextPage = false;
    addSubview(newsListV_);

    newsData_ = NewsData::create();
    newsData_->setDelegate(weakSelf<NewsSideBarView>());
    refreshAction(nullptr);
}

void NewsSideBarView::layoutSubviews() {
    const gfx::Rect b = bounds();
    topNewTitleV_->setFrame({0, 0, b.width(), TitleHeight});
    newsListV_->setFrame({0, TitleHeight, b.width(), std::floor(b.height() - TitleHeight)});
}

int64_t NewsSideBarView::clockSeconds() {
    // Wall time read once, then carried on by the clock that never goes back.
    const base::Clock &clock = base::Clock::current();
    static const double origin = clock.now() - clock.monotonic();
    return int64_t(std::floor(origin + clock.monotonic()));
}

int64_t NewsSideBarView::lastLoadSeconds() {
    return lastLoad();
}

void NewsSideBarView::refreshAction(base::Object *) {
    newsData_->reqNewsTopLineArray();
}

void NewsSideBarView::refreshOnTimer(base::Object *) {
    const int64_t now = clockSeconds();
    if (now - lastLoad() <= ReloadAfterSeconds)
        return;
    lastLoad() = now;
    refreshAction(nullptr);
}

base::Opt<void> NewsSideBarView::updateNewsTopLineArray(const Headlines &headlines) {
    lastLoad() = clockSeconds();
    newsListData_ = headlines;
    newsListV_->reloadData();
    endLoading();
    return {};
}

base::Opt<void> NewsSideBarView::updateNewsTopLineArrayError(const std::string &) {
    endLoading();
    return {};
}

void NewsSideBarView::endLoading() {
    newsListV_->tableViewDidFinishedLoading();
    newsListV_->userInteractionEnabled = true;
    newsListV_->setReachedTheEnd(true);
}

void NewsSideBarView::pullingTableViewDidStartRefreshing(PullingRefreshTableView &table) {
    refreshAction(nullptr);
    table.userInteractionEnabled = false;
}

base::Opt<void> NewsSideBarView::pullingTableViewDidStartLoading(PullingRefreshTableView &table) {
    table.tableViewDidFinishedLoading();
    return {};
}

base::Opt<base::Date> NewsSideBarView::pullingTableViewRefreshingFinishedDate() {
    return base::Date::now();
}

void NewsSideBarView::didSelectRow(size_t row) {
    auto owner = delegate.lock();
    if (!owner || row >= newsListData_.size())
        return;
    const std::optional<std::string> &url = newsListData_[row]->url;
    if (!url || url->empty())
        return;
    owner->newsSideBarViewItemClick(*this, base::Dict{{UrlKey, *url}});
}
