#include "Module/FreeFrontPage/MyStockListView.h"

#include "DataBase/DataBase.h"
#include "Module/Market/MarketTableBaseView.h"
#include "Module/Market/QuoteRows.h"
#include "Module/NewsViewController/InfoBombViewController.h"
#include "Module/StockDataBaseMgnt/DataManager.h"

#include "base/RunLoop.h"
#include "gfx/Font.h"
#include "ui/ImageView.h"
#include "ui/NavigationController.h"

using QuoteRows::column;

namespace {

constexpr const char *MyStockMenuID = "MY_STOCK";
constexpr const char *MenuTitle = "切换类别";
constexpr gfx::Size MenuSize{160, 160};
const gfx::Rect ModeButtonFrame{10, 7, 120, 32};
const gfx::Rect InfoButtonFrame{110, 2, 40, 40};
constexpr float HeaderFontSize = 16;
// A sort field travels in one byte.
constexpr int MaxSortField = 255;

base::Array makeColumns() {
    return {column("", -1, 39, false, "INDEX"), column("", 9, 91, false, "NAME"),
            column("最新 ", 4, 85, true),       column("涨幅 ", 1, 85, true),
            column("涨跌 ", 502, 90, true),     column("成交量 ", 2, 90, true)};
}

} // namespace

// --- The row

FrontPageQuoteCell::FrontPageQuoteCell(gfx::Rect frame) : GeneralCell(Style::Default, Identifier, frame) {
    infoButton_ = ui::Button::custom(InfoButtonFrame);
    infoButton_->addSubview(
        base::make<ui::ImageView>(gfx::Rect{10, 10, 19, 19}, gfx::Image::named("infoButton.png")));
}

void FrontPageQuoteCell::setUp() {
    GeneralCell::setUp();
    infoButton_->addTarget(BASE_ACTION(this, infoButtonAction), ui::TouchUpInside);
    // Over the name column, which the columns fill in later.
    contentView().addSubview(infoButton_);
}

void FrontPageQuoteCell::infoButtonAction(ui::Button *) {
    auto notes = base::make<InfoBombViewController>();
    notes->setStockCode(marketCode, stockName);
    infoAlertPopoverController_ = base::make<ui::Popover>(base::make<ui::NavigationController>(notes));
    infoAlertPopoverController_->presentFromRect(infoButton_->bounds(), *infoButton_, ui::ArrowLeft, true);
}

// --- The table

struct MyStockListView::Table : ui::TableDataSource, ui::TableDelegate {
    base::Weak<MyStockListView> panel;

    int numberOfRows(ui::TableView &, int) override {
        auto p = panel.lock();
        return p ? p->rowCount() : 0;
    }
    base::Ref<ui::TableCell> cellForRow(ui::TableView &table, ui::IndexPath path) override {
        auto p = panel.lock();
        auto cell = std::dynamic_pointer_cast<FrontPageQuoteCell>(
            table.dequeueReusableCell(FrontPageQuoteCell::Identifier));
        if (!cell) {
            cell = base::make<FrontPageQuoteCell>(gfx::Rect{0, 0, table.bounds().width(), RowHeight});
            if (p)
                cell->SetFormatArray(p->columnArray_);
            cell->contentView().bringSubviewToFront(&cell->infoButton());
        }
        cell->indexPath = path;
        cell->ShowAccelerateButton(0, "tline_tag.png");
        cell->SetCellBgColor(path.row % 2 == 0 ? gfx::Color::rgba(0.047f, 0.129f, 0.2f)
                                               : gfx::Color::rgba(0.055f, 0.082f, 0.102f));
        base::Ref<StockQuoteInf> record = p ? p->recordAt(path.row) : nullptr;
        if (!record) {
            cell->marketCode.clear();
            cell->stockName.clear();
            cell->SetValueArray({});
            cell->infoButton().setHidden(true);
            return cell;
        }
        cell->marketCode = record->code;
        cell->stockName = record->name;
        base::Array values{std::to_string(path.row + 1),
                           base::Dict{{"StockName", record->name}, {"StockCode", record->getDisplayCode()}}};
        for (size_t i = 2; i < p->columnArray_.size(); ++i)
            values.add(record->FormatValue(int32_t(p->columnArray_[i]["ColID"].intValue())));
        cell->SetValueArray(values);
        int32_t change = QuoteRows::priceChange(*record);
        for (int i = 2; i <= 4; ++i)
            cell->SetTextColorAtIndex(i, change);
        cell->infoButton().setHidden(record->noteCount < 1);
        return cell;
    }
    base::Opt<float> heightForRow(ui::TableView &, ui::IndexPath) override { return RowHeight; }
    base::Opt<float> heightForHeader(ui::TableView &, int) override { return HeaderHeight; }
    base::Opt<base::Ref<ui::View>> viewForHeader(ui::TableView &, int) override {
        auto p = panel.lock();
        return p ? p->makeHeader() : base::Ref<ui::View>();
    }
    base::Opt<void> didSelectRow(ui::TableView &table, ui::IndexPath path) override {
        if (auto p = panel.lock())
            p->rowTapped(path.row);
        table.deselectRow(path, true);
        return {};
    }
    base::Opt<void> didScroll(ui::ScrollView &scroll) override {
        auto p = panel.lock();
        if (p && !p->isRanking())
            p->mystockData_->MyStock_PrereqNextPageQuotes(scroll.contentOffset().y, RowHeight);
        return {};
    }
    base::Opt<void> didEndDragging(ui::ScrollView &scroll, bool decelerate) override {
        if (!decelerate && !scroll.isDragging() && !scroll.isDecelerating())
            if (auto p = panel.lock())
                p->reqMyStockCurScreenQuotes();
        return {};
    }
    base::Opt<void> didEndDecelerating(ui::ScrollView &scroll) override {
        if (!scroll.isDragging() && !scroll.isDecelerating())
            if (auto p = panel.lock())
                p->reqMyStockCurScreenQuotes();
        return {};
    }
};

