#include "Module/DetailShowPanel/StockDetailViewController/StockNewsView/StockNewsView.h"

#include "Module/NewsViewController/NewsListCell.h"

#include "gfx/Color.h"
#include "gfx/Image.h"

// One section per category, rows only while it is open.
struct StockNewsView::Rows : ui::TableDataSource {
    base::Weak<StockNewsView> owner;

    int numberOfSections(ui::TableView &) override {
        auto view = owner.lock();
        return view ? int(view->stockNewsList_.size()) : 0;
    }
    int numberOfRows(ui::TableView &, int section) override {
        auto view = owner.lock();
        const base::Array *items = view ? view->openItems(section) : nullptr;
        return items ? int(items->size()) : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto cell = std::dynamic_pointer_cast<NewsListCell>(table.dequeueReusableCell(kCellIdentifier));
        if (!cell)
            cell = base::make<NewsListCell>(kCellIdentifier, kCellWidth, kCellHeight,
                                            NewsListCell::StockNewsStyle);
        auto view = owner.lock();
        const base::Array *items = view ? view->openItems(path.section) : nullptr;
        if (items && size_t(path.row) < items->size())
            if (auto item = (*items)[size_t(path.row)].objectAs<NewsListItemInfo>())
                cell->updateWithTitle(item->title.value_or(""), "", item->otime.value_or(""));
        return cell;
    }
};

struct StockNewsView::Taps : ui::TableDelegate {
    base::Weak<StockNewsView> owner;

    base::Opt<float> heightForHeader(ui::TableView &, int) override { return kHeaderHeight; }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return kRowHeight; }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &table, int section) override {
        auto view = owner.lock();
        if (!view || size_t(section) >= view->stockNewsList_.size())
            return base::Ref<ui::View>();
        base::Value category = view->stockNewsList_[size_t(section)];
        auto header = base::make<StockNewsSectionHeaderView>(
            gfx::Rect{0, 0, table.bounds().width(), kHeaderHeight}, category[kName].stringValue(), section);
        header->delegate = base::Weak<StockNewsSectionHeaderViewDelegate>(view);
        header->setIsExpanded(category[kExpanded].boolValue());
        return base::Ref<ui::View>(header);
    }
    base::Opt<void> didSelectRow(ui::TableView &, ui::IndexPath path) override {
        if (auto view = owner.lock())
            view->openArticle(path);
        return {};
    }
};

StockNewsView::StockNewsView(gfx::Rect frame) : ui::View(frame) {}

void StockNewsView::setUp() {
    ui::View::setUp();
    setBackgroundColor(gfx::Color::pattern(gfx::Image::named("background.png")));
    stockNewsData_ = NewsData::create();
    stockNewsData_->setDelegate(weakSelf<StockNewsView>());
    rows_ = base::make<Rows>();
    rows_->owner = weakSelf<StockNewsView>();
    taps_ = base::make<Taps>();
    taps_->owner = weakSelf<StockNewsView>();

    newsListView_ = base::make<ui::TableView>(kListFrame);
    newsListView_->sectionHeaderHeight = kHeaderHeight;
    newsListView_->rowHeight = kRowHeight;
    newsListView_->setBackgroundColor(gfx::Color::rgba(5 / 255.f, 61 / 255.f, 88 / 255.f));
    newsListView_->separatorColor = gfx::Color::pattern(gfx::Image::named("seperator_bg.png"));
    newsListView_->dataSource = rows_;
    newsListView_->delegate = taps_;
    addSubview(newsListView_);

    // No web delegate: every link of an article loads in the pane.
    newsContentView_ = base::make<NewsContentView>(kContentFrame);
    addSubview(newsContentView_);

    activityIndicator_ = base::make<ui::ActivityIndicator>(ui::ActivityIndicator::Style::WhiteLarge);
    gfx::Size size = activityIndicator_->frame().s;
    activityIndicator_->setFrame(
        {(kIndicatorArea.w - size.w) / 2, (kIndicatorArea.h - size.h) / 2, size.w, size.h});
    activityIndicator_->setHidesWhenStopped(false);
    addSubview(activityIndicator_);
}

void StockNewsView::updateStockNews(const std::string &code) {
    if (code != stockCode_) {
        stockCode_ = code;
        stockNewsData_ = NewsData::create();
        stockNewsData_->setDelegate(weakSelf<StockNewsView>());
    }
    activityIndicator_->setHidden(false);
    activityIndicator_->start();
    stockNewsData_->reqStockNewsList(code);
}

void StockNewsView::hideIndicator() {
    activityIndicator_->setHidden(true);
    activityIndicator_->stop();
}

const base::Array *StockNewsView::openItems(int section) const {
    if (section < 0 || size_t(section) >= stockNewsList_.size())
        return nullptr;
    const base::Value &category = stockNewsList_[size_t(section)];
    if (!category[kExpanded].boolValue())
        return nullptr;
    const base::Dict *entries = category.dict();
    const base::Value *items = entries ? entries->find(kItems) : nullptr;
    return items ? items->array() : nullptr;
}

base::Opt<void> StockNewsView::updateStockNewsList(const base::Array &categories) {
    stockNewsList_ = categories;
    for (size_t i = 0; i < stockNewsList_.size(); ++i)
        if (base::Dict *category = stockNewsList_[i].dict())
            category->set(kExpanded, i == 0);
    newsListView_->reloadData();
    selectFirstRowInSection(0);
    hideIndicator();
    return {};
}

base::Opt<void> StockNewsView::updateStockNewsListError(const std::string &) {
    hideIndicator();
    return {};
}

base::Opt<void> StockNewsView::updateNewsContent(const base::Ref<NewsContentInfo> &article) {
    newsContentView_->updateWithNewsContent(article);
    hideIndicator();
    return {};
}

base::Opt<void> StockNewsView::updateNewsContentError(const std::string &) {
    hideIndicator();
    return {};
}

base::Opt<void> StockNewsView::stockNewsSectionHeaderView(StockNewsSectionHeaderView &, bool expanded,
                                                          int index) {
    if (index < 0 || size_t(index) >= stockNewsList_.size())
        return {};
    if (base::Dict *category = stockNewsList_[size_t(index)].dict())
        category->set(kExpanded, expanded);
    newsListView_->reloadData();
    selectFirstRowInSection(index);
    return {};
}

void StockNewsView::selectFirstRowInSection(int index) {
    newsListView_->reloadData();
    const base::Array *items = openItems(index);
    if (!items || items->empty())
        return;
    ui::IndexPath first{index, 0};
    newsListView_->selectRow(first, false, ui::ScrollPosition::Bottom);
    openArticle(first);
}

void StockNewsView::openArticle(ui::IndexPath path) {
    const base::Array *items = openItems(path.section);
    if (!items || size_t(path.row) >= items->size())
        return;
    if (auto item = (*items)[size_t(path.row)].objectAs<NewsListItemInfo>())
        stockNewsData_->reqNewsContent(item->url.value_or(""));
}
