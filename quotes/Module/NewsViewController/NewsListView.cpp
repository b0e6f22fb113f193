#include "Module/NewsViewController/NewsListView.h"

#include "Module/NewsViewController/NewsListCell.h"
#include "Module/NewsViewController/NewsViewController.h"

#include "Common/UtilUI.h"
#include "gfx/Color.h"

// The table's rows: one per entry of the shown list.
struct NewsListView::Rows : ui::TableDataSource {
    base::Weak<NewsListView> owner;

    int numberOfRows(ui::TableView &, int) override {
        auto list = owner.lock();
        return list ? int(list->_newsListInfo->items().size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<NewsListCell>(table.dequeueReusableCell(CellIdentifier));
        if (!cell)
            cell =
                base::make<NewsListCell>(CellIdentifier, CellWidth, CellHeight, NewsListCell::NewsListStyle);
        auto list = owner.lock();
        if (list && size_t(path.row) < list->_newsListInfo->items().size()) {
            const NewsListItemInfo &item = *list->_newsListInfo->items()[size_t(path.row)];
            cell->updateWithTitle(item.title.value_or(""), item.summary.value_or(""),
                                  item.otime.value_or(""));
        }
        return cell;
    }
};

// The table's taps and scrolling, which also drive its pulling strips.
struct NewsListView::Taps : ui::TableDelegate {
    base::Weak<NewsListView> owner;

    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return RowHeight; }
    base::Opt<std::optional<ui::IndexPath>> willSelectRow(ui::TableView &, ui::IndexPath path) override {
        auto list = owner.lock();
        if (!list || !list->willSelectRow(size_t(path.row)))
            return std::optional<ui::IndexPath>();
        return std::optional<ui::IndexPath>(path);
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto list = owner.lock())
            list->didSelectRow(size_t(path.row));
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &scrollView) override {
        if (auto list = owner.lock())
            list->_listView->tableViewDidScroll(scrollView);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &scrollView, bool) override {
        if (auto list = owner.lock())
            list->_listView->tableViewDidEndDragging(scrollView);
        return {};
    }
};

NewsListView::NewsListView(gfx::Rect frame, base::Weak<NewsViewController> controller)
    : ui::View(frame), weakRefController(std::move(controller)) {}

void NewsListView::setUp() {
    ui::View::setUp();
    rows_ = base::make<Rows>();
    rows_->owner = weakSelf<NewsListView>();
    taps_ = base::make<Taps>();
    taps_->owner = weakSelf<NewsListView>();
    _listView = PullingRefreshTableView::create(bounds(), weakSelf<NewsListView>());
    _listView->dataSource = rows_;
    _listView->delegate = taps_;
    _listView->rowHeight = RowHeight;
    _listView->setBackgroundColor(gfx::Color::rgba(5 / 255.f, 61 / 255.f, 88 / 255.f));
    _listView->separatorColor = gfx::Color::pattern(UtilUI::imageNamed("seperator_bg.png"));
    addSubview(_listView);
}

void NewsListView::layoutSubviews() {
    ui::View::layoutSubviews();
    _listView->setFrame(bounds());
}

void NewsListView::clearEndFlags() {
    isReload_ = true;
    isWillLoadEnd_ = false;
    isLoadEnd_ = false;
}

void NewsListView::setNewsListUrlPrefix(const std::string &prefix) {
    if (prefix == newsListUrlPrefix_)
        return;
    newsListUrlPrefix_ = prefix;
    clearEndFlags();
}

void NewsListView::prepareForReload() {
    clearEndFlags();
}

bool NewsListView::requestPage(const std::optional<std::string> &page) {
    auto screen = weakRefController.lock();
    return page && screen && screen->refreshNewsListWithUrl(newsListUrlPrefix_ + *page);
}

void NewsListView::pullingTableViewDidStartRefreshing(PullingRefreshTableView &table) {
    if (!requestPage(_newsListInfo->first)) {
        table.tableViewDidFinishedLoading();
        return;
    }
    clearEndFlags();
    table.userInteractionEnabled = false;
}

base::Opt<void> NewsListView::pullingTableViewDidStartLoading(PullingRefreshTableView &table) {
    if (!requestPage(_newsListInfo->next)) {
        table.tableViewDidFinishedLoading();
        return {};
    }
    isReload_ = false;
    table.userInteractionEnabled = false;
    return {};
}

base::Opt<base::Date> NewsListView::pullingTableViewRefreshingFinishedDate() {
    return base::Date::now();
}

void NewsListView::updateWithListInfo(const base::Ref<NewsListInfo> &page) {
    _listView->tableViewDidFinishedLoading();
    const bool reload = isReload_;
    if (reload)
        _newsListInfo->removeAllNewsListItems();
    // A reply without a page merges as an empty page without links.
    _newsListInfo->mergeWithAnother(page ? *page : NewsListInfo());
    _listView->reloadData();
    _listView->userInteractionEnabled = true;
    if (reload && !_newsListInfo->items().empty()) {
        _listView->selectRow(ui::IndexPath{0, 0}, false, ui::ScrollPosition::Bottom);
        currentSelectedRow_ = 0;
        didSelectRow(0);
    } else if (!reload && currentSelectedRow_ < _newsListInfo->items().size()) {
        _listView->selectRow(ui::IndexPath{0, int(currentSelectedRow_)}, false, ui::ScrollPosition::None);
    }
    const std::optional<std::string> &next = _newsListInfo->next, &last = _newsListInfo->last;
    if (next && last && *next == *last) {
        if (isWillLoadEnd_)
            isLoadEnd_ = true;
        else
            isWillLoadEnd_ = true;
    }
    _listView->setReachedTheEnd(isLoadEnd_);
}

void NewsListView::updateWithListError() {
    _listView->tableViewDidFinishedLoading();
    _listView->userInteractionEnabled = true;
}

bool NewsListView::willSelectRow(size_t row) {
    if (row == currentSelectedRow_)
        return false;
    currentSelectedRow_ = row;
    return true;
}

void NewsListView::didSelectRow(size_t row) {
    auto screen = weakRefController.lock();
    if (screen && row < _newsListInfo->items().size())
        screen->refreshNewsContentWithUrl(_newsListInfo->items()[row]->url.value_or(""));
}