// --- Making

MyStockListView::MyStockListView(gfx::Rect frame) : ui::View(frame) {
    setBackgroundColor(gfx::Color::clear());
    opaque = false;
}

MyStockListView::~MyStockListView() {
    base::NotificationCenter::shared().removeObserver(this);
    base::RunLoop::main().cancelPerforms(changeWait_.get());
    if (auto shown = menu_.lock())
        shown->delegate.reset();
    if (switchMarketMenuPopoverController_)
        switchMarketMenuPopoverController_->dismiss(false);
}

void MyStockListView::setUp() {
    ui::View::setUp();
    base::Weak<MyStockListView> weak = weakSelf<MyStockListView>();
    base::NotificationCenter::shared().addObserver(weak, DataManager::MyStockSwitchCenter,
                                                   [weak](const base::Notification &n) {
                                                       if (auto self = weak.lock())
                                                           self->MyStockSwitchAction(n);
                                                   });
    base::NotificationCenter::shared().addObserver(weak, RankingObserverName,
                                                   [weak](const base::Notification &n) {
                                                       if (auto self = weak.lock())
                                                           DataBase::ProcRecvNotify(n, *self);
                                                   });
    mystockData_ = DDEQuotesData::create(ObserverName, ExtendedFieldsFlag);
    mystockData_->setDelegate(weak);
    columnArray_ = makeColumns();
    for (const base::Value &group : DataManager::sharedDataManager().GetCurrentModelsArray())
        myStockModelArray_.add(base::Dict{{"CLASS_ID", group["ModelFileName"].stringValue()},
                                          {"MENU_ID", MyStockMenuID},
                                          {"MENU_NAME", group["ModelName"].stringValue()}});

    float w = bounds().width(), h = bounds().height();
    table_ = base::make<Table>();
    table_->panel = weak;
    ddeTableView_ = base::make<ui::TableView>(gfx::Rect{0, 0, w, h});
    ddeTableView_->dataSource = table_;
    ddeTableView_->delegate = table_;
    ddeTableView_->setBackgroundColor(gfx::Color::clear());
    ddeTableView_->opaque = false;
    ddeTableView_->separatorColor = gfx::Color::clear();
    ddeTableView_->separatorStyle = ui::TableView::Separator::None;
    ddeTableView_->showsVerticalScrollIndicator = false;
    ddeTableView_->rowHeight = RowHeight;
    addSubview(ddeTableView_);
    titleColumn_ = base::make<GeneralColumn>(gfx::Rect{0, 0, w, HeaderHeight}, columnArray_,
                                             gfx::Font::system(HeaderFontSize));
    titleColumn_->delegate = weak;
    titleColumn_->isShowColumnLine = false;

    ReloadDataOfMyStocks();
    ReqMyStocks();
}

base::Ref<ui::View> MyStockListView::makeHeader() {
    float w = ddeTableView_->bounds().width();
    auto header = base::make<ui::View>(gfx::Rect{0, 0, w, HeaderHeight});
    header->addSubview(base::make<ui::ImageView>(gfx::Rect{0, 0, w, HeaderHeight},
                                                 gfx::Image::named("HeaderSelectedBG.png")));
    header->addSubview(titleColumn_);
    leftButton_ = ui::Button::custom(ModeButtonFrame);
    base::Ref<gfx::Image> background = gfx::Image::named("configbar_btn.png");
    leftButton_->setBackgroundImage(background ? background->stretchable(5, 5) : nullptr);
    leftButton_->titleLabel().setFont(gfx::Font::boldSystem(HeaderFontSize));
    leftButton_->setTitle(currentModelName_);
    leftButton_->addTarget(BASE_ACTION(this, leftButtonAction), ui::TouchUpInside);
    header->addSubview(leftButton_);
    return header;
}

// --- Rows

int MyStockListView::rowCount() const {
    if (rankingShown_)
        return int(rankingRows_.size());
    return myRows_ ? int(myRows_->items.size()) : 0;
}

base::Ref<StockQuoteInf> MyStockListView::recordAt(int row) const {
    if (row < 0 || row >= rowCount())
        return nullptr;
    if (rankingShown_)
        return rankingRows_[size_t(row)];
    return myRows_->items[size_t(row)]->basicInf;
}

base::Array MyStockListView::dataArray() const {
    base::Array rows;
    if (rankingShown_) {
        for (const auto &record : rankingRows_)
            rows.add(base::Value(record));
        return rows;
    }
    if (myRows_)
        for (const auto &row : myRows_->items)
            rows.add(base::Dict{{"MarketCode", row->MarketCode.value_or("")},
                                {"StockName", row->StockName.value_or("")}});
    return rows;
}

void MyStockListView::ReloadDataOfMyStocks() {
    myStockArray_ = base::Array();
    if (!myStockModelArray_.empty())
        myStockArray_ = DataManager::sharedDataManager().GetCurrentMyStockArrayByModelName(
            myStockModelArray_[0]["CLASS_ID"].stringValue());
    mystockData_->createMyStockDataArray(myStockArray_);
    showRows(mystockData_->getMyStockDataArray());
}

void MyStockListView::ReloadDataOfRecentBrowse() {
    myStockArray_ = DataManager::sharedDataManager().GetLatestBrowseViewed();
    mystockData_->createMyStockDataArray(myStockArray_);
    showRows(mystockData_->getMyStockDataArray());
}

void MyStockListView::showRows(const base::Ref<MyStockRowList> &rows) {
    myRows_ = rows;
    ddeTableView_->reloadData();
}

std::vector<int> MyStockListView::visibleRows() const {
    std::vector<int> rows;
    for (ui::IndexPath path : ddeTableView_->indexPathsForVisibleRows())
        rows.push_back(path.row);
    return rows;
}

int MyStockListView::sortColumn() const {
    for (size_t i = 0; i < columnArray_.size(); ++i)
        if (columnArray_[i]["ColID"].intValue() == currentSortId_ && columnArray_[i]["Enabled"].boolValue())
            return int(i);
    return RiseColumn;
}

void MyStockListView::markHeader(int column, int direction) {
    markedColumn_ = column;
    markedDirection_ = direction;
    titleColumn_->SetSelectedHeader(column, direction);
}

// --- Requests and replies

void MyStockListView::NotifyTimeEvent() {
    if (isRanking())
        ReqRankingArray();
    else
        reqMyStockCurScreenQuotes();
}

void MyStockListView::ReqMyStocks() {
    if (!myStockModelArray_.empty())
        mystockData_->MyStock_RereqMyStockQuotes();
}

void MyStockListView::ReqRecentBrowse() {
    if (!myStockArray_.empty())
        mystockData_->MyStock_RereqMyStockQuotes();
    else
        ddeTableView_->reloadData();
}

void MyStockListView::reqMyStockCurScreenQuotes() {
    if (!isRanking() && myRows_ && !myRows_->items.empty())
        mystockData_->MyStock_ReqCurScreenQuotes(visibleRows());
}

void MyStockListView::ReqRankingArray() {
    if (const base::Ref<DataBase> &db = DataBase::sharedDataBase())
        if (auto center = db->IO_NetDataCenter())
            center->RequestStockListCom(std::string(RankingObserverName), RankingClass, ExtendedFieldsFlag,
                                        currentSortId_ & 0xFF, currentSortType_ & 0xFF, 0, RankingCount,
                                        rankingArray_, RankingTag, 0, 0);
}

void MyStockListView::DataPoolCallBack(int32_t reqType, const base::Ref<ReqParams> &params) {
    if (reqType != QuoteListType || !params || params->get("tag").intValue() != RankingTag ||
        params->object<StockQuoteList>("rspArray") != rankingArray_)
        return;
    // A ranking that comes after the user left it changes nothing on show.
    if (!isRanking())
        return;
    rankingRows_ = rankingArray_->items;
    rankingShown_ = true;
    ddeTableView_->reloadData();
}

base::Opt<void> MyStockListView::UpdateMyStockArray(const base::Ref<MyStockRowList> &rows, bool) {
    // The rows on show in the ranking, until its reply, are the list's last ones: they stay.
    if (isRanking())
        return {};
    showRows(rows);
    return {};
}

// --- Watch-list changes

void MyStockListView::MyStockSwitchAction(const base::Notification &notification) {
    std::string message = notification.userInfo.get("MSG_ID").stringValue();
    if (message == "AddedNewStock" && currentModelName_ == MyStockMode) {
        ReloadDataOfMyStocks();
        scheduleAfterChange("ReqMyStocks", &MyStockListView::ReqMyStocks);
    } else if (message == "AddedLatestBrowse" && currentModelName_ == RecentMode) {
        ReloadDataOfRecentBrowse();
        scheduleAfterChange("ReqRecentBrowse", &MyStockListView::ReqRecentBrowse);
    }
}

void MyStockListView::scheduleAfterChange(const char *name, void (MyStockListView::*request)()) {
    base::RunLoop &loop = base::RunLoop::main();
    loop.cancelPerforms(changeWait_.get(), name);
    // The wait holds only its token, so the panel can go while it runs.
    base::Weak<MyStockListView> weak = weakSelf<MyStockListView>();
    loop.performAfter(ChangeDelay, base::Action(changeWait_, name, [weak, request](base::Object *) {
                          if (auto self = weak.lock())
                              ((*self).*request)();
                      }));
}

// --- The menu

void MyStockListView::leftButtonAction(ui::Button *button) {
    if (!button)
        return;
    if (!switchMarketMenuPopoverController_) {
        auto menu = base::make<SwitchMarketMenuController>();
        menu->delegate = weakSelf<MyStockListView>();
        menu->setTitle(MenuTitle);
        menu->setPopoverContentSize(MenuSize);
        menu->SetMenuItemsArray(loadBundleList(MenuResource));
        menu_ = menu;
        switchMarketMenuPopoverController_ =
            base::make<ui::Popover>(base::make<ui::NavigationController>(menu));
    }
    switchMarketMenuPopoverController_->presentFromRect(button->bounds(), *button, ui::ArrowUp, true);
}

base::Opt<void> MyStockListView::ReturnSelectedMarket(const base::Value &row) {
    if (switchMarketMenuPopoverController_)
        switchMarketMenuPopoverController_->dismiss(true);
    std::string name = row["MENU_NAME"].stringValue();
    if (name != MyStockMode && name != RecentMode && name != RankingMode)
        return {};
    currentModelName_ = name;
    rankingShown_ = false;
    if (leftButton_)
        leftButton_->setTitle(name);
    if (name == MyStockMode) {
        ReloadDataOfMyStocks();
        ReqMyStocks();
        markHeader(-1, 0);
    } else if (name == RankingMode) {
        // The rows on show stay until the ranking comes; the mark shows what it is ranked by.
        ReqRankingArray();
        markHeader(sortColumn(), currentSortType_);
    } else {
        ReloadDataOfRecentBrowse();
        ReqRecentBrowse();
        markHeader(-1, 0);
    }
    return {};
}

// --- Sorting

base::Opt<void> MyStockListView::ClickHeaderAction(GeneralHeaderView &, int column, int status) {
    if (column < 0 || column >= int(columnArray_.size())) {
        markHeader(column, status);
        return {};
    }
    base::Value entry = columnArray_[size_t(column)];
    bool sortable = entry["Enabled"].boolValue() && !entry["ColID"].isNull();
    int id = int(entry["ColID"].intValue()), direction = status ? 1 : 0;
    if (isRanking() && sortable && id > MaxSortField) {
        // The server could rank only by another field: the ranking stays as it is.
        markHeader(markedColumn_, markedDirection_);
        return {};
    }
    markHeader(column, status);
    if (!sortable)
        return {};
    if (isRanking()) {
        currentSortId_ = id;
        currentSortType_ = direction;
        ReqRankingArray();
        return {};
    }
    if (mystockData_->MyStock_SortQuotes(id, direction)) {
        myRows_ = mystockData_->getMyStockDataArray();
        if (!myRows_->items.empty())
            ddeTableView_->scrollToRow({0, 0}, ui::ScrollPosition::Top, true);
        ddeTableView_->reloadData();
    }
    return {};
}

// --- Taps

void MyStockListView::rowTapped(int row) {
    base::Ref<StockQuoteInf> record = recordAt(row);
    if (!record || record->code.empty())
        return;
    base::Ref<ui::View> alive = self<ui::View>();
    if (auto d = delegate.lock())
        d->ReturnStockCodeMarket(record->code, ModuleName, row, dataArray());
}
